#pragma once

#include <windows.h>

#include "Accessibility.h"
#include "widgets/Form.h"
#include "win32/Handles.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quenmar::testing {

// A small hidden window of this thread whose messages go to `proc` (its
// class registered on first use).
inline win::UniqueWindow TestWindow(const wchar_t* className, WNDPROC proc) {
    WNDCLASSW type{};
    type.lpfnWndProc = proc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = className;
    RegisterClassW(&type);  // fails harmlessly once registered
    return win::UniqueWindow(CreateWindowW(className, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                           GetModuleHandleW(nullptr), nullptr));
}

// What a test saw of a modal box.
struct SeenBox {
    std::string className;
    std::string caption;
    std::string text;
    HICON icon = nullptr;
    std::vector<std::string> buttons;  // captions, in child order
    HWND window = nullptr;
    RECT rect{};  // on the screen, while it was shown
};

// Answers every modal box that this thread opens while it lives: a CBT hook
// notices the box's activation, a thread timer then reads it (so that it is
// fully built) and hands it to the answer, which returns the id of the
// button to press (0 presses nothing; the answer may then act by itself).
class ModalBoxes {
public:
    using Answer = std::function<int(const SeenBox&)>;
    explicit ModalBoxes(Answer answer);
    ~ModalBoxes();
    ModalBoxes(const ModalBoxes&) = delete;
    ModalBoxes& operator=(const ModalBoxes&) = delete;

    std::vector<SeenBox> seen;

    // Presses a button of a box by its caption (with or without '&').
    static int ButtonId(HWND box, const std::string& caption);

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Timer(HWND, UINT, UINT_PTR id, DWORD);
    void Read(HWND box);

    Answer answer_;
    HHOOK hook_ = nullptr;
    std::vector<HWND> pending_;
    UINT_PTR timer_ = 0;
};

// Boxes answered with OK as they open; `seen` says what each showed.
struct AcceptedBoxes : ModalBoxes {
    AcceptedBoxes() : ModalBoxes([](const SeenBox&) { return IDOK; }) {}
};

// Dispatches what is queued for this thread (dialog keys included) until
// nothing is left.
void PumpMessages();

// The form object behind this thread's shown window of that class; null
// when there is none.
template <typename FormClass>
FormClass* ShownForm(const wchar_t* className) {
    const HWND window = FindWindowW(className, nullptr);
    return window ? static_cast<FormClass*>(reinterpret_cast<widgets::Form*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
                  : nullptr;
}

// Moves a window to a monitor of another scale, with the rectangle the
// system suggests: the window's size scaled.
inline void ChangeDpi(HWND window, int from, int to) {
    RECT r{};
    GetWindowRect(window, &r);
    r.right = r.left + MulDiv(r.right - r.left, to, from);
    r.bottom = r.top + MulDiv(r.bottom - r.top, to, from);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&r));
}

// A pixel of a window's client area as it is drawn now.
inline COLORREF ClientPixel(HWND window, int x, int y) {
    UpdateWindow(window);
    return GetPixel(win::WindowDC(window).get(), x, y);
}


// Runs a step from the message loop once it is running, for example inside
// the modal loop of one of our own windows.
void Soon(std::function<void()> step, UINT delayMs = 20);
// Runs a step once `ready` says so, or at the limit; looked at every few
// milliseconds from the message loop.
void SoonWhen(std::function<bool()> ready, std::function<void()> step, DWORD limitMs = 30000);
// Closes from its title bar the first window other than `from` that becomes
// the active one, as soon as it is; a failure when none does within a
// generous limit.
void CloseWhenOpened(HWND from);

}  // namespace quenmar::testing
