#pragma once

#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/RadioButton.h"
#include "win32/Handles.h"

namespace quenmar::widgets {

// Follows the mouse over a control: hot while the pointer is over it, cold
// when it leaves, loses the capture or is disabled.
class HoverTracker {
public:
    ~HoverTracker();
    void Attach(HWND window, std::function<void()> changed);
    bool Hot() const { return hot_; }

private:
    static LRESULT Proc(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC next);
    void SetHot(bool hot);
    HWND window_ = nullptr;
    bool hot_ = false;
    std::function<void()> changed_;
};

// A push button drawn by the program: a face colour, a highlight colour for
// its frame when it has the focus or is pressed, a hot-track colour while
// the mouse is over it, and an optional glyph (greyed when disabled).
class FlatButton : public Button {
public:
    void Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors = kAnchorsDefault);
    // A glyph from an image list the caller keeps alive; -1 for none.
    void SetGlyph(HIMAGELIST images, int index);
    // Shows the glyph alone; the text still serves as mnemonic and name.
    void SetGlyphOnly(bool glyphOnly) { glyphOnly_ = glyphOnly; }
    bool Hot() const { return hover_.Hot(); }

    bool HandleDrawItem(const DRAWITEMSTRUCT& item) override;
    int NeededWidth() const override;  // the glyph and the caption within the frame

private:
    static constexpr COLORREF kFace = RGB(0xF4, 0xF4, 0xF0);
    static constexpr COLORREF kHighlight = RGB(0x6A, 0x8D, 0xF4);
    static constexpr COLORREF kHotTrack = RGB(0xFF, 0xC7, 0x3C);
    HoverTracker hover_;
    HBITMAP GlyphBitmap(int size, bool disabled);

    HIMAGELIST images_ = nullptr;
    int glyph_ = -1;
    bool glyphOnly_ = false;
    win::UniqueGdiObject glyphBitmaps_[2];  // normal and disabled, at glyphBitmapSize_
    int glyphBitmapSize_ = 0;
    COLORREF glyphBitmapFace_ = CLR_INVALID;
};

// Radio buttons and check boxes that light up: their text in the highlight
// colour when checked, their background in the hot-track colour while the
// mouse is over them.
template <typename Base>
class HotTracked : public Base {
public:
    COLORREF TextColor() const override { return this->Checked() ? kHighlight : CLR_INVALID; }
    HBRUSH BackgroundBrush() const override {
        if (!hover_.Hot()) return nullptr;
        if (!hotBrush_) hotBrush_.reset(CreateSolidBrush(kHotTrack));
        return static_cast<HBRUSH>(hotBrush_.get());
    }
    bool Hot() const { return hover_.Hot(); }

protected:
    void TrackHover() {
        const HWND window = this->Handle();
        hover_.Attach(window, [window] { InvalidateRect(window, nullptr, TRUE); });
    }

private:
    static constexpr COLORREF kHighlight = RGB(0x21, 0xA1, 0x21);
    static constexpr COLORREF kHotTrack = RGB(0xFF, 0xC7, 0x3C);
    HoverTracker hover_;
    mutable win::UniqueGdiObject hotBrush_;
};

class FlatRadioButton : public HotTracked<RadioButton> {
public:
    void Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors = kAnchorsDefault,
                bool startsGroup = false) {
        RadioButton::Create(form, text, bounds, anchors, startsGroup);
        TrackHover();
    }
};

class FlatCheckBox : public HotTracked<CheckBox> {
public:
    void Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors = kAnchorsDefault) {
        CheckBox::Create(form, text, bounds, anchors);
        TrackHover();
    }
};

}  // namespace quenmar::widgets
