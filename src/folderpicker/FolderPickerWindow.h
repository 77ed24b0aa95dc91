#pragma once

#include <functional>

#include "folderpicker/ShellFolderTree.h"
#include "widgets/Button.h"
#include "widgets/Form.h"
#include "widgets/StatusBar.h"
#include "widgets/ToolBar.h"

namespace quenmar {

// What the folder picker offers beside its tree of folders (where a folder
// can be renamed and has the shell's context menu).
struct FolderPickerOptions {
    bool createDeleteButtons = false;  // the Create Folder and Delete tool buttons
};

// The folder picker's window: a shell tree, two tool buttons above it, OK
// and Cancel below, and a status bar with the selected folder's path.
class FolderPickerWindow : public widgets::Form {
public:
    // The window's icons are its caller's.
    FolderPickerWindow(HICON icon, HICON smallIcon);
    ~FolderPickerWindow() override;

    // The controls' IDs, by which they are found (tests, accessibility
    // tools), and the tool buttons' commands.
    enum ControlId : int { kTree = 1000, kOkButton, kCancelButton, kStatusBar, kToolBar };
    enum ToolCommand : int { kCreateFolderCommand = 1, kDeleteFolderCommand };

    ShellFolderTree& Tree() { return tree_; }
    void ApplyOptions(const FolderPickerOptions& options);

protected:
    void Created() override;
    void Showing() override;
    void ScaleChanged() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HandleKey(const MSG& key) override;

private:
    // The strip under the tree where OK and Cancel stand.
    RECT ButtonPanelRect() const;
    void OnFolderSelected(ShellFolderTree::Node node);
    void LayOut();
    void SetStatus(const std::string& path);
    void SetFormFont(const std::string& face);
    void SizeToolButtons();
    void LoadToolImages();
    void SetScaledMetrics();

    ShellFolderTree tree_{kTree};
    widgets::Button okButton_{kOkButton};
    widgets::Button cancelButton_{kCancelButton};
    widgets::StatusBar statusBar_;
    widgets::ToolButton newFolderButton_;
    widgets::ToolButton deleteFolderButton_;
    widgets::ToolBar toolBar_;
    FolderPickerOptions options_;
    win::UniqueImageList glyphs_;
    win::UniqueImageList disabledGlyphs_;  // the tool buttons' disabled images
    win::UniqueGdiObject shownFont_;
};

}  // namespace quenmar
