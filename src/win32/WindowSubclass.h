#pragma once

#include <windows.h>

namespace quenmar::win {

// A procedure put in front of a window's own, found again through a table of
// this process. The platform's own subclassing keeps its bookkeeping in a
// window property, and some window managers (Wine's among them) answer every
// property lookup with a round trip to their server: that made every message
// to a subclassed control cost as much as a small system call.
//
// One handler a window. The handler sees each message first and passes it on
// to `next`, the window's procedure before Install, with CallWindowProcW. Removing the handler leaves the window's procedure chain as
// it is (another subclass may sit in front of this one); the table entry goes
// with the window. Windows of any thread may be subclassed.
class WindowSubclass {
public:
    using Handler = LRESULT (*)(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                WNDPROC next);

    // False when the window does not exist or already has a handler.
    static bool Install(HWND window, Handler handler, void* context);
    // The handler is not called again; messages go straight on.
    static void Remove(HWND window) { Detach(window, false); }
    // Removes the handler and, when no other procedure was put in front of
    // ours since, gives the window its previous procedure back.
    static void Uninstall(HWND window) { Detach(window, true); }

private:
    static void Detach(HWND window, bool restore);
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace quenmar::win
