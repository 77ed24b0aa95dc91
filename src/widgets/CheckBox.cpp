#include "widgets/CheckBox.h"

#include "widgets/Form.h"

namespace quenmar::widgets {

void CheckBox::Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors) {
    CreateAs(form, L"BUTTON", text, WS_TABSTOP | WS_GROUP | BS_CHECKBOX, 0, bounds, anchors);
}

bool CheckBox::Checked() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
    if (Checked() == checked) return;
    SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::AllowIndeterminate() { SendMessageW(hwnd_, BM_SETSTYLE, BS_3STATE, TRUE); }

void CheckBox::SetState(State state) {
    const WPARAM check = state == State::Checked ? BST_CHECKED : state == State::Indeterminate ? BST_INDETERMINATE : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageW(hwnd_, BM_GETCHECK, 0, 0)) != check) SendMessageW(hwnd_, BM_SETCHECK, check, 0);
}

void CheckBox::HandleCommand(WORD code) {
    if (code != BN_CLICKED) return;
    SetChecked(!Checked());
    Fire(OnClick);
}

int CheckBox::NeededWidth() const { return CaptionWidthWith(18); }

}  // namespace quenmar::widgets
