#include "widgets/Control.h"

#include <stdexcept>

#include "widgets/Form.h"
#include "widgets/Resources.h"
#include "win32/WideText.h"
#include "win32/WindowSubclass.h"

namespace quenmar::widgets {

namespace {

// A hidden label that names the control made after it.
HWND MakeNameLabel(HWND parent, const std::string& name) {
    return CreateWindowExW(0, L"STATIC", win::Wide(name).c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

void Control::SetAccessibleDescription(const std::string& text, std::optional<int> item) {
    descriptions_.Set(item ? *item + 1 : CHILDID_SELF, win::Wide(text));
    // Answered by the control's procedure: its own handler, or this one.
    if (!answersDescriptions_) answersDescriptions_ = win::WindowSubclass::Install(hwnd_, DescriptionsProc, this);
}

LRESULT Control::DescriptionsProc(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                  WNDPROC next) {
    LRESULT result = 0;
    if (message == WM_GETOBJECT && static_cast<Control*>(context)->AnswerGetObject(wParam, lParam, result)) {
        return result;
    }
    if (message == WM_NCDESTROY) win::WindowSubclass::Remove(window);
    return CallWindowProcW(next, window, message, wParam, lParam);
}

bool Control::AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result) const {
    return descriptions_.Answer(hwnd_, wParam, lParam, result);
}

void Control::KeepOrientation() {
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
    if (style & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) {
        SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, style & ~(WS_EX_LAYOUTRTL | WS_EX_RTLREADING));
    }
}

bool Control::InMirroredWindow() const {
    const HWND parent = hwnd_ ? GetParent(hwnd_) : nullptr;
    return parent && (GetWindowLongPtrW(parent, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
}

void Control::CreateAs(Form& form, const wchar_t* className, const std::string& text, DWORD style, DWORD exStyle,
                       Bounds bounds, Anchors anchors) {
    form_ = &form;
    anchors_ = anchors;
    bounds96_ = bounds;
    id_ = form.RegisterControl(this);
    if (flatFrame_ && (exStyle & WS_EX_CLIENTEDGE)) {
        exStyle &= ~WS_EX_CLIENTEDGE;
        style |= WS_BORDER;
    }
    // The naming label first: a new window goes after its siblings, so the
    // label is the control's predecessor without being moved there.
    if (!accessibleName_.empty()) MakeNameLabel(form.Handle(), accessibleName_);
    const std::string& shownText = accessibleNameAsText_ ? accessibleName_ : text;
    // In a mirrored window a text reads from right to left, its trailing
    // full stop or colon at its left end.
    if (GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) exStyle |= WS_EX_RTLREADING;
    hwnd_ = CreateWindowExW(exStyle, className, win::Wide(shownText).c_str(), WS_CHILD | WS_VISIBLE | style, form.Scale(bounds.left),
                            form.Scale(bounds.top), form.Scale(bounds.width), form.Scale(bounds.height),
                            form.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                            GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) throw std::runtime_error(TextOf(IDS_CONTROL_NOT_CREATED, {win::Utf8(className)}));
    SetFont(form.Font());
    if (!hint_.empty()) form.AddTooltip(*this);
}

void Control::SetEnabled(bool enabled) {
    // Enabling a window is a round trip to the window manager and a repaint,
    // even when nothing changes.
    if (!hwnd_ || (IsWindowEnabled(hwnd_) != FALSE) == enabled) return;
    // The dialog manager's rule: a control that loses the focus by being
    // disabled hands it on to the next one in the tab order that can take it.
    if (!enabled && GetFocus() == hwnd_ && form_) {
        const HWND next = GetNextDlgTabItem(form_->Handle(), hwnd_, FALSE);
        if (next && next != hwnd_) SetFocus(next);
    }
    EnableWindow(hwnd_, enabled);
}

void Control::SetVisible(bool visible) {
    if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

std::string Control::Text() const { return win::WindowText(hwnd_); }

void Control::SetFont(HFONT font) {
    // Redrawn only when on screen: a window not shown yet is drawn whole when
    // it is, and asking for a redraw is a round trip to the window server.
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), IsWindowVisible(hwnd_));
}

RECT Control::Rect() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Control::Move(const RECT& rect) {
    // Moving a window where it is still costs a round trip to the window
    // manager.
    const RECT now = Rect();
    if (EqualRect(&now, &rect)) return;
    SetWindowPos(hwnd_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Control::CaptionExtent() const { return TextExtent(Text(), 0); }

namespace {

// Where texts are measured: on the screen's terms, without a window's device
// context, which each measurement would fetch and give back.
HDC MeasuringDc() {
    static thread_local const win::UniqueMemoryDc measuring(CreateCompatibleDC(nullptr));
    return measuring.get();
}

}  // namespace

SIZE MeasureIn(HDC dc, const std::wstring& text, UINT format, int width) {
    RECT measured{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &measured, DT_CALCRECT | format);
    return {measured.right - measured.left, measured.bottom - measured.top};
}

SIZE Measure(HWND control, const std::string& text, UINT format, int width) {
    const win::SelectedObject font(MeasuringDc(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    return MeasureIn(MeasuringDc(), win::Wide(text), format, width);
}

std::vector<int> Control::TextWidths(const std::vector<std::string>& texts) const {
    const win::SelectedObject font(MeasuringDc(), reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    std::vector<int> widths;
    widths.reserve(texts.size());
    for (const std::string& text : texts) {
        widths.push_back(MeasureIn(MeasuringDc(), win::Wide(text), DT_SINGLELINE | DT_NOPREFIX).cx);
    }
    return widths;
}

int Control::CaptionWidthWith(int pixels96) const {
    return CaptionExtent().cx + (form_ ? form_->Scale(pixels96) : pixels96);
}

SIZE Control::TextExtent(const std::string& text, UINT format) const {
    return Measure(hwnd_, text, DT_SINGLELINE | format, 0);
}

SIZE Control::WrappedExtent(const std::string& text, int width) const {
    return Measure(hwnd_, text, DT_WORDBREAK | DT_NOPREFIX, width);
}

void Control::SetAccessibleName(const std::string& name, bool asText) {
    if (!hwnd_) {
        accessibleName_ = name;
        accessibleNameAsText_ = asText;
        return;
    }
    const HWND label = MakeNameLabel(GetParent(hwnd_), name);
    const HWND before = GetWindow(hwnd_, GW_HWNDPREV);
    SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (asText) SetWindowTextW(hwnd_, win::Wide(name).c_str());
}

namespace {

LRESULT FocusFrame(void*, HWND window, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC next) {
    const LRESULT result = CallWindowProcW(next, window, message, wParam, lParam);
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) InvalidateRect(window, nullptr, TRUE);
    if (message == WM_PAINT && GetFocus() == window) {
        RECT r{};
        GetClientRect(window, &r);
        const win::WindowDC dc(window);
        DrawFocusRect(dc.get(), &r);
    }
    return result;
}

}  // namespace

void Control::MakeTabStop() {
    SetWindowLongW(hwnd_, GWL_STYLE, GetWindowLongW(hwnd_, GWL_STYLE) | WS_TABSTOP);
    win::WindowSubclass::Install(hwnd_, FocusFrame, nullptr);
}

void Control::SetHint(std::string hint) {
    hint_ = std::move(hint);
    if (hwnd_ && form_) form_->AddTooltip(*this);
}

void MakeFlatFrame(Control& control) {
    control.SetFlatFrame();
    const HWND window = control.Handle();
    if (!window) return;
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
    SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_BORDER);
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace quenmar::widgets
