#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "win32/Handles.h"

namespace quenmar::win {
namespace {

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) return 1 + static_cast<LRESULT>(wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// A worker that sends to this thread's window before it signals must get
// its answer while this thread waits for the signal.
TEST(WaitTakingSentMessages, AWorkerSendingToTheWaitingThreadIsAnswered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuenmarWaitTest";
    RegisterClassW(&wc);
    UniqueWindow window(CreateWindowW(L"QuenmarWaitTest", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(window);
    UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    PostMessageW(window.get(), WM_APP, 0, 0);  // posted: must still be waiting afterwards

    std::atomic<bool> answered{false};
    DWORD_PTR answer = 0;
    std::thread worker([&] {
        answered = SendMessageTimeoutW(window.get(), WM_APP, 41, 0, SMTO_NORMAL, 5000, &answer) != 0;
        SetEvent(done.get());
    });
    WaitTakingSentMessages(done.get());
    worker.join();
    EXPECT_TRUE(answered) << "the send timed out: the waiting thread never took it";
    EXPECT_EQ(answer, 42u);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, window.get(), WM_APP, WM_APP, PM_REMOVE)) << "posted messages are left alone";
}

}  // namespace
}  // namespace quenmar::win
