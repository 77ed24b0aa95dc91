#pragma once

#include "widgets/Control.h"
#include "win32/Handles.h"

namespace quenmar::widgets {

// A picture: a bitmap drawn in a static control; clicks are reported.
class Picture : public Control {
public:
    using Control::Control;
    Event OnClick;
    void Create(Form& form, Bounds bounds, Anchors anchors = kAnchorsDefault);
    // Takes ownership of the bitmap.
    void SetBitmap(HBITMAP bitmap);
    void HandleCommand(WORD code) override;
    bool Activate() override {
        Fire(OnClick);
        return static_cast<bool>(OnClick);
    }

private:
    win::UniqueGdiObject bitmap_;
};

}  // namespace quenmar::widgets
