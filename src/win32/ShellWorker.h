#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <thread>

#include "win32/Handles.h"

namespace quenmar::win {

// A piece of shell work run on a thread of its own, as the shell advises for
// its slower queries, while the window's thread goes on: the thread has COM
// (a single-threaded apartment) and shows none of the system's critical-error
// prompts. Waiting for it still answers what other threads send to the
// waiting thread, so a shell component that sends it a message cannot hang it.
class ShellWorker {
public:
    ShellWorker() = default;
    ~ShellWorker() { Join(); }
    ShellWorker(const ShellWorker&) = delete;
    ShellWorker& operator=(const ShellWorker&) = delete;

    // False when no thread could be had: the caller does the work itself.
    // `then` runs on the worker's thread after the job, once Finished() is
    // true (to post a window word that Wait will not block).
    bool Start(std::function<void()> job, std::function<void()> then = {});
    // Until the job has ended; at once when none was started. An error the
    // job raised is raised here, on the waiting thread.
    void Wait();
    // The same, dropping the job's error: for destructors, which cannot raise.
    void Join();
    bool Started() const { return thread_.joinable(); }
    // Whether a started job has ended: Wait would return at once.
    bool Finished() const { return done_ && WaitForSingleObject(done_.get(), 0) == WAIT_OBJECT_0; }

private:
    std::thread thread_;
    UniqueHandle done_;  // set as the thread's last act
    std::exception_ptr error_;
};

}  // namespace quenmar::win
