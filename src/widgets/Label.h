#pragma once

#include "widgets/Control.h"

namespace quenmar::widgets {

class Label : public Control {
public:
    using Control::Control;
    void Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors = kAnchorsDefault,
                DWORD style = SS_LEFT);
    void SetText(const std::string& text);
    // Widens the label to its text when the text is wider, as labels that
    // size themselves do (the font may be wider than the one designed with),
    // up to `maxRight`; beyond it the text wraps onto more lines.
    void FitWidthToText(int maxRight);
    // Takes exactly the size of its text, as a self-sizing label does.
    void AutoSize();
    // Shows the text broken into lines at its words within `width` from the
    // label's left edge, as high as its lines; hidden when empty.
    void ShowWrapped(const std::string& text, int width);
    // Shows the text on one line just under another control, from its left
    // edge, no wider than it; hidden when empty.
    void ShowUnder(const Control& above, const std::string& text);
};

}  // namespace quenmar::widgets
