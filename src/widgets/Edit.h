#pragma once

#include "widgets/Control.h"
#include "win32/Handles.h"

namespace quenmar::widgets {

// Its change event fires when the text changes by other hands than its
// owner's: setting the text from code fires nothing.
class Edit : public Control {
public:
    Event OnChange;
    void Create(Form& form, Bounds bounds, Anchors anchors, bool readOnly);
    void SetText(const std::string& text);
    void HandleCommand(WORD code) override;

private:
    bool settingText_ = false;
};

}  // namespace quenmar::widgets
