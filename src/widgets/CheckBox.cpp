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

void CheckBox::HandleCommand(WORD code) {
    if (code != BN_CLICKED) return;
    SetChecked(!Checked());
    Fire(OnClick);
}

int CheckBox::NeededWidth() const { return CaptionWidthWith(18); }

}  // namespace quenmar::widgets
