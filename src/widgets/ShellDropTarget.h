#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "places/Place.h"
#include "widgets/Component.h"

namespace quenmar::widgets {

// One dropped item: its name up to and including its last backslash or
// colon, the rest of it, the whole name, and what the file system holds
// there as the drop is taken.
struct DroppedName {
    std::string folder;
    std::string fileName;
    std::string fullName;
    FoundAtName found = FoundAtName::Nothing;
};

// Why dropped names were left out of a drop.
struct SkippedNames {
    int tooLong = 0;  // longer than a path can be
    bool empty() const { return tooLong == 0; }
};

// Makes its owner's window accept files and folders dropped from the shell
// (WM_DROPFILES) and reports the names one by one. It hooks the window's
// procedure and puts the previous one back when it goes.
class ShellDropTarget : public Component {
public:
    static constexpr const char* kOwnerError = "A drop target needs a window to attach to.";

    // Raises std::invalid_argument with kOwnerError when the owner is missing
    // or has no window of its own; nothing is touched then.
    explicit ShellDropTarget(Component* owner);
    ~ShellDropTarget() override;
    ShellDropTarget(const ShellDropTarget&) = delete;
    ShellDropTarget& operator=(const ShellDropTarget&) = delete;

    // Once per dropped name, in the shell's order.
    std::function<void(const DroppedName& name)> OnDrop;
    // Once per drop that left names out, after the names it kept.
    std::function<void(const SkippedNames& skipped)> OnSkipped;

    HWND OwnerWindow() const { return ownerWindow_; }

private:
    static LRESULT OwnerWindowProc(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   WNDPROC next);
    void HandleDrop(HDROP drop);

    HWND ownerWindow_ = nullptr;
};

}  // namespace quenmar::widgets
