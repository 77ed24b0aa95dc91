#pragma once

#include <string>

#include "folderpicker/FolderPickerWindow.h"
#include "folderpicker/ShellItem.h"
#include "widgets/Component.h"

namespace quenmar {

enum class WindowState { wsNormal, wsMinimized, wsMaximized };

// The folder picker as a dialog: a fresh window for every run, which keeps
// its size and state from one run to the next.
class FolderPicker : public widgets::Component {
public:
    int FormWidth = -1;   // outer width of the next run's window; 0 or less keeps the designed one
    int FormHeight = -1;
    WindowState FormWindowState = WindowState::wsNormal;
    std::string Title;
    TNotifyHook OnInitialized;
    TNotifyHook OnFormShow;
    TNotifyHook OnFormClose;

    ShellItem BaseFolder;
    FolderPickerOptions Options = sfdoContextMenus | sfdoCreateFolderIcon | sfdoDeleteFolderIcon | sfdoShowHidden;
    TShAddItemEvent OnAddItem;
    TFolderBrowseSelChangeEvent OnSelChange;
    // Preselected when the window opens; the folder chosen with OK.
    ShellItem ChosenFolder;

    std::string ChosenPath() const { return ChosenFolder.Path(); }
    void SetChosenPath(const std::string& path) { ChosenFolder.SetPath(path); }

    static constexpr const char* kAlreadyOpenError = "The folder picker is already open.";

    // Shows the window, owned by the given one, until it is closed; whether
    // OK closed it. Raises kAlreadyOpenError when called during a run.
    bool Run(HWND owner);
    bool Running() const { return running_; }

private:
    void PrepareWindow(FolderPickerWindow& window);
    void RecordWindowState(FolderPickerWindow& window);

    bool running_ = false;
};

}  // namespace quenmar
