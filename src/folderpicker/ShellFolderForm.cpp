#include "folderpicker/ShellFolderForm.h"

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

bool TToolButton::Enabled() const { return SendMessageW(toolbar_, TB_ISBUTTONENABLED, command_, 0) != 0; }
void TToolButton::SetEnabled(bool enabled) { SendMessageW(toolbar_, TB_ENABLEBUTTON, command_, MAKELONG(enabled, 0)); }
bool TToolButton::Visible() const { return SendMessageW(toolbar_, TB_ISBUTTONHIDDEN, command_, 0) == 0; }
void TToolButton::SetVisible(bool visible) { SendMessageW(toolbar_, TB_HIDEBUTTON, command_, MAKELONG(!visible, 0)); }

int TToolButton::ImageIndex() const {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE;
    SendMessageW(toolbar_, TB_GETBUTTONINFOW, command_, reinterpret_cast<LPARAM>(&info));
    return info.iImage == I_IMAGENONE ? -1 : info.iImage;
}

void TToolButton::SetImageIndex(int image) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE;
    info.iImage = image < 0 ? I_IMAGENONE : image;
    SendMessageW(toolbar_, TB_SETBUTTONINFOW, command_, reinterpret_cast<LPARAM>(&info));
}

std::string TToolButton::Caption() const {
    wchar_t text[128] = {};
    SendMessageW(toolbar_, TB_GETBUTTONTEXTW, command_, reinterpret_cast<LPARAM>(text));
    return win::Utf8(text);
}

void TToolButton::SetCaption(const std::string& caption) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    std::wstring text = win::Wide(caption);
    info.pszText = text.data();
    SendMessageW(toolbar_, TB_SETBUTTONINFOW, command_, reinterpret_cast<LPARAM>(&info));
}

RECT TToolButton::Rect() const {
    RECT r{};
    SendMessageW(toolbar_, TB_GETRECT, command_, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(toolbar_, GetParent(toolbar_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The window ------------------------------------------------------------------

TSelectFolderForm::TSelectFolderForm() : Form(PickerStyle()) {
    OnCreate = [this] { FormCreate(); };
    OnDpiChanged = [this] {
        LoadToolImages();
        SetScaledMetrics();
        SetFormFont(LoadText(IDS_PICKER_FONT));
    };
    OnShow = [this] { FormShowStep(); };
    ShellTree.OnChange = [this](TShellTree::Node node) { ShellTreeChange(node); };
    OkBtn.OnClick = [this] { SetModalResult(IDOK); };
    CancelBtn.OnClick = [this] { SetModalResult(IDCANCEL); };
    BtnNewFolder.OnClick = [this] { CreateBtnClick(); };
    BtnDeleteFolder.OnClick = [this] { DeleteBtnClick(); };
}

TSelectFolderForm::~TSelectFolderForm() {
    if (Handle()) DestroyWindow(Handle());
}

void TSelectFolderForm::CreateControls() {
    ShellTree.Create(*this, {8, 32, 341, 241}, akByForm);
    ShellTree.SetAccessibleName(LoadText(IDS_PICKER_TREE_NAME), true);
    OkBtn.Create(*this, "OK", {12, 279, 75, 23}, akByForm);
    CancelBtn.Create(*this, "Cancel", {92, 279, 75, 23}, akByForm);
    SetDefaultButton(&OkBtn);
    SetCancelButton(&CancelBtn);
    SetWindowLongW(OkBtn.Handle(), GWL_STYLE, GetWindowLongW(OkBtn.Handle(), GWL_STYLE) | BS_DEFPUSHBUTTON);

    StatusBar1 = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, Handle(),
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    // One text area across the whole bar.
    const int parts[] = {-1};
    SendMessageW(StatusBar1, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    SetScaledMetrics();
    SendMessageW(StatusBar1, WM_SIZE, 0, 0);
    SendMessageW(StatusBar1, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);

    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE |
                                   CCS_NODIVIDER,
                               Scale(8), Scale(4), Scale(185), Scale(25), Handle(), nullptr, GetModuleHandleW(nullptr),
                               nullptr);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
    LoadToolImages();
    TBBUTTON buttons[3] = {};
    buttons[0] = {0, kCreateCommand, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_SHOWTEXT, {}, 0,
                  reinterpret_cast<INT_PTR>(L"Create Folder")};
    buttons[1] = {Scale(8), 0, 0, BTNS_SEP, {}, 0, 0};
    buttons[2] = {2, kDeleteCommand, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_SHOWTEXT, {}, 0,
                  reinterpret_cast<INT_PTR>(L"&Delete")};
    SendMessageW(toolbar_, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
    BtnNewFolder.Attach(toolbar_, kCreateCommand);
    BtnDeleteFolder.Attach(toolbar_, kDeleteCommand);
    SizeToolButtons();
}

// The tool buttons' images drawn for the window's scale. Images 0 to 3: new
// folder, its disabled form, delete, its disabled form. The disabled list
// holds each image's disabled form at the same index.
void TSelectFolderForm::LoadToolImages() {
    win::UniqueImageList glyphs(LoadGlyphs(L"PICKERGLYPHS", Dpi()));
    win::UniqueImageList disabledGlyphs(glyphs ? ImageList_Duplicate(glyphs.get()) : nullptr);
    if (const HIMAGELIST disabled = disabledGlyphs.get()) {
        ImageList_Copy(disabled, 0, disabled, 1, ILCF_MOVE);
        ImageList_Copy(disabled, 2, disabled, 3, ILCF_MOVE);
    }
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(glyphs.get()));
    SendMessageW(toolbar_, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabledGlyphs.get()));
    glyphs_ = std::move(glyphs);
    disabledGlyphs_ = std::move(disabledGlyphs);
}

// The tree's indent and the status bar's height, in pixels of the scale.
void TSelectFolderForm::SetScaledMetrics() {
    SendMessageW(ShellTree.Handle(), TVM_SETINDENT, Scale(19), 0);
    SendMessageW(StatusBar1, SB_SETMINHEIGHT, Scale(19) - 2 * GetSystemMetrics(SM_CYBORDER), 0);
}

void TSelectFolderForm::SizeToolButtons() {
    // The designed widths, or wider where the caption needs it in this font.
    const win::WindowDC dc(toolbar_);
    const win::SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(toolbar_, WM_GETFONT, 0, 0)));
    auto needed = [&](TToolButton& button, int designed) {
        std::string caption = button.Caption();
        caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
        return std::max(Scale(designed), static_cast<int>(win::TextExtent(dc.get(), caption).cx) + Scale(16) + Scale(18));
    };
    const int createWidth = BtnNewFolder.Command() ? needed(BtnNewFolder, 101) : Scale(101);
    const int deleteWidth = BtnDeleteFolder.Command() ? needed(BtnDeleteFolder, 68) : Scale(68);
    SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELONG(createWidth, Scale(25)));
    for (const auto& [command, width] : {std::pair{kCreateCommand, createWidth}, std::pair{kDeleteCommand, deleteWidth}}) {
        TBBUTTONINFOW info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_SIZE;
        info.cx = static_cast<WORD>(width);
        SendMessageW(toolbar_, TB_SETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&info));
    }
    MoveWindow(toolbar_, Scale(8), Scale(4), createWidth + deleteWidth + Scale(8) + Scale(8), Scale(25), TRUE);
}

void TSelectFolderForm::FormCreate() {
    ShellTree.SetShowRoot(true);
    SetMinTrackSize(Scale(366), Scale(340));
}

void TSelectFolderForm::SetFormFont(const std::string& face) {
    shownFont_.reset(CreateFontW(Scale(-11), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                 win::Wide(face).c_str()));
    const auto font = reinterpret_cast<WPARAM>(shownFont_.get());
    for (HWND child : {ShellTree.Handle(), OkBtn.Handle(), CancelBtn.Handle(), StatusBar1, toolbar_}) {
        SendMessageW(child, WM_SETFONT, font, TRUE);
    }
    // A new font makes the toolbar measure its buttons again.
    SizeToolButtons();
    FormResize();
}

void TSelectFolderForm::FormShowStep() {
    SetFormFont(LoadText(IDS_PICKER_FONT));
    ShellTree.SetOptions(ShellTree.Options() | stoAutoFill);
    ShellTree.FillTree();
    LoadCaptions();
    if (OnFormShow) OnFormShow(this);
}

void TSelectFolderForm::LoadCaptions() {
    SetWindowTextW(OkBtn.Handle(), win::Wide(LoadText(IDS_PICKER_OK)).c_str());
    SetWindowTextW(CancelBtn.Handle(), win::Wide(LoadText(IDS_PICKER_CANCEL)).c_str());
    BtnNewFolder.SetCaption(LoadText(IDS_PICKER_CREATE_FOLDER));
    BtnDeleteFolder.SetCaption(LoadText(IDS_PICKER_DELETE));
    SizeToolButtons();
    FormResize();
    if (Caption().empty()) SetCaption(LoadText(IDS_PICKER_CAPTION));
}

TShellTreeOptions TSelectFolderForm::TreeOptionsFor(TSelectFolderDialogOptions applied, TShellTreeOptions tree) {
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

void TSelectFolderForm::ApplyOptions(TSelectFolderDialogOptions applied) {
    options = applied;
    ShellTree.SetOptions(TreeOptionsFor(applied, ShellTree.Options()));
    const bool buttons = applied & sfdoCreateDeleteButtons;
    BtnNewFolder.SetVisible(buttons);
    BtnDeleteFolder.SetVisible(buttons);
    BtnNewFolder.SetImageIndex((applied & sfdoCreateFolderIcon) ? 0 : -1);
    BtnDeleteFolder.SetImageIndex((applied & sfdoDeleteFolderIcon) ? 2 : -1);
    const bool flat = (applied & sfdoCreateFolderIcon) && (applied & sfdoDeleteFolderIcon);
    const LONG style = GetWindowLongW(toolbar_, GWL_STYLE);
    SetWindowLongW(toolbar_, GWL_STYLE, flat ? (style | TBSTYLE_FLAT) : (style & ~TBSTYLE_FLAT));
    InvalidateRect(toolbar_, nullptr, TRUE);
    ShellTree.SetReadOnly(applied & sfdoReadOnly);
    FormResize();
}

bool TSelectFolderForm::ToolButtonsFlat() const { return (GetWindowLongW(toolbar_, GWL_STYLE) & TBSTYLE_FLAT) != 0; }

RECT TSelectFolderForm::ButtonPanelRect() const {
    RECT client{}, status{};
    GetClientRect(Handle(), &client);
    GetWindowRect(StatusBar1, &status);
    const int bottom = client.bottom - (status.bottom - status.top);
    return {0, bottom - Scale(29), client.right, bottom};
}

void TSelectFolderForm::FormResize() {
    if (!Handle() || !StatusBar1) return;
    SendMessageW(StatusBar1, WM_SIZE, 0, 0);
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
    const TShellTree::Node selected = ShellTree.Selected();
    if (selected && ShellTree.NodeIdList(selected)) SetStatus(ShellTree.NodePath(selected));
}

void TSelectFolderForm::SetStatus(const std::string& path) {
    RECT status{};
    GetClientRect(StatusBar1, &status);
    std::wstring text;
    {
        const win::WindowDC dc(StatusBar1);
        const win::SelectedObject selected(dc.get(), shownFont_ ? shownFont_.get() : Font());
        auto width = [&dc](const std::string& candidate) {
            return static_cast<int>(win::TextExtent(dc.get(), candidate).cx);
        };
        text = win::Wide(ShortenPath(path, width, status.right - 20));
    }
    SendMessageW(StatusBar1, SB_SETTEXTW, 0 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string TSelectFolderForm::StatusText() const {
    wchar_t text[MAX_PATH * 2] = {};
    SendMessageW(StatusBar1, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return win::Utf8(text);
}

void TSelectFolderForm::ShellTreeChange(TShellTree::Node node) {
    if (!ShellTree.NodeIdList(node)) return;
    const std::string path = ShellTree.NodePath(node);
    const bool hasPath = !path.empty();
    SetStatus(path);
    BtnNewFolder.SetEnabled(hasPath);
    // Not the root, whose absolute index is 0 (counting the others is not needed).
    BtnDeleteFolder.SetEnabled(hasPath && node != ShellTree.Root());
    if (OnSelChange) OnSelChange(this, ShellTree.NodeIdList(node));
}

void TSelectFolderForm::CreateBtnClick() { ShellTree.MakeSubfolder(); }

void TSelectFolderForm::DeleteBtnClick() { ShellTree.RunShellVerb(ShellTree.Selected(), "delete"); }

// Explorer's keys: F2 renames the selected folder, Del deletes it, Shift+F10
// and the menu key open its context menu, Ctrl+Shift+N makes a new folder.
// Only what the picker offers: a key whose button or menu is not there does
// nothing.
bool TSelectFolderForm::HandleKey(const MSG& key) {
    const bool control = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    if (control && shift && key.wParam == 'N') {
        if (BtnNewFolder.Visible() && BtnNewFolder.Enabled()) BtnNewFolder.Click();
        return true;
    }
    const TShellTree::Node selected = ShellTree.Selected();
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

LRESULT TSelectFolderForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        // The tool buttons' tips name their keys.
        auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        const auto tips = reinterpret_cast<HWND>(SendMessageW(toolbar_, TB_GETTOOLTIPS, 0, 0));
        if (tip->hdr.code != TTN_GETDISPINFOW || !tips || tip->hdr.hwndFrom != tips) break;
        const UINT text = tip->hdr.idFrom == static_cast<UINT_PTR>(kCreateCommand) ? IDS_PICKER_CREATE_FOLDER_TIP
                                                                                     : IDS_PICKER_DELETE_TIP;
        tip->hinst = GetModuleHandleW(nullptr);
        tip->lpszText = MAKEINTRESOURCEW(text);
        return 0;
    }
    case WM_COMMAND:
        if (lParam && reinterpret_cast<HWND>(lParam) == toolbar_) {
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
