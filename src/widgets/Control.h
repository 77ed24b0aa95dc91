#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "widgets/AccessibleDescriptions.h"
#include "widgets/Component.h"

namespace quenmar::widgets {

class Form;

// Edges of the parent that a control keeps its distance to when the parent is
// resized. A control anchored left and right stretches; right only, it moves.
enum class Anchor : unsigned {
    Left = 1,
    Top = 2,
    Right = 4,
    Bottom = 8,
    ByForm = 16,  // placed by its form's own layout: anchoring leaves it alone
};
// A set of anchors, joined with |.
class Anchors {
public:
    constexpr Anchors(Anchor anchor) : bits_(static_cast<unsigned>(anchor)) {}
    constexpr bool Has(Anchor anchor) const { return (bits_ & static_cast<unsigned>(anchor)) != 0; }
    constexpr Anchors operator|(Anchor anchor) const { return Anchors(bits_ | static_cast<unsigned>(anchor)); }

private:
    constexpr explicit Anchors(unsigned bits) : bits_(bits) {}
    unsigned bits_;
};
constexpr Anchors operator|(Anchor a, Anchor b) { return Anchors(a) | b; }
constexpr Anchors kAnchorsDefault = Anchor::Left | Anchor::Top;

// A position at 96 dpi; forms scale it to their DPI.
struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// One child window of a form. The form destroys the windows; a control never
// outlives its form.
class Control : public Component {
public:
    Control() = default;
    // A control with an ID of its own, by which it is found (a test, an
    // accessibility tool); the form numbers the others from 100 on.
    explicit Control(int id) : id_(id) {}
    ~Control() override = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND Handle() const { return hwnd_; }
    int Id() const { return id_; }
    HWND OwnWindow() override { return hwnd_; }

    bool Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
    void SetEnabled(bool enabled);
    bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    bool Focused() const { return hwnd_ && GetFocus() == hwnd_; }
    void SetVisible(bool visible);
    std::string Text() const;
    void SetFont(HFONT font);
    RECT Rect() const;  // in the parent's client coordinates
    void Move(const RECT& rect);  // in the parent's client coordinates
    // The caption as drawn in the control's font: one line, the mnemonic's
    // ampersand taking no room.
    SIZE CaptionExtent() const;
    // A text as drawn on one line in the control's font.
    SIZE TextExtent(const std::string& text, UINT format = DT_NOPREFIX) const;
    // A text as drawn in the control's font, broken into lines at its words
    // within `width`.
    SIZE WrappedExtent(const std::string& text, int width) const;
    // The widths of texts drawn on one line in the control's font, as is.
    std::vector<int> TextWidths(const std::vector<std::string>& texts) const;
    // The width that shows the whole caption with what the control draws
    // beside it (a box, a glyph, margins).
    virtual int NeededWidth() const { return CaptionExtent().cx; }
    // The caption's width and, beside it, what the control draws (96-dpi pixels).
    int CaptionWidthWith(int pixels96) const;
    Bounds DesignBounds() const { return bounds96_; }

    Anchors anchors() const { return anchors_; }
    const std::string& Hint() const { return hint_; }
    void SetHint(std::string hint);
    // What a screen reader calls an input that shows no caption of its own.
    // oleacc names such a control after the label just before it in the
    // z-order: one is put there, hidden, since the form shows its own
    // captions. A control whose text is not its content (a list, a tree)
    // carries the name as its text as well, which is where Wine's oleacc looks.
    // Given before the control is made, the label is made just before it,
    // already in its place.
    void SetAccessibleName(const std::string& name, bool asText);
    // What a screen reader says of the control after its name and value;
    // empty takes it away. For one of a list's items (from 0) when given.
    void SetAccessibleDescription(const std::string& text, std::optional<int> item = std::nullopt);
    // WM_GETOBJECT, for a control whose own procedure sees it first.
    bool AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result) const;
    HCURSOR Cursor() const { return cursor_; }
    // A one-pixel line for a frame instead of the sunken edge, when created.
    void SetFlatFrame() { flatFrame_ = true; }
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
    // In a window mirrored for a language read from right to left, what the
    // control draws itself keeps its own orientation: a picture, a path,
    // a button that arranges its glyph and caption itself. It still stands
    // where the mirrored window puts it.
    void KeepOrientation();
    // Whether the control stands in a mirrored window.
    bool InMirroredWindow() const;

    // Enter or Space on the focused control; false when it has no action of
    // its own for them (the form's dialog keys then apply).
    virtual bool Activate() { return false; }
    // Whether Enter moves the focus on, as Tab does, instead of pressing the
    // form's default button.
    virtual bool EnterMovesOn() const { return false; }
    // A control that shows no focus of its own (a picture, a link) as the
    // last stops of the tab order: a dotted frame marks it while focused.
    void MakeTabStop();

    // Notifications reflected by the form.
    virtual void HandleCommand(WORD /*code*/) {}
    virtual LRESULT HandleNotify(NMHDR* /*header*/) { return 0; }
    virtual bool HandleDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    // WM_CONTEXTMENU: at a point on the screen, or (-1, -1) from the
    // keyboard. Whether the control answered it.
    virtual bool HandleContextMenu(POINT /*screen*/) { return false; }
    // The text colour of a static control; CLR_INVALID for the default.
    virtual COLORREF TextColor() const { return CLR_INVALID; }
    // The background of a static control or button; null for the form's.
    virtual HBRUSH BackgroundBrush() const { return nullptr; }

protected:
    void CreateAs(Form& form, const wchar_t* className, const std::string& text, DWORD style, DWORD exStyle,
                  Bounds bounds, Anchors anchors);

    HWND hwnd_ = nullptr;
    Form* form_ = nullptr;
    int id_ = 0;
    Anchors anchors_ = kAnchorsDefault;
    Bounds bounds96_{};
    std::string hint_;
    std::string accessibleName_;  // to give the control when it is made
    bool accessibleNameAsText_ = false;
    HCURSOR cursor_ = nullptr;
    bool flatFrame_ = false;

private:
    static LRESULT DescriptionsProc(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    WNDPROC next);
    AccessibleDescriptions descriptions_;
    // Whether the control's procedure passes WM_GETOBJECT to AnswerGetObject.
    bool answersDescriptions_ = false;
};

// Gives a list or edit box the flat one-pixel frame of this program in
// place of the sunken 3-D edge. Called before the control is created, it
// is created so; after, its frame is changed.
void MakeFlatFrame(Control& control);

using Event = std::function<void()>;

// The one way text is measured: as DrawText lays it out with the format in
// the device context's font, or a window's, within `width` where it breaks
// lines.
SIZE MeasureIn(HDC dc, const std::wstring& text, UINT format, int width = 0);
SIZE Measure(HWND window, const std::string& text, UINT format, int width = 0);

// Fires an event; an unset event is skipped.
template <typename F, typename... Args>
void Fire(const F& event, Args&&... args) {
    if (event) event(std::forward<Args>(args)...);
}

}  // namespace quenmar::widgets
