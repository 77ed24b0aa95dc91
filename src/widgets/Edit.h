#pragma once

#include "widgets/Control.h"
#include "win32/Handles.h"

namespace quenmar::widgets {

// Its change event fires when the text changes by other hands than its
// owner's: setting the text from code fires nothing.
class Edit : public Control {
public:
    using Control::Control;
    Event OnChange;
    void Create(Form& form, Bounds bounds, Anchors anchors, bool readOnly);
    void SetText(const std::string& text);
    void HandleCommand(WORD code) override;
    // The shell's completion of file system folders while typing.
    void CompleteFolders();
    // Enter keeps the text and moves on, as Tab does.
    void SetEnterMovesOn(bool movesOn) { enterMovesOn_ = movesOn; }
    bool EnterMovesOn() const override { return enterMovesOn_; }

private:
    bool settingText_ = false;
    bool enterMovesOn_ = false;
};

}  // namespace quenmar::widgets
