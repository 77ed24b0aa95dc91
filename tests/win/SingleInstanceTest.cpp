#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ModalBoxes.h"
#include "app/SingleInstance.h"
#include "win32/Handles.h"
#include "win32/WideText.h"

namespace quenmar {
namespace {

using Clock = std::chrono::steady_clock;

std::atomic<int> cameForward{0};

LRESULT CALLBACK FirstProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ComeForwardMessage()) ++cameForward;
    return DefWindowProcW(window, message, wParam, lParam);
}

// The first start, on a thread of its own as in a process of its own: it
// claims the guard and publishes a window (or none) that answers until told
// to end, or stops answering once it has shown it (hung). A mutex held by a
// thread is held against every other.
class FirstStart {
public:
    FirstStart(const char* name, bool withWindow, bool hung = false) {
        thread_ = std::thread([=, this] {
            SingleInstance first(name);
            claimed_ = first.Claim(1000);
            win::UniqueWindow window;
            if (withWindow) {
                window = testing::TestWindow(L"QuenmarFirstStart", FirstProc);
                first.Publish(window.get());
            }
            SetEvent(ready_.get());
            if (hung) WaitForSingleObject(end_.get(), INFINITE);
            MSG msg;
            while (WaitForSingleObject(end_.get(), 0) == WAIT_TIMEOUT) {
                const HANDLE end = end_.get();
                MsgWaitForMultipleObjects(1, &end, FALSE, INFINITE, QS_ALLINPUT);
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            }
        });
        WaitForSingleObject(ready_.get(), 10000);
    }
    ~FirstStart() { End(); }
    void End() {
        SetEvent(end_.get());
        if (thread_.joinable()) thread_.join();
    }
    bool Claimed() const { return claimed_; }

private:
    win::UniqueHandle ready_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    win::UniqueHandle end_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> claimed_{false};
    std::thread thread_;
};

double SecondsToClaim(const char* name, bool& claimed, DWORD limitMs) {
    const auto start = Clock::now();
    SingleInstance second(name);
    claimed = second.Claim(limitMs);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A second start finds the first's window and asks it forward; it waits for
// a window no longer than its limit; once the first has ended it is first.
TEST(SingleInstance, ASecondStartAsksTheFirstOrStartsInTime) {
    bool claimed = true;
    {
        FirstStart first("Quenmar.Test.Forward", true);
        ASSERT_TRUE(first.Claimed());
        // The guard is the user's, in the session's namespace: not the machine's, nor every user's.
        wchar_t user[256] = {};
        DWORD size = 256;
        GetUserNameW(user, &size);
        for (const auto& [name, held] : {std::pair{L"Local\\Quenmar.Test.Forward." + std::wstring(user), true},
                                        {L"Global\\Quenmar.Test.Forward." + std::wstring(user), false},
                                        {std::wstring(L"Local\\Quenmar.Test.Forward"), false}}) {
            const win::UniqueHandle found(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()));
            EXPECT_EQ(found.get() != nullptr, held) << win::Utf8(name);
        }
        cameForward = 0;
        EXPECT_LT(SecondsToClaim("Quenmar.Test.Forward", claimed, 10000), 5.0);
        EXPECT_FALSE(claimed) << "the first's window is there: this start ends";
        for (int i = 0; i < 500 && cameForward == 0; ++i) Sleep(10);
        EXPECT_EQ(cameForward, 1);
    }
    EXPECT_LT(SecondsToClaim("Quenmar.Test.Forward", claimed, 10000), 1.0);
    EXPECT_TRUE(claimed) << "the first has ended";

    // A first that shows no window (stuck while starting): started all the
    // same once the limit has passed, and no sooner.
    FirstStart stuck("Quenmar.Test.Stuck", false);
    ASSERT_TRUE(stuck.Claimed());
    const double waited = SecondsToClaim("Quenmar.Test.Stuck", claimed, 400);
    EXPECT_TRUE(claimed);
    EXPECT_GE(waited, 0.4);
    EXPECT_LT(waited, 5.0);
    // A first whose window does not answer: started all the same, without
    // waiting on it past the limit of one question.
    FirstStart hung("Quenmar.Test.Hung", true, true);
    ASSERT_TRUE(hung.Claimed());
    const double toHung = SecondsToClaim("Quenmar.Test.Hung", claimed, 400);
    EXPECT_TRUE(claimed);
    EXPECT_LT(toHung, 12.0);
    // Another session's or user's guard is another guard.
    EXPECT_LT(SecondsToClaim("Quenmar.Test.Other", claimed, 10000), 1.0);
    EXPECT_TRUE(claimed);
}

}  // namespace
}  // namespace quenmar
