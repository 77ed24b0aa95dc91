#pragma once

#include <memory>
#include <string>

#include "folderpicker/ShellFolderForm.h"
#include "folderpicker/ShellLocator.h"
#include "widgets/Component.h"

namespace quenmar {

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

// A dialog of the shell that makes a fresh window for every run and keeps
// the window's size and state from one run to the next.
class TShellDialog : public widgets::Component {
public:
    int FormWidth = -1;   // outer width of the next run's window; 0 or less keeps the designed one
    int FormHeight = -1;
    TWindowState FormWindowState = TWindowState::wsNormal;
    std::string Title;
    TNotifyHook OnInitialized;
    TNotifyHook OnFormShow;
    TNotifyHook OnFormClose;

    // Raises "<class> already executing" when called during a run.
    bool Run();
    bool Running() const { return running_; }

protected:
    virtual const char* ClassName() const = 0;
    virtual void NotifyInitialized();
    virtual bool DoRun() = 0;

private:
    bool running_ = false;
};

class TCustomSelectFolderDialog : public TShellDialog {
public:
    TCustomSelectFolderDialog();

    TShellLocator BaseFolder;
    TSelectFolderDialogOptions Options = sfdoContextMenus | sfdoCreateFolderIcon | sfdoDeleteFolderIcon | sfdoShowHidden;
    TShAddItemEvent OnAddItem;
    TFolderBrowseSelChangeEvent OnSelChange;
    // Preselected when the window opens; the folder chosen with OK.
    TShellLocator ChosenFolder;

    std::string ChosenPath() const { return ChosenFolder.Path(); }

protected:
    bool DoRun() override;
    virtual std::unique_ptr<TSelectFolderForm> MakeWindow();
    virtual void PrepareWindow(TSelectFolderForm& window);
    virtual void RecordWindowState(TSelectFolderForm& window);
};

class TSelectFolderDialog : public TCustomSelectFolderDialog {
public:
    void SetChosenPath(const std::string& path) { ChosenFolder.SetPath(path); }

protected:
    const char* ClassName() const override { return "TSelectFolderDialog"; }
};

}  // namespace quenmar
