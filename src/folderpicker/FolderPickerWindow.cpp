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

// Moving a window is a round trip to the window manager even when it stays
// where it is; the layout runs several times before the window shows.
void MoveIfMoved(HWND window, RECT wanted) {
    RECT now{};
    GetWindowRect(window, &now);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&now), 2);
    if (EqualRect(&now, &wanted)) return;
    MoveWindow(window, wanted.left, wanted.top, wanted.right - wanted.left, wanted.bottom - wanted.top, TRUE);
}

}  // namespace

// The window ------------------------------------------------------------------

FolderPickerWindow::FolderPickerWindow(HICON icon, HICON smallIcon)
    : Form({.className = L"TSelectFolderForm",
            .clientWidth = 358,
            .clientHeight = 325,
            .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN,
            .backgroundColor = COLOR_BTNFACE,
            .fontFace = L"MS Sans Serif",
            .icon = icon,
            .smallIcon = smallIcon}) {
    tree_.OnChange = [this](ShellFolderTree::Node node) { OnFolderSelected(node); };
    okButton_.OnClick = [this] { SetModalResult(IDOK); };
    cancelButton_.OnClick = [this] { SetModalResult(IDCANCEL); };
    newFolderButton_.OnClick = [this] { tree_.MakeSubfolder(); };
    deleteFolderButton_.OnClick = [this] { tree_.RunShellVerb(tree_.Selected(), "delete"); };
}

FolderPickerWindow::~FolderPickerWindow() {
    if (Handle()) DestroyWindow(Handle());
}

void FolderPickerWindow::ScaleChanged() {
    LoadToolImages();
    SetScaledMetrics();
    SetFormFont(TextOf(IDS_PICKER_FONT));
}

void FolderPickerWindow::Created() {
    tree_.SetAccessibleName(TextOf(IDS_PICKER_TREE_NAME), true);
    tree_.Create(*this, {8, 32, 341, 241}, Anchor::ByForm);
    okButton_.Create(*this, TextOf(IDS_PICKER_OK), {12, 279, 75, 23}, Anchor::ByForm);
    cancelButton_.Create(*this, TextOf(IDS_PICKER_CANCEL), {92, 279, 75, 23}, Anchor::ByForm);
    SetDefaultButton(&okButton_);
    SetCancelButton(&cancelButton_);
    SetWindowLongW(okButton_.Handle(), GWL_STYLE, GetWindowLongW(okButton_.Handle(), GWL_STYLE) | BS_DEFPUSHBUTTON);

    statusBar_.Create(*this, kStatusBar);
    SetScaledMetrics();
    statusBar_.FollowParent();
    statusBar_.SetFont(Font());

    toolBar_.Create(*this, {Scale(8), Scale(4), Scale(8 + 185), Scale(4 + 25)}, kToolBar);
    toolBar_.SetFont(Font());
    LoadToolImages();
    toolBar_.AddButton(kCreateFolderCommand, 0, win::Wide(TextOf(IDS_PICKER_CREATE_FOLDER)).c_str());
    toolBar_.AddGap(Scale(8));
    toolBar_.AddButton(kDeleteFolderCommand, 2, win::Wide(TextOf(IDS_PICKER_DELETE)).c_str());
    newFolderButton_.Attach(toolBar_.Handle(), kCreateFolderCommand);
    deleteFolderButton_.Attach(toolBar_.Handle(), kDeleteFolderCommand);
    SizeToolButtons();
    tree_.SetShowRoot(true);
    SetMinTrackSize(Scale(366), Scale(340));
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
    SendMessageW(tree_.Handle(), TVM_SETINDENT, Scale(19), 0);
    statusBar_.SetMinHeight(Scale(19));
}

void FolderPickerWindow::SizeToolButtons() {
    // The designed widths, or wider where the caption needs it in this font.
    // Measured as the tool bar draws them, the mnemonic's ampersand taking no room.
    auto needed = [&](ToolButton& button, int designed) {
        return std::max(Scale(designed), static_cast<int>(Measure(toolBar_.Handle(), button.Caption(), DT_SINGLELINE).cx) + Scale(16) + Scale(18));
    };
    const int createWidth = newFolderButton_.Command() ? needed(newFolderButton_, 101) : Scale(101);
    const int deleteWidth = deleteFolderButton_.Command() ? needed(deleteFolderButton_, 68) : Scale(68);
    toolBar_.SetButtonSize(createWidth, Scale(25));
    toolBar_.SetButtonWidth(kCreateFolderCommand, createWidth);
    toolBar_.SetButtonWidth(kDeleteFolderCommand, deleteWidth);
    toolBar_.Move({Scale(8), Scale(4), Scale(8) + createWidth + deleteWidth + Scale(8) + Scale(8), Scale(4) + Scale(25)});
}

void FolderPickerWindow::SetFormFont(const std::string& face) {
    shownFont_.reset(CreateFontFor(-11, false, false, win::Wide(face).c_str()));
    const auto font = static_cast<HFONT>(shownFont_.get());
    for (Control* control : std::initializer_list<Control*>{&tree_, &okButton_, &cancelButton_}) control->SetFont(font);
    statusBar_.SetFont(font);
    toolBar_.SetFont(font);
    // OK and Cancel as wide as their texts need in this font.
    for (Button* button : {&okButton_, &cancelButton_}) {
        RECT r = button->Rect();
        r.right = r.left + std::max(Scale(75), button->NeededWidth());
        button->Move(r);
    }
    // A new font makes the toolbar measure its buttons again.
    SizeToolButtons();
    LayOut();
}

void FolderPickerWindow::Showing() {
    SetFormFont(TextOf(IDS_PICKER_FONT));
    tree_.FillTree();
}

void FolderPickerWindow::ApplyOptions(const FolderPickerOptions& options) {
    options_ = options;
    newFolderButton_.SetVisible(options.createDeleteButtons);
    deleteFolderButton_.SetVisible(options.createDeleteButtons);
    LayOut();
}

RECT FolderPickerWindow::ButtonPanelRect() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    const int bottom = client.bottom - statusBar_.Height();
    return {0, bottom - Scale(29), client.right, bottom};
}

void FolderPickerWindow::LayOut() {
    if (!Handle() || !statusBar_.Handle()) return;
    statusBar_.FollowParent();
    int top = Scale(8);
    if (newFolderButton_.Visible()) {
        top = newFolderButton_.Rect().bottom + Scale(4);
    } else if (deleteFolderButton_.Visible()) {
        top = deleteFolderButton_.Rect().bottom + Scale(4);
    }
    const RECT panel = ButtonPanelRect();
    const RECT tree = tree_.Rect();
    const SIZE outer = OuterSize();
    const int right = tree.left + outer.cx - Scale(24);
    MoveIfMoved(tree_.Handle(), {tree.left, top, right, panel.top - Scale(4)});
    RECT client{};
    GetClientRect(Handle(), &client);
    const RECT cancel = cancelButton_.Rect();
    const RECT ok = okButton_.Rect();
    const int cancelLeft = client.right - Scale(8) - (cancel.right - cancel.left);
    const int okLeft = cancelLeft - Scale(8) - (ok.right - ok.left);
    MoveIfMoved(cancelButton_.Handle(), {cancelLeft, panel.top + Scale(2), cancelLeft + (cancel.right - cancel.left),
                                     panel.top + Scale(2) + (cancel.bottom - cancel.top)});
    MoveIfMoved(okButton_.Handle(), {okLeft, panel.top + Scale(2), okLeft + (ok.right - ok.left),
                                 panel.top + Scale(2) + (ok.bottom - ok.top)});
    const ShellFolderTree::Node selected = tree_.Selected();
    if (selected && tree_.NodeIdList(selected)) SetStatus(tree_.NodePath(selected));
}

void FolderPickerWindow::SetStatus(const std::string& path) {
    std::string shown;
    {
        const win::WindowDC dc(statusBar_.Handle());
        const win::SelectedObject selected(dc.get(), shownFont_ ? shownFont_.get() : Font());
        auto width = [&dc](const std::string& candidate) {
            return static_cast<int>(widgets::MeasureIn(dc.get(), win::Wide(candidate), DT_SINGLELINE | DT_NOPREFIX).cx);
        };
        shown = ShortenPath(path, width, statusBar_.Width() - 20);
    }
    statusBar_.SetText(shown);
}

void FolderPickerWindow::OnFolderSelected(ShellFolderTree::Node node) {
    if (!tree_.NodeIdList(node)) return;
    const std::string path = tree_.NodePath(node);
    const bool hasPath = !path.empty();
    SetStatus(path);
    newFolderButton_.SetEnabled(hasPath);
    // Not the root, whose absolute index is 0 (counting the others is not needed).
    deleteFolderButton_.SetEnabled(hasPath && node != tree_.Root());
}

// Explorer's keys: F2 renames the selected folder, Del deletes it, Shift+F10
// and the menu key open its context menu, Ctrl+Shift+N makes a new folder.
// Only what the picker offers: a key whose button or menu is not there does
// nothing.
bool FolderPickerWindow::HandleKey(const MSG& key) {
    const bool control = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    if (control && shift && key.wParam == 'N') {
        if (newFolderButton_.Visible() && newFolderButton_.Enabled()) newFolderButton_.Click();
        return true;
    }
    const ShellFolderTree::Node selected = tree_.Selected();
    if (key.hwnd != tree_.Handle() || !selected || control) return false;
    switch (key.wParam) {
    case VK_F2:
        if (shift) return false;
        tree_.EditLabel(selected);
        return true;
    case VK_DELETE:
        if (shift) return false;
        if (deleteFolderButton_.Visible() && deleteFolderButton_.Enabled()) deleteFolderButton_.Click();
        return true;
    case VK_F10:
        if (!shift) return false;
        [[fallthrough]];
    case VK_APPS: {
        RECT item{};  // asked for with the item's handle in its first bytes
        std::memcpy(&item, &selected, sizeof selected);
        SendMessageW(tree_.Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item));
        POINT at{item.left, item.bottom};
        ClientToScreen(tree_.Handle(), &at);
        tree_.ShowContextMenu(selected, at);
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
        const UINT text = tip->hdr.idFrom == static_cast<UINT_PTR>(kCreateFolderCommand) ? IDS_PICKER_CREATE_FOLDER_TIP
                                                                                     : IDS_PICKER_DELETE_TIP;
        tip->hinst = GetModuleHandleW(nullptr);
        tip->lpszText = MAKEINTRESOURCEW(text);
        return 0;
    }
    case WM_COMMAND:
        if (lParam && reinterpret_cast<HWND>(lParam) == toolBar_.Handle()) {
            if (LOWORD(wParam) == kCreateFolderCommand) newFolderButton_.Click();
            if (LOWORD(wParam) == kDeleteFolderCommand) deleteFolderButton_.Click();
            return 0;
        }
        break;
    case WM_SIZE: {
        const LRESULT result = Form::HandleMessage(message, wParam, lParam);
        if (wParam != SIZE_MINIMIZED) LayOut();
        return result;
    }
    case WM_DEVICECHANGE:
        tree_.DeviceChanged(wParam, lParam);
        return TRUE;
    default:
        break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace quenmar
