#include "win32/ShellWorker.h"

#include <objbase.h>

#include <system_error>
#include <utility>

#include "win32/Waiting.h"

namespace quenmar::win {

bool ShellWorker::Start(std::function<void()> job, std::function<void()> then) {
    Wait();
    done_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done_) return false;
    try {
        thread_ = std::thread([this, job = std::move(job), then = std::move(then)] {
            const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
            {
                const NoCriticalErrorBoxes quiet;
                try {
                    job();
                } catch (...) {
                    error_ = std::current_exception();
                }
            }
            if (SUCCEEDED(com)) CoUninitialize();
            SetEvent(done_.get());  // this object may be gone from here on
            if (then) then();
        });
    } catch (const std::system_error&) {
        done_.reset();
        return false;
    }
    return true;
}

void ShellWorker::Join() {
    // A message taken while waiting may wait for this worker too, and join
    // it (or even start the next job) before this wait returns.
    while (thread_.joinable()) {
        WaitTakingSentMessages(done_.get());
        if (thread_.joinable() && Finished()) thread_.join();
    }
}

void ShellWorker::Wait() {
    Join();
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

}  // namespace quenmar::win
