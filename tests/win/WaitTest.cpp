#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "ModalBoxes.h"
#include "ShellOracle.h"
#include "win32/Handles.h"
#include "win32/ShellWorker.h"

namespace quenmar::win {
namespace {

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) return 1 + static_cast<LRESULT>(wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// A job that sends to the waiting thread's window must get its answer while
// that thread waits for the job: the worker's Wait takes sent messages.
TEST(ShellWorker, WaitingAnswersWhatTheJobSendsToTheWaitingThread) {
    const UniqueWindow window = testing::TestWindow(L"QuenmarWaitTest", CountingProc);
    ASSERT_TRUE(window);
    PostMessageW(window.get(), WM_APP, 0, 0);  // posted: must still be waiting afterwards

    std::atomic<bool> answered{false};
    DWORD_PTR answer = 0;
    ShellWorker worker;
    ASSERT_TRUE(worker.Start([&] {
        answered = SendMessageTimeoutW(window.get(), WM_APP, 41, 0, SMTO_NORMAL, 5000, &answer) != 0;
    }));
    worker.Wait();
    EXPECT_TRUE(answered) << "the send timed out: the waiting thread never took it";
    EXPECT_EQ(answer, 42u);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, window.get(), WM_APP, WM_APP, PM_REMOVE)) << "posted messages are left alone";
}

ShellWorker* reentered = nullptr;
std::atomic<bool> handling{false};
bool InSendMessageSeen() { return handling; }

LRESULT CALLBACK WaitingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP && reentered) {
        handling = true;
        reentered->Wait();  // the worker that sent this, which the thread is already waiting for
        return 7;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A message another thread sends while this thread waits for a worker may
// itself wait for that worker (a window asking for what the worker looks
// up): both waits end when the job ends, and neither raises.
TEST(ShellWorker, AWaitWithinTheWaitForTheSameWorker) {
    const UniqueWindow window = testing::TestWindow(L"QuenmarReentryTest", WaitingProc);
    ASSERT_TRUE(window);
    for (int round = 0; round < 3; ++round) {
        ShellWorker worker;
        reentered = &worker;
        handling = false;
        UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(worker.Start([&] { WaitForSingleObject(release.get(), 10000); }));
        DWORD_PTR answer = 0;
        std::thread sender([&] {
            SendMessageTimeoutW(window.get(), WM_APP, 0, 0, SMTO_NORMAL, 10000, &answer);
        });
        // The job ends only once the sent message is being handled.
        std::thread releaser([&] {
            for (int waited = 0; waited < 10000 && !InSendMessageSeen(); ++waited) Sleep(1);  // else the job ends at its own limit
            SetEvent(release.get());
        });
        EXPECT_NO_THROW(worker.Wait()) << "round " << round;
        sender.join();
        releaser.join();
        EXPECT_EQ(answer, 7u) << "round " << round;
        EXPECT_FALSE(worker.Started());
        reentered = nullptr;
    }
}

// A job's error reaches the thread that waits for it, instead of ending the
// process; a worker destroyed unwaited drops it.
TEST(ShellWorker, AJobsErrorIsRaisedByWait) {
    ShellWorker worker;
    ASSERT_TRUE(worker.Start([] { throw std::runtime_error("job failed"); }));
    EXPECT_THROW(
        try { worker.Wait(); } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "job failed");
            throw;
        },
        std::runtime_error);
    const int before = testing::ThreadCount();
    {
        ShellWorker dropped;
        ASSERT_TRUE(dropped.Start([] { throw std::runtime_error("never waited for"); }));
    }
    EXPECT_EQ(testing::ThreadCount(), before) << "the dropped worker was joined, and the process goes on";
    ShellWorker next;
    bool ran = false;
    ASSERT_TRUE(next.Start([&ran] { ran = true; }));
    EXPECT_NO_THROW(next.Wait()) << "the dropped error stays with its worker";
    EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace quenmar::win
