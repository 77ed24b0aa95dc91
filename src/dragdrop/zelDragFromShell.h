#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "widgets/Component.h"

namespace quenmar {

class TzelDragFromShell;

// Once per dropped item: the name up to and including its last backslash or
// colon, the rest of it, and the whole name.
using TShellDragEvent = std::function<void(TzelDragFromShell& sender, const std::string& folder,
                                           const std::string& filename, const std::string& fullFileName)>;
using TNotifyEvent = std::function<void(TzelDragFromShell& sender)>;

// Why dropped names were left out of a drop.
struct SkippedNames {
    int tooLong = 0;  // longer than a path can be
    bool empty() const { return tooLong == 0; }
};
using TShellDragSkippedEvent = std::function<void(TzelDragFromShell& sender, const SkippedNames& skipped)>;

// Makes its owner's window accept files and folders dropped from the shell
// (WM_DROPFILES) and reports the names one by one. It hooks the window's
// procedure and puts the previous one back when it goes.
class TzelDragFromShell : public widgets::Component {
public:
    static constexpr const char* kOwnerError = "The zelDragFromShell's Owner must be a TWinControl decendant!";

    // Raises std::invalid_argument with kOwnerError when the owner is missing
    // or has no window of its own; nothing is touched then.
    explicit TzelDragFromShell(widgets::Component* owner);
    ~TzelDragFromShell() override;
    TzelDragFromShell(const TzelDragFromShell&) = delete;
    TzelDragFromShell& operator=(const TzelDragFromShell&) = delete;

    TShellDragEvent OnShellDragDrop;
    TNotifyEvent OnShellDragDropDone;
    // Once per drop that left names out, before the done event.
    TShellDragSkippedEvent OnShellDragDropSkipped;

    HWND OwnerWindow() const { return ownerWindow_; }
    WNDPROC PreviousWindowProc() const { return previousWindowProc_; }
    // The names of the most recent drop, in the shell's order.
    const std::vector<std::string>& DroppedNames() const { return droppedNames_; }

private:
    static LRESULT OwnerWindowProc(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   WNDPROC next);
    void HandleDrop(HDROP drop);
    void AddDroppedName(const std::string& name);

    HWND ownerWindow_ = nullptr;
    WNDPROC previousWindowProc_ = nullptr;
    std::vector<std::string> droppedNames_;
};

}  // namespace quenmar
