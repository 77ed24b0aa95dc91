#pragma once

#include "widgets/Control.h"

namespace quenmar::widgets {

class Button : public Control {
public:
    using Control::Control;
    Event OnClick;
    void Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors = kAnchorsDefault);
    void Click() { Fire(OnClick); }
    void HandleCommand(WORD code) override;
    int NeededWidth() const override;  // the caption and the frame and its margins
};

}  // namespace quenmar::widgets
