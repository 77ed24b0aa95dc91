#pragma once

#include "widgets/Control.h"

namespace quenmar::widgets {

// Chosen by the user (a click, or the arrow keys moving to it), it fires its
// click when it was not checked before; checked from code, it fires nothing.
// Checking it unchecks the others of its group.
class RadioButton : public Control {
public:
    using Control::Control;
    Event OnClick;
    RadioButton() = default;
    ~RadioButton() override;
    RadioButton(const RadioButton&) = delete;
    RadioButton& operator=(const RadioButton&) = delete;
    void Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors = kAnchorsDefault,
                bool startsGroup = false);
    // Makes this button one of the other's group (each starts alone).
    void JoinGroupOf(RadioButton& other);
    bool Checked() const;
    void SetChecked(bool checked);
    // What the user's click does.
    void Choose();
    void HandleCommand(WORD code) override;
    int NeededWidth() const override;  // the caption and the circle and the gap after it

private:
    bool checked_ = false;  // as last set: the control checks itself on a click
    RadioButton* nextInGroup_ = this;  // the group, as a ring
};

}  // namespace quenmar::widgets
