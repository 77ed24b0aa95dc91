#include "widgets/Label.h"

#include <algorithm>

#include "widgets/Form.h"
#include "win32/WideText.h"

namespace quenmar::widgets {

void Label::Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors, DWORD style) {
    CreateAs(form, L"STATIC", text, style, 0, bounds, anchors);
}

void Label::SetText(const std::string& text) { SetWindowTextW(hwnd_, win::Wide(text).c_str()); }

void Label::AutoSize() {
    const SIZE extent = TextExtent(Text());
    SetWindowPos(hwnd_, nullptr, 0, 0, extent.cx, extent.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Label::FitWidthToText(int maxRight) {
    const SIZE extent = TextExtent(Text());
    const RECT r = Rect();
    const int available = maxRight - r.left;
    if (extent.cx <= r.right - r.left) return;
    if (extent.cx <= available) {
        SetWindowPos(hwnd_, nullptr, 0, 0, extent.cx, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    // Broken into lines at the words, as the control draws it.
    const SIZE wrapped = WrappedExtent(Text(), available);
    SetWindowPos(hwnd_, nullptr, 0, 0, available, std::max<int>(r.bottom - r.top, wrapped.cy),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Label::ShowWrapped(const std::string& text, int width) {
    SetText(text);
    SetVisible(!text.empty());
    if (text.empty()) return;
    RECT r = Rect();
    r.right = r.left + width;
    r.bottom = r.top + WrappedExtent(text, width).cy;
    Move(r);
}

void Label::ShowUnder(const Control& above, const std::string& text) {
    SetText(text);
    SetVisible(!text.empty());
    if (text.empty()) return;
    const RECT base = above.Rect();
    const SIZE extent = TextExtent(text);
    const int gap = form_->Scale(2);
    Move({base.left, base.bottom + gap, base.left + std::min<int>(base.right - base.left, extent.cx + gap),
          base.bottom + gap + extent.cy});
}

}  // namespace quenmar::widgets
