#include "widgets/FlatButton.h"

#include <algorithm>

#include "widgets/Form.h"
#include "widgets/GlyphImage.h"
#include "win32/Canvas.h"
#include "win32/WideText.h"
#include "win32/WindowSubclass.h"

namespace quenmar::widgets {

// HoverTracker ---------------------------------------------------------------

HoverTracker::~HoverTracker() {
    if (window_) win::WindowSubclass::Remove(window_);
}

void HoverTracker::Attach(HWND window, std::function<void()> changed, const Control* described) {
    window_ = window;
    changed_ = std::move(changed);
    described_ = described;
    win::WindowSubclass::Install(window, Proc, this);
}

void HoverTracker::SetHot(bool hot) {
    if (hot_ == hot) return;
    hot_ = hot;
    if (changed_) changed_();
}

LRESULT HoverTracker::Proc(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC next) {
    auto* tracker = static_cast<HoverTracker*>(context);
    switch (message) {
    case WM_GETOBJECT:
        if (LRESULT answer = 0; tracker->described_ && tracker->described_->AnswerGetObject(wParam, lParam, answer)) {
            return answer;
        }
        break;
    case WM_MOUSEMOVE:
        if (!tracker->hot_ && IsWindowEnabled(window)) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            TrackMouseEvent(&track);
            tracker->SetHot(true);
        }
        break;
    case WM_MOUSELEAVE:
    case WM_CAPTURECHANGED:
        if (message == WM_MOUSELEAVE || !GetCapture()) tracker->SetHot(false);
        break;
    case WM_ENABLE:
        if (!wParam) tracker->SetHot(false);
        break;
    case WM_LBUTTONDBLCLK:
        // The second click of a double click presses the control again, as
        // it does a standard button: an owner-drawn one would only report
        // the double click and never the click.
        message = WM_LBUTTONDOWN;
        break;
    case WM_NCDESTROY:
        win::WindowSubclass::Remove(window);
        tracker->window_ = nullptr;
        break;
    default:
        break;
    }
    return CallWindowProcW(next, window, message, wParam, lParam);
}

// FlatButton -----------------------------------------------------------------

void FlatButton::Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors) {
    CreateAs(form, L"BUTTON", text, WS_TABSTOP | WS_GROUP | BS_OWNERDRAW, 0, bounds, anchors);
    // Drawn unmirrored, its glyph keeps its orientation; the glyph and the
    // caption change sides below for a mirrored window.
    KeepOrientation();
    const HWND window = hwnd_;
    hover_.Attach(window, [this, window] {
        InvalidateRect(window, nullptr, FALSE);
    });
}

void FlatButton::SetGlyph(HIMAGELIST images, int index) {
    images_ = images;
    glyph_ = index;
    glyphBitmaps_[0].reset();
    glyphBitmaps_[1].reset();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

HBITMAP FlatButton::GlyphBitmap(int size, bool disabled, COLORREF face) {
    // Made once for each look at the size drawn, not at every paint.
    if (size != glyphBitmapSize_ || face != glyphBitmapFace_) {
        glyphBitmaps_[0].reset();
        glyphBitmaps_[1].reset();
        glyphBitmapSize_ = size;
        glyphBitmapFace_ = face;
    }
    win::UniqueGdiObject& bitmap = glyphBitmaps_[disabled ? 1 : 0];
    if (!bitmap) bitmap.reset(MakeGlyphBitmap(images_, glyph_, size, disabled, face));
    return static_cast<HBITMAP>(bitmap.get());
}

namespace {

void FrameWith(HDC dc, RECT r, COLORREF color, int width) {
    const win::UniqueGdiObject brush(CreateSolidBrush(color));
    for (int i = 0; i < width; ++i) {
        FrameRect(dc, &r, static_cast<HBRUSH>(brush.get()));
        InflateRect(&r, -1, -1);
    }
}

}  // namespace

namespace {

constexpr int kMargin = 5;  // between the frame and what a button shows, at 96 dpi

}  // namespace

int FlatButton::NeededWidth() const {
    const auto scale = [this](int pixels96) { return form_ ? form_->Scale(pixels96) : pixels96; };
    const bool hasGlyph = images_ && glyph_ >= 0;
    const int glyph = hasGlyph ? scale(16) : 0;
    // Within the frame; a button that must grow past its design for its
    // caption keeps a margin on each side of what it shows.
    if (glyphOnly_) return glyph + 2 * scale(1);
    const int shown = glyph + (hasGlyph ? 4 : 0) + CaptionExtent().cx + 2 * scale(1);
    return shown > scale(DesignBounds().width) ? shown + 2 * scale(kMargin) : shown;
}

bool FlatButton::HandleDrawItem(const DRAWITEMSTRUCT& item) {
    // Drawn off screen and copied once: one transfer to the window instead
    // of one for every stroke.
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    const win::UniqueMemoryDc memory(CreateCompatibleDC(item.hDC));
    const HDC dc = memory.get();
    const win::UniqueGdiObject canvas(win::CreateCanvas(item.hDC, width, height));
    const win::SelectedObject onCanvas(dc, canvas.get());
    RECT r{0, 0, width, height};
    const bool disabled = item.itemState & ODS_DISABLED;
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool focused = item.itemState & ODS_FOCUS;
    const bool hot = hover_.Hot() && !disabled;

    const Palette& colours = CurrentPalette();
    const COLORREF faceColour = pressed ? colours.pressedFace : hot ? colours.hotFace : colours.face;
    const win::UniqueGdiObject face(CreateSolidBrush(faceColour));
    FillRect(dc, &r, static_cast<HBRUSH>(face.get()));
    // Lines and margins drawn for the scale, as the pictures are.
    const auto scale = [this](int pixels96) { return form_ ? form_->Scale(pixels96) : pixels96; };
    FrameWith(dc, r, disabled ? colours.disabledFrame : (focused || pressed) ? colours.focusFrame : colours.frame,
              scale((focused || pressed) && !disabled ? 2 : 1));

    RECT content = r;
    InflateRect(&content, -scale(4), -scale(2));
    if (pressed) OffsetRect(&content, scale(1), scale(1));
    const std::wstring text = win::Wide(Text());
    const int glyphSize = form_ ? form_->Scale(16) : 16;
    SIZE textSize{};
    const win::SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    if (!glyphOnly_) {
        // As drawn: the mnemonic's ampersand takes no room.
        textSize = MeasureIn(dc, text, DT_SINGLELINE);
    }
    const bool hasGlyph = images_ && glyph_ >= 0;
    // In a mirrored window the glyph stands right of the caption, which
    // reads from right to left: each is placed as for left to right, then
    // its place is mirrored within the button (the caption by the canvas).
    const bool mirrored = InMirroredWindow();
    const int gap = hasGlyph && !glyphOnly_ ? 4 : 0;
    const int total = (hasGlyph ? glyphSize : 0) + gap + (glyphOnly_ ? 0 : textSize.cx);
    // Centred; a caption too wide for the margins takes them, up to the frame.
    const int innermost = r.left + scale(2) + (pressed ? scale(1) : 0);
    int x = std::max<int>(innermost, content.left + (content.right - content.left - total) / 2);
    if (hasGlyph) {
        const int y = content.top + (content.bottom - content.top - glyphSize) / 2;
        int listWidth = 0, listHeight = 0;
        ImageList_GetIconSize(images_, &listWidth, &listHeight);
        const int glyphX = mirrored ? width - x - glyphSize : x;
        if (!disabled && listWidth == glyphSize && listHeight == glyphSize) {
            // At the list's own size the glyph is drawn as it is, through its
            // mask; only a greyed or resized one is made and kept.
            ImageList_Draw(images_, glyph_, dc, glyphX, y, ILD_TRANSPARENT);
        } else if (const HBITMAP glyph = GlyphBitmap(glyphSize, disabled, faceColour)) {
            const win::UniqueMemoryDc source(CreateCompatibleDC(dc));
            const win::SelectedObject onGlyph(source.get(), glyph);
            const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            GdiAlphaBlend(dc, glyphX, y, glyphSize, glyphSize, source.get(), 0, 0, glyphSize, glyphSize, blend);
        }
        x += glyphSize + gap;
    }
    if (!glyphOnly_) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, disabled ? colours.disabledCaption
                         : pressed        ? colours.pressedCaption
                         : hot            ? colours.hotCaption
                                          : colours.caption);
        RECT textRect{x, content.top, x + textSize.cx + 2, content.bottom};
        const UINT prefix = (item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
        // Mirrored, the caption is drawn as a mirrored window draws its
        // texts, which puts the mnemonic's underline under its letter: the
        // canvas's layout maps the left-to-right place to its mirror image.
        if (mirrored) SetLayout(dc, LAYOUT_RTL);
        DrawTextW(dc, text.c_str(), -1, &textRect,
                  (mirrored ? DT_RTLREADING : 0) | DT_LEFT | DT_VCENTER | DT_SINGLELINE | prefix);
        if (mirrored) SetLayout(dc, 0);
    }
    if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = r;
        InflateRect(&focus, -scale(3), -scale(3));
        for (int line = 0; line < scale(1); ++line, InflateRect(&focus, -1, -1)) DrawFocusRect(dc, &focus);
    }
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, dc, 0, 0, SRCCOPY);
    return true;
}

}  // namespace quenmar::widgets
