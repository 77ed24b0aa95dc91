#include "widgets/Button.h"

#include "widgets/Form.h"

namespace quenmar::widgets {

void Button::Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors) {
    CreateAs(form, L"BUTTON", text, WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0, bounds, anchors);
}

void Button::HandleCommand(WORD code) {
    if (code == BN_CLICKED) Click();
}

int Button::NeededWidth() const { return CaptionWidthWith(16); }

}  // namespace quenmar::widgets
