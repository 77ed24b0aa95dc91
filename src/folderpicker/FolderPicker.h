#pragma once

#include <string>

#include "folderpicker/FolderPickerWindow.h"
#include "folderpicker/ShellItem.h"
#include "widgets/Component.h"
#include "widgets/Resources.h"

namespace quenmar {

// The folder picker as its caller sees it: each run shows a new picker
// window, modal to its owner, opened on the chosen folder; OK makes the
// selected folder the chosen one. The window keeps its size and state from
// one run to the next.
class FolderPicker : public widgets::Component {
public:

    FolderPickerOptions Options;
    std::string Title;  // the window's caption; the string table's when empty
    // The window's icons, the program's unless others are given (which the
    // caller owns).
    HICON Icon = widgets::ProgramIcon(false);
    HICON SmallIcon = widgets::ProgramIcon(true);

    std::string ChosenPath() const { return chosen_.Path(); }
    void SetChosenPath(const std::string& path) { chosen_.SetPath(path); }
    // No folder chosen: the picker opens on the Desktop.
    bool NothingChosen() const { return chosen_.IsNone(); }

    // Shows the window, owned by the given one, until it is closed; whether
    // OK closed it. Raises an error when called during a run.
    bool Run(HWND owner);
    bool Running() const { return running_; }
    // The window's outer size when it last closed, which the next run takes.
    SIZE LastSize() const { return {width_, height_}; }

private:
    void PrepareWindow(FolderPickerWindow& window);
    void RecordWindowState(FolderPickerWindow& window);

    ShellItem chosen_;
    int width_ = -1;  // none yet: the designed size
    int height_ = -1;
    int showState_ = SW_SHOWNORMAL;
    bool running_ = false;
};

}  // namespace quenmar
