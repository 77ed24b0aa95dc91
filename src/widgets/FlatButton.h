#pragma once

#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/RadioButton.h"
#include "widgets/SystemColours.h"
#include "win32/Handles.h"

namespace quenmar::widgets {

// Follows the mouse over a control: hot while the pointer is over it, cold
// when it leaves, loses the capture or is disabled.
class HoverTracker {
public:
    ~HoverTracker();
    // The control's accessible descriptions are answered here too: a window
    // takes one such procedure.
    void Attach(HWND window, std::function<void()> changed, const Control* described = nullptr);
    bool Hot() const { return hot_; }

private:
    static LRESULT Proc(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC next);
    void SetHot(bool hot);
    HWND window_ = nullptr;
    bool hot_ = false;
    std::function<void()> changed_;
    const Control* described_ = nullptr;
};

// A push button drawn by the program in the palette's colours: its face,
// another face while the mouse is over it or it is pressed, a frame that
// stands out while it has the focus, and an optional glyph (greyed when
// disabled).
class FlatButton : public Button {
public:
    using Button::Button;
    void Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors = kAnchorsDefault);
    // A glyph from an image list the caller keeps alive; -1 for none.
    void SetGlyph(HIMAGELIST images, int index);
    // Shows the glyph alone; the text still serves as mnemonic and name.
    void SetGlyphOnly(bool glyphOnly) { glyphOnly_ = glyphOnly; }
    bool Hot() const { return hover_.Hot(); }

    bool HandleDrawItem(const DRAWITEMSTRUCT& item) override;
    int NeededWidth() const override;  // the glyph and the caption within the frame

private:
    HoverTracker hover_;
    HBITMAP GlyphBitmap(int size, bool disabled, COLORREF face);

    HIMAGELIST images_ = nullptr;
    int glyph_ = -1;
    bool glyphOnly_ = false;
    win::UniqueGdiObject glyphBitmaps_[2];  // normal and disabled, at glyphBitmapSize_
    int glyphBitmapSize_ = 0;
    COLORREF glyphBitmapFace_ = CLR_INVALID;
};

// Radio buttons and check boxes that light up in the palette's colours:
// their text when checked, their background while the mouse is over them.
template <typename Base>
class HotTracked : public Base {
public:
    using Base::Base;
    COLORREF TextColor() const override {
        const Palette& colours = CurrentPalette();
        if (hover_.Hot() && colours.hotBackgroundCaption != CLR_INVALID) return colours.hotBackgroundCaption;
        return this->Checked() ? colours.checkedCaption : CLR_INVALID;
    }
    HBRUSH BackgroundBrush() const override {
        if (!hover_.Hot()) return nullptr;
        const COLORREF colour = CurrentPalette().hotBackground;
        if (!hotBrush_ || hotColour_ != colour) {
            hotBrush_.reset(CreateSolidBrush(colour));
            hotColour_ = colour;
        }
        return static_cast<HBRUSH>(hotBrush_.get());
    }
    bool Hot() const { return hover_.Hot(); }

protected:
    void TrackHover() {
        const HWND window = this->Handle();
        hover_.Attach(window, [window] { InvalidateRect(window, nullptr, TRUE); }, this);
    }

private:
    HoverTracker hover_;
    mutable win::UniqueGdiObject hotBrush_;
    mutable COLORREF hotColour_ = CLR_INVALID;
};

class FlatRadioButton : public HotTracked<RadioButton> {
public:
    using HotTracked<RadioButton>::HotTracked;
    void Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors = kAnchorsDefault,
                bool startsGroup = false) {
        RadioButton::Create(form, text, bounds, anchors, startsGroup);
        TrackHover();
    }
};

class FlatCheckBox : public HotTracked<CheckBox> {
public:
    using HotTracked<CheckBox>::HotTracked;
    void Create(Form& form, const std::string& text, Bounds bounds, Anchors anchors = kAnchorsDefault) {
        CheckBox::Create(form, text, bounds, anchors);
        TrackHover();
    }
};

}  // namespace quenmar::widgets
