#pragma once

#include <windows.h>

#include <functional>

#include "widgets/Application.h"

namespace quenmar::testing {

// Runs this thread's messages until the condition holds, looking every few
// milliseconds, or until the limit passes. Whether it held.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD limitMs = 10000) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_QUIT) widgets::Application::Instance().Dispatch(msg);
        }
        if (condition()) return true;
        if (GetTickCount() - start > limitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

}  // namespace quenmar::testing
