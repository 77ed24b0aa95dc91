#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "widgets/Component.h"
#include "widgets/Control.h"
#include "win32/Handles.h"

namespace quenmar::widgets {

class Button;
class RadioButton;

// What a form looks like before its window exists.
struct FormStyle {
    std::wstring className;
    int clientWidth = 0;   // at 96 dpi
    int clientHeight = 0;  // at 96 dpi
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int backgroundColor = COLOR_WINDOW;
    const wchar_t* fontFace = L"Tahoma";
    int fontHeight = -11;  // at 96 dpi
    HICON icon = nullptr;
    HICON smallIcon = nullptr;  // for the caption; null: the system shrinks icon
    // Labels let what the form paints beneath them show around their letters.
    bool transparentLabels = false;
};

// A top-level window with controls. The window procedure finds its form
// through the window's user data; controls' notifications are reflected to
// them; no exception leaves a handler: the error box shows it.
class Form : public Component {
public:
    explicit Form(FormStyle style);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the (hidden) window; Created builds its controls.
    void CreateHandle(HWND owner = nullptr);
    HWND Handle() const { return hwnd_; }
    HWND OwnWindow() override {
        if (!hwnd_) CreateHandle();
        return hwnd_;
    }

    // Runs Showing, shows the window in its show state and draws it, then
    // runs Shown. An error in either is told, and the window shown all the same.
    void Show();
    void SetShowState(int showCommand) { showCommand_ = showCommand; }
    // Shows the window modally over its owner and returns its modal result.
    int ShowModal();
    void SetModalResult(int result) { modalResult_ = result; }
    int ModalResult() const { return modalResult_; }
    // Asks the form to close, as the close box does.
    void Close();

    void SetCaption(const std::string& caption);
    // Commands added to the window's system menu, after a separator; they
    // come as WM_SYSCOMMAND.
    void AddSystemCommands(const std::vector<std::pair<UINT, std::string>>& commands);
    std::string Caption() const;
    // The window's smallest size, given whole; kept as the client area it
    // leaves, which scales with the DPI where the frame need not.
    void SetMinTrackSize(int width, int height);
    SIZE OuterSize() const;
    // Makes the designed client area wider, for texts longer than the
    // design's: what is anchored right moves or stretches with it (unless
    // the caller has placed the controls for the new width), and the window
    // is sized to it. Pixels of the form's scale.
    void WidenDesign(int pixels, bool placed = false);
    // The designed client area's width at the form's scale (widened included).
    int DesignWidth() const { return designWidth_; }
    // Where a control was designed to be, at the form's scale: where it is
    // when made or moved to a new scale, found without asking the window.
    RECT DesignRect(const Control& control) const;
    void CenterOnScreen();
    void CenterOver(HWND reference);

    int Scale(int pixels96) const { return MulDiv(pixels96, dpi_, 96); }
    int Dpi() const { return dpi_; }
    // A system metric, which the system gives at its own scale, at the form's.
    int ScaledMetric(int index) const;
    HFONT Font() const { return static_cast<HFONT>(font_.get()); }
    // A font of the form's face at a 96-dpi height, kept for the form's life.
    HFONT MakeFont(int height96, bool bold = false, bool underline = false, const wchar_t* face = nullptr);
    // The one way fonts are made: the form's face (or the given one) at a
    // height in the form's pixels (negative for the characters' height, as
    // LOGFONT's). The caller owns it.
    HFONT CreateFontInPixels(int height, bool bold = false, bool underline = false, const wchar_t* face = nullptr) const;

    void SetCancelButton(Button* button) { cancelButton_ = button; }
    void SetDefaultButton(Button* button) { defaultButton_ = button; }

    // Keyboard handling for the form's controls (tab, arrows, mnemonics,
    // Enter and Esc). True when the message was used.
    virtual bool PreTranslate(MSG& msg);

    // For controls.
    int RegisterControl(Control* control);
    // The form's control that is that window; null for any other window.
    Control* ControlOf(HWND window) const;
    // Shows the control's hint while the mouse rests on it.
    void AddTooltip(Control& control);

protected:
    // A font made at a 96-dpi height, for the form's scale. The caller owns it.
    HFONT CreateFontFor(int height96, bool bold, bool underline, const wchar_t* face) const {
        return CreateFontInPixels(Scale(height96), bold, underline, face);
    }
    // A form receives its window's messages here: a derived form overrides
    // it, or the steps below, and leaves the rest to this one. Every message
    // runs under one error guard.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    // The window is being created: the form builds its controls. An error
    // fails the creation.
    virtual void Created() {}
    // About to be shown, and shown and drawn for the first time (see Show).
    virtual void Showing() {}
    virtual void Shown() {}
    // The window moved to a monitor of another scale: the controls are back
    // at their designed places and fonts for it; the form puts in its
    // pictures and what it places or sizes itself.
    virtual void ScaleChanged() {}
    // The system's colours or its high contrast changed: the form makes
    // again what it drew in the old ones (the palette is already new), and
    // is then drawn again whole.
    virtual void ColoursChanged() {}
    // The form became the active window.
    virtual void Activated() {}
    // Asked to close (the close box, Close, Esc on the cancel button):
    // false keeps the window open.
    virtual bool Closing() { return true; }
    // The window is being destroyed, its controls still there.
    virtual void Destroying() {}
    // Paints the form's background; false leaves it to the window class.
    virtual bool PaintBackground(HDC /*dc*/) { return false; }
    // The form's own keys, seen before the dialog keys; true when taken.
    virtual bool HandleKey(const MSG& /*key*/) { return false; }


private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::exception_ptr createError_;  // what made WM_CREATE fail, for CreateHandle to raise
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void ApplyAnchors(int width, int height);
    void HandleCommand(int id, WORD code, bool fromControl);
    LRESULT ColorControl(UINT message, HDC dc, HWND child);
    void FocusOnActivation(bool active);
    void RememberPlacements();
    SIZE FrameSize() const;  // the window's size less its client area's
    void ChangeDpi(int dpi, const RECT& suggested);
    // Mouse messages reach the hints' window from the message loop rather
    // than through a subclass of each control.
    void RelayToTooltip(MSG& msg);
    void RegisterTool(Control& control);
    void RegisterClassOnce();

    struct Placement {
        Control* control;
        RECT rect;  // at creation, in client pixels
    };

    FormStyle style_;
    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    int designWidth_ = 0;
    int designHeight_ = 0;
    int appliedWidth_ = -1;  // the client size the controls were last placed for
    int appliedHeight_ = -1;
    int minClientWidth_ = 0;
    int minClientHeight_ = 0;
    int nextId_ = 100;
    int modalResult_ = 0;
    int showCommand_ = SW_SHOW;
    bool modal_ = false;
    bool changingDpi_ = false;
    win::UniqueGdiObject font_;
    struct FontMade {
        int height96;
        bool bold, underline;
        const wchar_t* face;
        win::UniqueGdiObject font;
    };
    std::vector<FontMade> extraFonts_;
    HWND tooltip_ = nullptr;
    // Where the keyboard goes back to when the form is activated again: the
    // control whose command opened another window, else the focus it had.
    HWND commandSource_ = nullptr;
    HWND focusToRestore_ = nullptr;
    std::vector<Control*> hinted_;
    std::map<int, Control*> controls_;
    std::vector<Placement> placements_;
    Button* cancelButton_ = nullptr;
    Button* defaultButton_ = nullptr;
};

}  // namespace quenmar::widgets
