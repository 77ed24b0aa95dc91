#pragma once

#include <string>

#include "folderpicker/ShellFolderForm.h"
#include "folderpicker/ShellLocator.h"
#include "widgets/Component.h"

namespace quenmar {

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

// The folder picker as a dialog: a fresh window for every run, which keeps
// its size and state from one run to the next.
class TSelectFolderDialog : public widgets::Component {
public:
    int FormWidth = -1;   // outer width of the next run's window; 0 or less keeps the designed one
    int FormHeight = -1;
    TWindowState FormWindowState = TWindowState::wsNormal;
    std::string Title;
    TNotifyHook OnInitialized;
    TNotifyHook OnFormShow;
    TNotifyHook OnFormClose;

    TShellLocator BaseFolder;
    TSelectFolderDialogOptions Options = sfdoContextMenus | sfdoCreateFolderIcon | sfdoDeleteFolderIcon | sfdoShowHidden;
    TShAddItemEvent OnAddItem;
    TFolderBrowseSelChangeEvent OnSelChange;
    // Preselected when the window opens; the folder chosen with OK.
    TShellLocator ChosenFolder;

    std::string ChosenPath() const { return ChosenFolder.Path(); }
    void SetChosenPath(const std::string& path) { ChosenFolder.SetPath(path); }

    // Shows the window until it is closed; whether OK closed it. Raises
    // "TSelectFolderDialog already executing" when called during a run.
    bool Run();
    bool Running() const { return running_; }

private:
    void PrepareWindow(TSelectFolderForm& window);
    void RecordWindowState(TSelectFolderForm& window);

    bool running_ = false;
};

}  // namespace quenmar
