#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "places/ShellLookups.h"

namespace quenmar::win {

// A folder's icon of a size (open, as a tree shows the selected one, when
// asked) by its attributes alone, asking no disk, and the system image list
// it is in (null when the shell gives none).
HIMAGELIST FolderIconByAttributes(IconSize size, int& icon, bool open = false);

// What the places model asks of the system beside the places themselves
// (their names, icons and existence are the shell resolver's): environment
// variables' values, and the system image lists that hold the shell's icons.
class Win32ShellLookups : public ShellLookups {
public:
    using ImageListChanged = std::function<void(IconSize, HIMAGELIST)>;

    void SetImageListChanged(ImageListChanged handler) { imageListChanged_ = std::move(handler); }
    // Asks the system image list of each size, reporting each that differs
    // from the one reported before, so that image lists can show it. The
    // first use of those lists in a process costs the shell tens of
    // milliseconds: call it once the shell has answered about a place on
    // another thread, never before the window is drawn.
    void AdoptImageLists();
    HIMAGELIST SystemImageList(IconSize size) const { return imageLists_[static_cast<int>(size)]; }

    std::string ExpandEnvironment(const std::string& text) override;

private:
    HIMAGELIST imageLists_[2] = {nullptr, nullptr};
    ImageListChanged imageListChanged_;
};

}  // namespace quenmar::win
