#include "widgets/RadioButton.h"

#include "widgets/Form.h"

namespace quenmar::widgets {

void RadioButton::Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors, bool startsGroup) {
    // Checked by this class, not by the control: an automatic radio button
    // walks every sibling window in the dialog's order to find its group,
    // each step a round trip to the window server, at every click and every
    // check. SetChecked clears the others of the group it is given; the form
    // checks the one the arrow keys move to, as the dialog keys do an
    // automatic one.
    CreateAs(form, L"BUTTON", text, WS_TABSTOP | BS_RADIOBUTTON | (startsGroup ? WS_GROUP : 0), 0, bounds, anchors);
}

RadioButton::~RadioButton() {
    RadioButton* before = this;
    while (before->nextInGroup_ != this) before = before->nextInGroup_;
    before->nextInGroup_ = nextInGroup_;
}

void RadioButton::JoinGroupOf(RadioButton& other) {
    nextInGroup_ = other.nextInGroup_;
    other.nextInGroup_ = this;
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
    for (RadioButton* other = nextInGroup_; other != this; other = other->nextInGroup_) {
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

int RadioButton::NeededWidth() const { return CaptionWidthWith(18); }

}  // namespace quenmar::widgets
