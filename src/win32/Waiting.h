#pragma once

#include <windows.h>

namespace quenmar::win {

// Waits until an object is signalled while still taking the messages other
// threads send to this thread's windows: a worker that sends one while this
// thread waits for it would otherwise wait forever. Nothing posted is taken.
inline void WaitTakingSentMessages(HANDLE object) {
    for (;;) {
        const DWORD result = MsgWaitForMultipleObjectsEx(1, &object, INFINITE, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (result != WAIT_OBJECT_0 + 1) return;  // signalled, abandoned or failed
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// The system's critical-error prompts (a drive without a disk, for example)
// kept away from this thread while it lives: reading a folder must never
// bring one up.
class NoCriticalErrorBoxes {
public:
    NoCriticalErrorBoxes() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_); }
    ~NoCriticalErrorBoxes() { SetThreadErrorMode(previous_, nullptr); }
    NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
    NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

private:
    DWORD previous_ = 0;
};

}  // namespace quenmar::win
