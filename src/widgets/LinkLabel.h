#pragma once

#include "widgets/Label.h"
#include "widgets/SystemColours.h"

namespace quenmar::widgets {

// A label that stands for a link: clicked, or Enter while it has the focus,
// it asks its owner to open the link, and shows itself visited once that
// succeeded.
class LinkLabel : public Label {
public:
    using Label::Label;
    // Opens the link; whether it opened.
    std::function<bool()> OnOpen;

    void Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors = kAnchorsDefault);
    bool Visited() const { return visited_; }
    void Open();

    void HandleCommand(WORD code) override;
    bool Activate() override {
        Open();
        return true;
    }
    COLORREF TextColor() const override { return visited_ ? CurrentPalette().visitedLink : CurrentPalette().link; }

private:
    bool visited_ = false;
};

}  // namespace quenmar::widgets
