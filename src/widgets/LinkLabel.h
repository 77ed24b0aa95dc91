#pragma once

#include "widgets/Controls.h"

namespace quenmar::widgets {

// A label that opens its URL (or, when the URL is blank, its caption)
// through the shell when clicked, and shows itself visited afterwards.
class LinkLabel : public Label {
public:
    Event OnClick;
    std::string URL;
    COLORREF UnvisitedColor = GetSysColor(COLOR_HIGHLIGHT);
    COLORREF VisitedColor = RGB(128, 0, 128);

    void Create(Form& form, const std::string& text, Bounds bounds, unsigned anchors = kAnchorsDefault);
    bool Visited() const { return visited_; }
    void Click();

    void HandleCommand(WORD code) override;
    bool Activate() override {
        Click();
        return true;
    }
    COLORREF TextColor() const override { return visited_ ? VisitedColor : UnvisitedColor; }

    // The extension of a target: from its last dot after its last backslash
    // or colon; empty when there is none.
    static std::string Extension(const std::string& target);

private:
    bool visited_ = false;
};

}  // namespace quenmar::widgets
