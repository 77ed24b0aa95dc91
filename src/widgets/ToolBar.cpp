#include "widgets/ToolBar.h"

#include "widgets/Form.h"
#include "win32/WideText.h"

namespace quenmar::widgets {

void ToolBar::Create(Form& form, RECT bounds, int id) {
    hwnd_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                            WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN |
                                CCS_NORESIZE | CCS_NODIVIDER,
                            bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                            form.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                            nullptr);
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

bool ToolButton::Enabled() const { return SendMessageW(toolbar_, TB_ISBUTTONENABLED, command_, 0) != 0; }
void ToolButton::SetEnabled(bool enabled) { SendMessageW(toolbar_, TB_ENABLEBUTTON, command_, MAKELONG(enabled, 0)); }
bool ToolButton::Visible() const { return SendMessageW(toolbar_, TB_ISBUTTONHIDDEN, command_, 0) == 0; }
void ToolButton::SetVisible(bool visible) { SendMessageW(toolbar_, TB_HIDEBUTTON, command_, MAKELONG(!visible, 0)); }

std::string ToolButton::Caption() const {
    wchar_t text[128] = {};
    SendMessageW(toolbar_, TB_GETBUTTONTEXTW, command_, reinterpret_cast<LPARAM>(text));
    return win::Utf8(text);
}

void ToolButton::SetCaption(const std::string& caption) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    std::wstring text = win::Wide(caption);
    info.pszText = text.data();
    SendMessageW(toolbar_, TB_SETBUTTONINFOW, command_, reinterpret_cast<LPARAM>(&info));
}

RECT ToolButton::Rect() const {
    RECT r{};
    SendMessageW(toolbar_, TB_GETRECT, command_, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(toolbar_, GetParent(toolbar_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace quenmar::widgets
