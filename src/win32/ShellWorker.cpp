#include "win32/ShellWorker.h"

#include <objbase.h>

#include <system_error>

namespace quenmar::win {

bool ShellWorker::Start(std::function<void()> job) {
    Wait();
    done_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done_) return false;
    try {
        thread_ = std::thread([this, job = std::move(job)] {
            const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
            DWORD previousMode = 0;
            SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
            job();
            SetThreadErrorMode(previousMode, nullptr);
            if (SUCCEEDED(com)) CoUninitialize();
            SetEvent(done_.get());
        });
    } catch (const std::system_error&) {
        done_.reset();
        return false;
    }
    return true;
}

void ShellWorker::Wait() {
    if (!thread_.joinable()) return;
    WaitTakingSentMessages(done_.get());
    thread_.join();
}

}  // namespace quenmar::win
