#include "widgets/Controls.h"

#include <algorithm>

#include "widgets/Form.h"
#include "win32/WideText.h"

namespace quenmar::widgets {

// Label ----------------------------------------------------------------------

void Label::Create(Form& form, const std::string& text, Bounds bounds, unsigned anchors, DWORD style) {
    CreateAs(form, L"STATIC", text, style, 0, bounds, anchors);
}

void Label::SetText(const std::string& text) { SetWindowTextW(hwnd_, win::Wide(text).c_str()); }

SIZE Label::TextExtent() const {
    win::WindowDC dc(hwnd_);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    win::SelectedObject selected(dc.get(), font);
    return win::TextExtent(dc.get(), Text());
}

void Label::AutoSize() {
    const SIZE extent = TextExtent();
    SetWindowPos(hwnd_, nullptr, 0, 0, extent.cx, extent.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Label::FitWidthToText(int maxRight) {
    const SIZE extent = TextExtent();
    const RECT r = Rect();
    const int available = maxRight - r.left;
    if (extent.cx <= r.right - r.left) return;
    if (extent.cx <= available) {
        SetWindowPos(hwnd_, nullptr, 0, 0, extent.cx, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const int lines = (extent.cx + available - 1) / available;
    SetWindowPos(hwnd_, nullptr, 0, 0, available, std::max<int>(r.bottom - r.top, lines * extent.cy),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Picture --------------------------------------------------------------------

void Picture::Create(Form& form, Bounds bounds, unsigned anchors) {
    CreateAs(form, L"STATIC", "", SS_BITMAP | SS_NOTIFY | SS_REALSIZECONTROL, 0, bounds, anchors);
}

void Picture::SetBitmap(HBITMAP bitmap) {
    const RECT before = Rect();
    SendMessageW(hwnd_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    bitmap_.reset(bitmap);
    // Keep the designed size whatever the picture's own size.
    SetWindowPos(hwnd_, nullptr, 0, 0, before.right - before.left, before.bottom - before.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Picture::HandleCommand(WORD code) {
    // A double click acts once: its first click already did.
    if (code == STN_CLICKED) Fire(OnClick);
}

// Edit -----------------------------------------------------------------------

void Edit::Create(Form& form, Bounds bounds, unsigned anchors, bool readOnly) {
    CreateAs(form, L"EDIT", "", WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0), WS_EX_CLIENTEDGE,
             bounds, anchors);
}

void Edit::SetText(const std::string& text) {
    if (Text() == text) return;
    const win::RaisedFlag setting(settingText_);
    SetWindowTextW(hwnd_, win::Wide(text).c_str());
}

void Edit::HandleCommand(WORD code) {
    if (code == EN_CHANGE && !settingText_) Fire(OnChange);
}

// Button ---------------------------------------------------------------------

void Button::Create(Form& form, const std::string& text, Bounds bounds, unsigned anchors) {
    CreateAs(form, L"BUTTON", text, WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0, bounds, anchors);
}

void Button::HandleCommand(WORD code) {
    if (code == BN_CLICKED) Click();
}

// RadioButton ----------------------------------------------------------------

void RadioButton::Create(Form& form, const std::string& text, Bounds bounds, unsigned anchors, bool startsGroup) {
    // Checked by this class, not by the control: an automatic radio button
    // walks every sibling window in the dialog's order to find its group,
    // each step a round trip to the window server, at every click and every
    // check. The form's buttons are one group, whose others SetChecked clears;
    // the form checks the one the arrow keys move to, as the dialog keys do
    // an automatic one.
    CreateAs(form, L"BUTTON", text, WS_TABSTOP | BS_RADIOBUTTON | (startsGroup ? WS_GROUP : 0), 0, bounds, anchors);
    form.radioButtons.push_back(this);
}

bool RadioButton::Checked() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

namespace {

// Tab reaches the checked radio button of a group; arrows move within it.
void SetTabStop(HWND window, bool tabStop) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    if (((style & WS_TABSTOP) != 0) == tabStop) return;
    SetWindowLongW(window, GWL_STYLE, tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

}  // namespace

void RadioButton::SetChecked(bool checked) {
    if (!checked) {
        checked_ = false;
        SendMessageW(hwnd_, BM_SETCHECK, BST_UNCHECKED, 0);
        return;
    }
    if (checked_) return;
    for (RadioButton* other : form_->radioButtons) {
        if (other == this) continue;
        other->checked_ = false;
        SendMessageW(other->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
        SetTabStop(other->Handle(), false);
    }
    checked_ = true;
    SendMessageW(hwnd_, BM_SETCHECK, BST_CHECKED, 0);
    SetTabStop(hwnd_, true);
}

void RadioButton::Choose() {
    // The click is reported only when the button was not checked before.
    if (checked_) return;
    SetChecked(true);
    Fire(OnClick);
}

void RadioButton::HandleCommand(WORD code) {
    if (code == BN_CLICKED) Choose();
}

// CheckBox -------------------------------------------------------------------

void CheckBox::Create(Form& form, const std::string& text, Bounds bounds, unsigned anchors) {
    CreateAs(form, L"BUTTON", text, WS_TABSTOP | WS_GROUP | BS_CHECKBOX, 0, bounds, anchors);
}

bool CheckBox::Checked() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
    if (Checked() == checked) return;
    SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::HandleCommand(WORD code) {
    if (code != BN_CLICKED) return;
    SetChecked(!Checked());
    Fire(OnClick);
}

void MakeFlatFrame(Control& control) {
    control.SetFlatFrame();
    const HWND window = control.Handle();
    if (!window) return;
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
    SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_BORDER);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ImageList ------------------------------------------------------------------

ImageList::~ImageList() { Release(); }

void ImageList::Release() {
    if (handle_ && !shared_) ImageList_Destroy(handle_);
    handle_ = nullptr;
    shared_ = false;
}

void ImageList::CreateOwn(int width, int height) {
    Release();
    handle_ = ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 0, 4);
}

void ImageList::Adopt(HIMAGELIST shared) {
    if (shared == handle_) return;
    Release();
    handle_ = shared;
    shared_ = true;
    for (const auto& listener : listeners) listener(handle_);
}

// ListView -------------------------------------------------------------------

void ListView::Create(Form& form, Bounds bounds, unsigned anchors, DWORD viewStyle) {
    CreateAs(form, WC_LISTVIEWW, "",
             WS_TABSTOP | WS_GROUP | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | viewStyle,
             WS_EX_CLIENTEDGE, bounds, anchors);
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

int ListView::AddItem(const std::string& text, int image, LPARAM data) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = Count();
    std::wstring wide = win::Wide(text);
    item.pszText = wide.data();
    item.iImage = image < 0 ? I_IMAGENONE : image;
    item.lParam = data;
    return static_cast<int>(SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

std::string ListView::ItemText(int index) const {
    wchar_t text[1024] = {};
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    SendMessageW(hwnd_, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    return win::Utf8(text);
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

LPARAM ListView::ItemData(int index) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessageW(hwnd_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return item.lParam;
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

void ListView::SetRedraw(bool redraw) { SendMessageW(hwnd_, WM_SETREDRAW, redraw, 0); }

LRESULT ListView::HandleNotify(NMHDR* header) {
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if (!settingState_ && (change->uChanged & LVIF_STATE) && change->iItem >= 0 &&
            ((change->uOldState ^ change->uNewState) & LVIS_SELECTED)) {
            Fire(OnSelectItem, change->iItem, (change->uNewState & LVIS_SELECTED) != 0);
        }
        return 0;
    }
    case NM_DBLCLK:
        Fire(OnDblClick);
        return 0;
    default:
        return 0;
    }
}

}  // namespace quenmar::widgets
