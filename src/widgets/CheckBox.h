#pragma once

#include "widgets/Control.h"

namespace quenmar::widgets {

// Fires its click when the user changes its state; set from code, it fires
// nothing.
class CheckBox : public Control {
public:
    using Control::Control;
    Event OnClick;
    void Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors = kAnchorsDefault);
    bool Checked() const;
    void SetChecked(bool checked);
    // A box with a third state, indeterminate, which only code shows: a
    // click still raises OnClick alone, and its owner shows the next state.
    enum class State { Unchecked, Checked, Indeterminate };
    void AllowIndeterminate();
    void SetState(State state);
    void HandleCommand(WORD code) override;
    int NeededWidth() const override;  // the caption and the box and the gap after it
};

}  // namespace quenmar::widgets
