#pragma once

#include "widgets/Label.h"

namespace quenmar::widgets {

// A label that stands for a link: clicked, or Enter while it has the focus,
// it asks its owner to open the link, and shows itself visited once that
// succeeded.
class LinkLabel : public Label {
public:
    // Opens the link; whether it opened.
    std::function<bool()> OnOpen;
    COLORREF UnvisitedColor = GetSysColor(COLOR_HIGHLIGHT);
    COLORREF VisitedColor = RGB(128, 0, 128);

    void Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors = kAnchorsDefault);
    bool Visited() const { return visited_; }
    void Open();

    void HandleCommand(WORD code) override;
    bool Activate() override {
        Open();
        return true;
    }
    COLORREF TextColor() const override { return visited_ ? VisitedColor : UnvisitedColor; }

private:
    bool visited_ = false;
};

}  // namespace quenmar::widgets
