#include "widgets/LinkLabel.h"

#include "widgets/Form.h"

namespace quenmar::widgets {

void LinkLabel::Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors) {
    Label::Create(form, text, bounds, anchors, SS_LEFT | SS_NOTIFY | SS_NOPREFIX);
    SetCursor(LoadCursor(nullptr, IDC_HAND));
}

void LinkLabel::HandleCommand(WORD code) {
    if (code == STN_CLICKED) Open();
}

void LinkLabel::Open() {
    if (!OnOpen || !OnOpen() || visited_) return;
    visited_ = true;
    // The label is transparent: its form repaints what lies beneath.
    RECT r = Rect();
    RedrawWindow(GetParent(hwnd_), &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace quenmar::widgets
