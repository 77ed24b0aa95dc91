#include "widgets/StatusBar.h"

#include "widgets/Form.h"
#include "win32/WideText.h"

namespace quenmar::widgets {

void StatusBar::Create(Form& form, int id) {
    hwnd_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, form.Handle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    const int parts[] = {-1};
    SendMessageW(hwnd_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
}

void StatusBar::SetFont(HFONT font) { SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }
HFONT StatusBar::Font() const { return reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)); }

void StatusBar::SetMinHeight(int pixels) {
    SendMessageW(hwnd_, SB_SETMINHEIGHT, pixels - 2 * GetSystemMetrics(SM_CYBORDER), 0);
}

void StatusBar::FollowParent() { SendMessageW(hwnd_, WM_SIZE, 0, 0); }

int StatusBar::Height() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r.bottom - r.top;
}

int StatusBar::Width() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r.right;
}

std::string StatusBar::Text() const {
    const auto length = LOWORD(SendMessageW(hwnd_, SB_GETTEXTLENGTHW, 0, 0));
    std::wstring text(length + 1, L'\0');
    SendMessageW(hwnd_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return win::Utf8(text);
}

void StatusBar::SetText(const std::string& text) {
    const std::wstring wide = win::Wide(text);
    SendMessageW(hwnd_, SB_SETTEXTW, 0 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(wide.c_str()));
}

}  // namespace quenmar::widgets
