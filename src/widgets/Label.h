#pragma once

#include "widgets/Control.h"

namespace quenmar::widgets {

class Label : public Control {
public:
    void Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors = kAnchorsDefault,
                DWORD style = SS_LEFT);
    void SetText(const std::string& text);
    // Widens the label to its text when the text is wider, as labels that
    // size themselves do (the font may be wider than the one designed with),
    // up to `maxRight`; beyond it the text wraps onto more lines.
    void FitWidthToText(int maxRight);
    // Takes exactly the size of its text, as a self-sizing label does.
    void AutoSize();
};

}  // namespace quenmar::widgets
