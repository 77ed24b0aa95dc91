#include "widgets/ListView.h"

#include "widgets/Form.h"
#include "win32/WideText.h"
#include "win32/WindowSubclass.h"

#include <utility>

namespace quenmar::widgets {

void ListView::Create(Form& form, Bounds bounds, Anchors anchors, DWORD viewStyle) {
    CreateAs(form, WC_LISTVIEWW, "",
             WS_TABSTOP | WS_GROUP | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | viewStyle,
             WS_EX_CLIENTEDGE, bounds, anchors);
    win::WindowSubclass::Install(hwnd_, Proc, this);
}

// Every change of selection happens while the list handles a message of its
// own (a click, a key, a request), and tells of itself within it; the user's
// change is reported when the outermost of them returns.
LRESULT ListView::Proc(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC next) {
    auto& list = *static_cast<ListView*>(context);
    LRESULT answer = 0;
    if (message == WM_GETOBJECT && list.AnswerGetObject(wParam, lParam, answer)) return answer;
    ++list.depth_;
    const LRESULT result = CallWindowProcW(next, window, message, wParam, lParam);
    if (--list.depth_ == 0 && message != WM_NCDESTROY) list.ReportSelection();
    return result;
}

ListView::~ListView() {
    if (hwnd_) win::WindowSubclass::Remove(hwnd_);
}

void ListView::ReportSelection() {
    if (!std::exchange(selectionMoved_, false)) return;
    const int selected = SelectedIndex();
    Fire(OnSelectionChanged, selected < 0 ? std::nullopt : std::optional<int>(selected));
}

void ListView::AddColumn(int width96) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = form_->Scale(width96);
    SendMessageW(hwnd_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

void ListView::SetImageList(ImageList& list, int which) {
    const HWND window = hwnd_;
    auto apply = [window, which](HIMAGELIST handle) {
        SendMessageW(window, LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(handle));
    };
    if (list.Handle()) apply(list.Handle());
    list.listeners.push_back(apply);
}

int ListView::Count() const { return static_cast<int>(SendMessageW(hwnd_, LVM_GETITEMCOUNT, 0, 0)); }

int ListView::AddItem(const std::string& text, int image) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = Count();
    std::wstring wide = win::Wide(text);
    item.pszText = wide.data();
    item.iImage = image < 0 ? I_IMAGENONE : image;
    return static_cast<int>(SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListView::SetItemText(int index, const std::string& text) {
    LVITEMW item{};
    item.iSubItem = 0;
    std::wstring wide = win::Wide(text);
    item.pszText = wide.data();
    SendMessageW(hwnd_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
}

int ListView::ItemImage(int index) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    SendMessageW(hwnd_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage == I_IMAGENONE ? -1 : item.iImage;
}

void ListView::SetItemImage(int index, int image) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = image < 0 ? I_IMAGENONE : image;
    SendMessageW(hwnd_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int ListView::SelectedIndex() const {
    return static_cast<int>(SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool ListView::IsSelected(int index) const {
    return (SendMessageW(hwnd_, LVM_GETITEMSTATE, index, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void ListView::SetState(int index, UINT mask, UINT state) {
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    const win::RaisedFlag setting(settingState_);
    SendMessageW(hwnd_, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

void ListView::SetSelected(int index, bool selected) { SetState(index, LVIS_SELECTED, selected ? LVIS_SELECTED : 0); }

void ListView::SetFocused(int index) { SetState(index, LVIS_FOCUSED, LVIS_FOCUSED); }

void ListView::EnsureVisible(int index) { SendMessageW(hwnd_, LVM_ENSUREVISIBLE, index, FALSE); }

void ListView::ShowSelected(std::optional<int> item) {
    const int shown = SelectedIndex();
    if (shown == item.value_or(-1)) return;
    if (!item) return SetSelected(shown, false);
    SetSelected(*item, true);
    SetFocused(*item);
    EnsureVisible(*item);
}

void ListView::SetIconSpacing(int width, int height) {
    const auto spacing = static_cast<DWORD>(SendMessageW(hwnd_, LVM_GETITEMSPACING, FALSE, 0));
    if (LOWORD(spacing) != width || HIWORD(spacing) != height) {
        SendMessageW(hwnd_, LVM_SETICONSPACING, 0, MAKELPARAM(width, height));
    }
}

void ListView::SetRedraw(bool redraw) { SendMessageW(hwnd_, WM_SETREDRAW, redraw, 0); }

bool ListView::HandleContextMenu(POINT screen) {
    if (!OnContextMenu) return false;
    const bool fromKeyboard = screen.x == -1 && screen.y == -1;
    if (fromKeyboard) {
        RECT item{LVIR_ICON, 0, 0, 0};
        const int selected = SelectedIndex();
        if (selected < 0 || !SendMessageW(hwnd_, LVM_GETITEMRECT, selected, reinterpret_cast<LPARAM>(&item))) return true;
        screen = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ClientToScreen(hwnd_, &screen);
    }
    OnContextMenu(screen, fromKeyboard);
    return true;
}

LRESULT ListView::HandleNotify(NMHDR* header) {
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if (!settingState_ && (change->uChanged & LVIF_STATE) && change->iItem >= 0 &&
            ((change->uOldState ^ change->uNewState) & LVIS_SELECTED)) {
            selectionMoved_ = true;
            if (depth_ == 0) ReportSelection();
        }
        return 0;
    }
    case NM_DBLCLK:
        Fire(OnDblClick);
        return 0;
    case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE) Fire(OnDeleteKey);
        return 0;
    default:
        return 0;
    }
}

}  // namespace quenmar::widgets
