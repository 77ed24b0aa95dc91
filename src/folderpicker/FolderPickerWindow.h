#pragma once

#include <functional>

#include "folderpicker/ShellFolderTree.h"
#include "widgets/Bars.h"
#include "widgets/Controls.h"
#include "widgets/Form.h"

namespace quenmar {

// What the folder picker offers.
struct FolderPickerOptions {
    bool createDeleteButtons = false;  // the Create Folder and Delete tool buttons
    bool contextMenus = true;          // the shell's context menu on a folder
    bool readOnly = false;             // folders cannot be renamed in place
    bool includeNonFolders = false;    // files listed beside the folders
    bool createFolderIcon = true;      // the Create Folder button shows its glyph
    bool deleteFolderIcon = true;      // the Delete button shows its glyph
    bool showHidden = true;            // hidden folders listed too
};

// A tool button of the picker: one button of a flat toolbar, with a glyph
// from the picker's image list and a caption; it never takes the focus.
class ToolButton {
public:
    widgets::Event OnClick;
    void Attach(HWND toolbar, int command) { toolbar_ = toolbar, command_ = command; }
    int Command() const { return command_; }
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    int ImageIndex() const;
    void SetImageIndex(int image);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    RECT Rect() const;  // in the form's client coordinates
    void Click() { widgets::Fire(OnClick); }

private:
    HWND toolbar_ = nullptr;
    int command_ = 0;
};

// The folder picker's window: a shell tree, two tool buttons above it, OK
// and Cancel below, and a status bar with the selected folder's path.
class FolderPickerWindow : public widgets::Form {
public:
    FolderPickerWindow();
    ~FolderPickerWindow() override;

    ShellFolderTree& Tree() { return tree_; }
    widgets::Button& OkButton() { return okButton_; }
    widgets::Button& CancelButton() { return cancelButton_; }
    ToolButton& NewFolderButton() { return newFolderButton_; }
    ToolButton& DeleteFolderButton() { return deleteFolderButton_; }
    const widgets::StatusBar& StatusBar() const { return statusBar_; }

    void ApplyOptions(const FolderPickerOptions& options);
    // The tree's options that the picker's decide.
    static ShellFolderTreeOptions TreeOptionsFor(const FolderPickerOptions& options);

    std::string StatusText() const;
    // Whether both tool buttons draw their frame only under the mouse.
    bool ToolButtonsFlat() const;
    RECT ButtonPanelRect() const;

protected:
    void CreateControls() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HandleKey(const MSG& key) override;

private:
    void OnShowing();
    void OnFolderSelected(ShellFolderTree::Node node);
    void LayOut();
    void SetStatus(const std::string& path);
    void SetFormFont(const std::string& face);
    void SizeToolButtons();
    void LoadToolImages();
    void SetScaledMetrics();

    ShellFolderTree tree_;
    widgets::Button okButton_;
    widgets::Button cancelButton_;
    widgets::StatusBar statusBar_;
    ToolButton newFolderButton_;
    ToolButton deleteFolderButton_;
    widgets::ToolBar toolBar_;
    FolderPickerOptions options_;
    win::UniqueImageList glyphs_;
    win::UniqueImageList disabledGlyphs_;  // the tool buttons' disabled images
    win::UniqueGdiObject shownFont_;
};

}  // namespace quenmar
