#pragma once

#include <functional>

#include "folderpicker/ShellFolderTree.h"
#include "widgets/Bars.h"
#include "widgets/Controls.h"
#include "widgets/Form.h"

namespace quenmar {

enum FolderPickerOption : unsigned {
    sfdoCreateDeleteButtons = 1u << 0,
    sfdoContextMenus = 1u << 1,
    sfdoReadOnly = 1u << 2,
    sfdoIncludeNonFolders = 1u << 3,
    sfdoOleDrag = 1u << 4,
    sfdoOleDrop = 1u << 5,
    sfdoCreateFolderIcon = 1u << 6,
    sfdoDeleteFolderIcon = 1u << 7,
    sfdoVirtualFolders = 1u << 8,
    sfdoShowHidden = 1u << 9,
};
using FolderPickerOptions = uint16_t;

using TNotifyHook = std::function<void(void* sender)>;
using TFolderBrowseSelChangeEvent = std::function<void(void* sender, LPCITEMIDLIST newSel)>;

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

    ShellFolderTree ShellTree;
    widgets::Button OkBtn;
    widgets::Button CancelBtn;
    widgets::StatusBar StatusBar1;
    ToolButton BtnNewFolder;
    ToolButton BtnDeleteFolder;

    FolderPickerOptions options = 0;
    TNotifyHook OnFormShow;
    TNotifyHook OnFormClose;
    TFolderBrowseSelChangeEvent OnSelChange;

    virtual void ApplyOptions(FolderPickerOptions options);
    // The tree's options with those the dialog's options decide set from them.
    static ShellFolderTreeOptions TreeOptionsFor(FolderPickerOptions applied, ShellFolderTreeOptions tree);
    virtual void LoadCaptions();

    void FormCreate();
    void FormShowStep();
    void FormResize();
    void ShellTreeChange(ShellFolderTree::Node node);
    void CreateBtnClick();
    void DeleteBtnClick();

    std::string StatusText() const;
    // Whether both tool buttons draw their frame only under the mouse.
    bool ToolButtonsFlat() const;
    RECT ButtonPanelRect() const;

protected:
    void CreateControls() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HandleKey(const MSG& key) override;

private:
    void SetStatus(const std::string& path);
    void SetFormFont(const std::string& face);
    void SizeToolButtons();
    void LoadToolImages();
    void SetScaledMetrics();

    widgets::ToolBar toolBar_;
    win::UniqueImageList glyphs_;
    win::UniqueImageList disabledGlyphs_;  // the tool buttons' disabled images
    win::UniqueGdiObject shownFont_;
};

}  // namespace quenmar
