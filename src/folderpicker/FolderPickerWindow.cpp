#include "folderpicker/FolderPickerWindow.h"

#include <algorithm>
#include <cstring>

#include "folderpicker/FolderPickerResources.h"
#include "folderpicker/ShortenPath.h"
#include "widgets/Resources.h"
#include "win32/WideText.h"

namespace quenmar {

using namespace widgets;

namespace {

constexpr int kCreateCommand = 1;
constexpr int kDeleteCommand = 2;

// Moving a window is a round trip to the window manager even when it stays
// where it is; the layout runs several times before the window shows.
void MoveIfMoved(HWND window, RECT wanted) {
    RECT now{};
    GetWindowRect(window, &now);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&now), 2);
    if (EqualRect(&now, &wanted)) return;
    MoveWindow(window, wanted.left, wanted.top, wanted.right - wanted.left, wanted.bottom - wanted.top, TRUE);
}

FormStyle PickerStyle() {
    FormStyle style;
    style.className = L"TSelectFolderForm";
    style.clientWidth = 358;
    style.clientHeight = 325;
    style.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
    style.backgroundColor = COLOR_BTNFACE;
    style.fontFace = L"MS Sans Serif";
    style.fontHeight = -11;
    style.icon = ProgramIcon(false);
    style.smallIcon = ProgramIcon(true);
    return style;
}

}  // namespace

// Tool buttons ---------------------------------------------------------------

bool ToolButton::Enabled() const { return SendMessageW(toolbar_, TB_ISBUTTONENABLED, command_, 0) != 0; }
void ToolButton::SetEnabled(bool enabled) { SendMessageW(toolbar_, TB_ENABLEBUTTON, command_, MAKELONG(enabled, 0)); }
bool ToolButton::Visible() const { return SendMessageW(toolbar_, TB_ISBUTTONHIDDEN, command_, 0) == 0; }
void ToolButton::SetVisible(bool visible) { SendMessageW(toolbar_, TB_HIDEBUTTON, command_, MAKELONG(!visible, 0)); }

int ToolButton::ImageIndex() const {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE;
    SendMessageW(toolbar_, TB_GETBUTTONINFOW, command_, reinterpret_cast<LPARAM>(&info));
    return info.iImage == I_IMAGENONE ? -1 : info.iImage;
}

void ToolButton::SetImageIndex(int image) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE;
    info.iImage = image < 0 ? I_IMAGENONE : image;
    SendMessageW(toolbar_, TB_SETBUTTONINFOW, command_, reinterpret_cast<LPARAM>(&info));
}

std::string ToolButton::Caption() const {
    wchar_t text[128] = {};
    SendMessageW(toolbar_, TB_GETBUTTONTEXTW, command_, reinterpret_cast<LPARAM>(text));
    return win::Utf8(text);
}

void ToolButton::SetCaption(const std::string& caption) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    std::wstring text = win::Wide(caption);
    info.pszText = text.data();
    SendMessageW(toolbar_, TB_SETBUTTONINFOW, command_, reinterpret_cast<LPARAM>(&info));
}

RECT ToolButton::Rect() const {
    RECT r{};
    SendMessageW(toolbar_, TB_GETRECT, command_, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(toolbar_, GetParent(toolbar_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The window ------------------------------------------------------------------

FolderPickerWindow::FolderPickerWindow() : Form(PickerStyle()) {
    OnCreate = [this] { FormCreate(); };
    OnDpiChanged = [this] {
        LoadToolImages();
        SetScaledMetrics();
        SetFormFont(LoadText(IDS_PICKER_FONT));
    };
    OnShow = [this] { FormShowStep(); };
    ShellTree.OnChange = [this](ShellFolderTree::Node node) { ShellTreeChange(node); };
    OkBtn.OnClick = [this] { SetModalResult(IDOK); };
    CancelBtn.OnClick = [this] { SetModalResult(IDCANCEL); };
    BtnNewFolder.OnClick = [this] { CreateBtnClick(); };
    BtnDeleteFolder.OnClick = [this] { DeleteBtnClick(); };
}

FolderPickerWindow::~FolderPickerWindow() {
    if (Handle()) DestroyWindow(Handle());
}

void FolderPickerWindow::CreateControls() {
    ShellTree.Create(*this, {8, 32, 341, 241}, akByForm);
    ShellTree.SetAccessibleName(LoadText(IDS_PICKER_TREE_NAME), true);
    OkBtn.Create(*this, "OK", {12, 279, 75, 23}, akByForm);
    CancelBtn.Create(*this, "Cancel", {92, 279, 75, 23}, akByForm);
    SetDefaultButton(&OkBtn);
    SetCancelButton(&CancelBtn);
    SetWindowLongW(OkBtn.Handle(), GWL_STYLE, GetWindowLongW(OkBtn.Handle(), GWL_STYLE) | BS_DEFPUSHBUTTON);

    StatusBar1.Create(*this);
    SetScaledMetrics();
    StatusBar1.FollowParent();
    StatusBar1.SetFont(Font());

    toolBar_.Create(*this, {Scale(8), Scale(4), Scale(8 + 185), Scale(4 + 25)});
    toolBar_.SetFont(Font());
    LoadToolImages();
    toolBar_.AddButton(kCreateCommand, 0, L"Create Folder");
    toolBar_.AddGap(Scale(8));
    toolBar_.AddButton(kDeleteCommand, 2, L"&Delete");
    BtnNewFolder.Attach(toolBar_.Handle(), kCreateCommand);
    BtnDeleteFolder.Attach(toolBar_.Handle(), kDeleteCommand);
    SizeToolButtons();
}

// The tool buttons' images drawn for the window's scale. Images 0 to 3: new
// folder, its disabled form, delete, its disabled form. The disabled list
// holds each image's disabled form at the same index.
void FolderPickerWindow::LoadToolImages() {
    win::UniqueImageList glyphs(LoadGlyphs(L"PICKERGLYPHS", Dpi()));
    win::UniqueImageList disabledGlyphs(glyphs ? ImageList_Duplicate(glyphs.get()) : nullptr);
    if (const HIMAGELIST disabled = disabledGlyphs.get()) {
        ImageList_Copy(disabled, 0, disabled, 1, ILCF_MOVE);
        ImageList_Copy(disabled, 2, disabled, 3, ILCF_MOVE);
    }
    toolBar_.SetImageLists(glyphs.get(), disabledGlyphs.get());
    glyphs_ = std::move(glyphs);
    disabledGlyphs_ = std::move(disabledGlyphs);
}

// The tree's indent and the status bar's height, in pixels of the scale.
void FolderPickerWindow::SetScaledMetrics() {
    SendMessageW(ShellTree.Handle(), TVM_SETINDENT, Scale(19), 0);
    StatusBar1.SetMinHeight(Scale(19));
}

void FolderPickerWindow::SizeToolButtons() {
    // The designed widths, or wider where the caption needs it in this font.
    const win::WindowDC dc(toolBar_.Handle());
    const win::SelectedObject font(dc.get(), toolBar_.Font());
    auto needed = [&](ToolButton& button, int designed) {
        std::string caption = button.Caption();
        caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
        return std::max(Scale(designed), static_cast<int>(win::TextExtent(dc.get(), caption).cx) + Scale(16) + Scale(18));
    };
    const int createWidth = BtnNewFolder.Command() ? needed(BtnNewFolder, 101) : Scale(101);
    const int deleteWidth = BtnDeleteFolder.Command() ? needed(BtnDeleteFolder, 68) : Scale(68);
    toolBar_.SetButtonSize(createWidth, Scale(25));
    toolBar_.SetButtonWidth(kCreateCommand, createWidth);
    toolBar_.SetButtonWidth(kDeleteCommand, deleteWidth);
    toolBar_.Move({Scale(8), Scale(4), Scale(8) + createWidth + deleteWidth + Scale(8) + Scale(8), Scale(4) + Scale(25)});
}

void FolderPickerWindow::FormCreate() {
    ShellTree.SetShowRoot(true);
    SetMinTrackSize(Scale(366), Scale(340));
}

void FolderPickerWindow::SetFormFont(const std::string& face) {
    shownFont_.reset(CreateFontFor(-11, false, false, win::Wide(face).c_str()));
    const auto font = static_cast<HFONT>(shownFont_.get());
    for (Control* control : std::initializer_list<Control*>{&ShellTree, &OkBtn, &CancelBtn}) control->SetFont(font);
    StatusBar1.SetFont(font);
    toolBar_.SetFont(font);
    // A new font makes the toolbar measure its buttons again.
    SizeToolButtons();
    FormResize();
}

void FolderPickerWindow::FormShowStep() {
    SetFormFont(LoadText(IDS_PICKER_FONT));
    ShellTree.SetOptions(ShellTree.Options() | stoAutoFill);
    ShellTree.FillTree();
    LoadCaptions();
    if (OnFormShow) OnFormShow(this);
}

void FolderPickerWindow::LoadCaptions() {
    SetWindowTextW(OkBtn.Handle(), win::Wide(LoadText(IDS_PICKER_OK)).c_str());
    SetWindowTextW(CancelBtn.Handle(), win::Wide(LoadText(IDS_PICKER_CANCEL)).c_str());
    BtnNewFolder.SetCaption(LoadText(IDS_PICKER_CREATE_FOLDER));
    BtnDeleteFolder.SetCaption(LoadText(IDS_PICKER_DELETE));
    SizeToolButtons();
    FormResize();
    if (Caption().empty()) SetCaption(LoadText(IDS_PICKER_CAPTION));
}

ShellFolderTreeOptions FolderPickerWindow::TreeOptionsFor(FolderPickerOptions applied, ShellFolderTreeOptions tree) {
    auto set = [&](unsigned treeOption, unsigned dialogOption) {
        tree = (applied & dialogOption) ? (tree | treeOption) : (tree & ~treeOption);
    };
    set(stoOleDrag, sfdoOleDrag);
    set(stoOleDrop, sfdoOleDrop);
    set(stoIncludeNonFolders, sfdoIncludeNonFolders);
    set(stoVirtualFolders, sfdoVirtualFolders);
    set(stoContextMenus, sfdoContextMenus);
    set(stoShowHidden, sfdoShowHidden);
    return tree;
}

void FolderPickerWindow::ApplyOptions(FolderPickerOptions applied) {
    options = applied;
    ShellTree.SetOptions(TreeOptionsFor(applied, ShellTree.Options()));
    const bool buttons = applied & sfdoCreateDeleteButtons;
    BtnNewFolder.SetVisible(buttons);
    BtnDeleteFolder.SetVisible(buttons);
    BtnNewFolder.SetImageIndex((applied & sfdoCreateFolderIcon) ? 0 : -1);
    BtnDeleteFolder.SetImageIndex((applied & sfdoDeleteFolderIcon) ? 2 : -1);
    const bool flat = (applied & sfdoCreateFolderIcon) && (applied & sfdoDeleteFolderIcon);
    toolBar_.SetFlat(flat);
    ShellTree.SetReadOnly(applied & sfdoReadOnly);
    FormResize();
}

bool FolderPickerWindow::ToolButtonsFlat() const { return toolBar_.Flat(); }

RECT FolderPickerWindow::ButtonPanelRect() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    const int bottom = client.bottom - StatusBar1.Height();
    return {0, bottom - Scale(29), client.right, bottom};
}

void FolderPickerWindow::FormResize() {
    if (!Handle() || !StatusBar1.Handle()) return;
    StatusBar1.FollowParent();
    int top = Scale(8);
    if (BtnNewFolder.Visible()) {
        top = BtnNewFolder.Rect().bottom + Scale(4);
    } else if (BtnDeleteFolder.Visible()) {
        top = BtnDeleteFolder.Rect().bottom + Scale(4);
    }
    const RECT panel = ButtonPanelRect();
    const RECT tree = ShellTree.Rect();
    const SIZE outer = OuterSize();
    const int right = tree.left + outer.cx - Scale(24);
    MoveIfMoved(ShellTree.Handle(), {tree.left, top, right, panel.top - Scale(4)});
    RECT client{};
    GetClientRect(Handle(), &client);
    const RECT cancel = CancelBtn.Rect();
    const RECT ok = OkBtn.Rect();
    const int cancelLeft = client.right - Scale(8) - (cancel.right - cancel.left);
    const int okLeft = cancelLeft - Scale(8) - (ok.right - ok.left);
    MoveIfMoved(CancelBtn.Handle(), {cancelLeft, panel.top + Scale(2), cancelLeft + (cancel.right - cancel.left),
                                     panel.top + Scale(2) + (cancel.bottom - cancel.top)});
    MoveIfMoved(OkBtn.Handle(), {okLeft, panel.top + Scale(2), okLeft + (ok.right - ok.left),
                                 panel.top + Scale(2) + (ok.bottom - ok.top)});
    const ShellFolderTree::Node selected = ShellTree.Selected();
    if (selected && ShellTree.NodeIdList(selected)) SetStatus(ShellTree.NodePath(selected));
}

void FolderPickerWindow::SetStatus(const std::string& path) {
    std::string shown;
    {
        const win::WindowDC dc(StatusBar1.Handle());
        const win::SelectedObject selected(dc.get(), shownFont_ ? shownFont_.get() : Font());
        auto width = [&dc](const std::string& candidate) {
            return static_cast<int>(win::TextExtent(dc.get(), candidate).cx);
        };
        shown = ShortenPath(path, width, StatusBar1.Width() - 20);
    }
    StatusBar1.SetText(shown);
}

std::string FolderPickerWindow::StatusText() const { return StatusBar1.Text(); }

void FolderPickerWindow::ShellTreeChange(ShellFolderTree::Node node) {
    if (!ShellTree.NodeIdList(node)) return;
    const std::string path = ShellTree.NodePath(node);
    const bool hasPath = !path.empty();
    SetStatus(path);
    BtnNewFolder.SetEnabled(hasPath);
    // Not the root, whose absolute index is 0 (counting the others is not needed).
    BtnDeleteFolder.SetEnabled(hasPath && node != ShellTree.Root());
    if (OnSelChange) OnSelChange(this, ShellTree.NodeIdList(node));
}

void FolderPickerWindow::CreateBtnClick() { ShellTree.MakeSubfolder(); }

void FolderPickerWindow::DeleteBtnClick() { ShellTree.RunShellVerb(ShellTree.Selected(), "delete"); }

// Explorer's keys: F2 renames the selected folder, Del deletes it, Shift+F10
// and the menu key open its context menu, Ctrl+Shift+N makes a new folder.
// Only what the picker offers: a key whose button or menu is not there does
// nothing.
bool FolderPickerWindow::HandleKey(const MSG& key) {
    const bool control = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    if (control && shift && key.wParam == 'N') {
        if (BtnNewFolder.Visible() && BtnNewFolder.Enabled()) BtnNewFolder.Click();
        return true;
    }
    const ShellFolderTree::Node selected = ShellTree.Selected();
    if (key.hwnd != ShellTree.Handle() || !selected || control) return false;
    switch (key.wParam) {
    case VK_F2:
        if (shift) return false;
        ShellTree.EditLabel(selected);
        return true;
    case VK_DELETE:
        if (shift) return false;
        if (BtnDeleteFolder.Visible() && BtnDeleteFolder.Enabled()) BtnDeleteFolder.Click();
        return true;
    case VK_F10:
        if (!shift) return false;
        [[fallthrough]];
    case VK_APPS: {
        if (!(options & sfdoContextMenus)) return true;
        RECT item{};  // asked for with the item's handle in its first bytes
        std::memcpy(&item, &selected, sizeof selected);
        SendMessageW(ShellTree.Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item));
        POINT at{item.left, item.bottom};
        ClientToScreen(ShellTree.Handle(), &at);
        ShellTree.ShowContextMenu(selected, at);
        return true;
    }
    default:
        return false;
    }
}

LRESULT FolderPickerWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        // The tool buttons' tips name their keys.
        auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        const HWND tips = toolBar_.Tips();
        if (tip->hdr.code != TTN_GETDISPINFOW || !tips || tip->hdr.hwndFrom != tips) break;
        const UINT text = tip->hdr.idFrom == static_cast<UINT_PTR>(kCreateCommand) ? IDS_PICKER_CREATE_FOLDER_TIP
                                                                                     : IDS_PICKER_DELETE_TIP;
        tip->hinst = GetModuleHandleW(nullptr);
        tip->lpszText = MAKEINTRESOURCEW(text);
        return 0;
    }
    case WM_COMMAND:
        if (lParam && reinterpret_cast<HWND>(lParam) == toolBar_.Handle()) {
            if (LOWORD(wParam) == kCreateCommand) BtnNewFolder.Click();
            if (LOWORD(wParam) == kDeleteCommand) BtnDeleteFolder.Click();
            return 0;
        }
        break;
    case WM_SIZE: {
        const LRESULT result = Form::HandleMessage(message, wParam, lParam);
        if (wParam != SIZE_MINIMIZED) FormResize();
        return result;
    }
    case WM_DEVICECHANGE:
        ShellTree.DeviceChanged(wParam, lParam);
        return TRUE;
    default:
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace quenmar
