#include "widgets/Bars.h"

#include "widgets/Form.h"
#include "win32/WideText.h"

namespace quenmar::widgets {

// StatusBar --------------------------------------------------------------------

void StatusBar::Create(Form& form) {
    hwnd_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                            form.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
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

// ToolBar ----------------------------------------------------------------------

void ToolBar::Create(Form& form, RECT bounds) {
    hwnd_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                            WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN |
                                CCS_NORESIZE | CCS_NODIVIDER,
                            bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                            form.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
}

void ToolBar::AddButton(int command, int image, const std::wstring& text) {
    TBBUTTON button{image < 0 ? I_IMAGENONE : image, command, TBSTATE_ENABLED, BTNS_BUTTON | BTNS_SHOWTEXT, {}, 0,
                    reinterpret_cast<INT_PTR>(text.c_str())};
    SendMessageW(hwnd_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
}

void ToolBar::AddGap(int width) {
    TBBUTTON gap{width, 0, 0, BTNS_SEP, {}, 0, 0};
    SendMessageW(hwnd_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&gap));
}

void ToolBar::SetImageLists(HIMAGELIST normal, HIMAGELIST disabled) {
    SendMessageW(hwnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal));
    SendMessageW(hwnd_, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabled));
}

void ToolBar::SetFont(HFONT font) { SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }
HFONT ToolBar::Font() const { return reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)); }

bool ToolBar::Flat() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & TBSTYLE_FLAT) != 0; }

void ToolBar::SetFlat(bool flat) {
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    SetWindowLongW(hwnd_, GWL_STYLE, flat ? (style | TBSTYLE_FLAT) : (style & ~TBSTYLE_FLAT));
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ToolBar::SetButtonSize(int width, int height) {
    SendMessageW(hwnd_, TB_SETBUTTONSIZE, 0, MAKELONG(width, height));
}

void ToolBar::SetButtonWidth(int command, int width) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_SIZE;
    info.cx = static_cast<WORD>(width);
    SendMessageW(hwnd_, TB_SETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&info));
}

void ToolBar::Move(RECT bounds) {
    MoveWindow(hwnd_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
}

HWND ToolBar::Tips() const { return reinterpret_cast<HWND>(SendMessageW(hwnd_, TB_GETTOOLTIPS, 0, 0)); }

}  // namespace quenmar::widgets
