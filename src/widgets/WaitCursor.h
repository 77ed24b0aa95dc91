#pragma once

#include <windows.h>

namespace quenmar::widgets {

// Shows the hourglass while it lives and puts the previous cursor back, also
// when an error leaves the scope.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace quenmar::widgets
