#include "widgets/MessageBoxes.h"

#include <commctrl.h>

#include "win32/Handles.h"
#include "win32/WideText.h"
#include "win32/WindowSubclass.h"

namespace quenmar::widgets {

namespace {

// The question box has no Cancel button, so Windows ignores Esc in it; its
// dialog procedure is hooked to take Esc and the close box as No.
LRESULT EscapeAnswersNo(void*, HWND box, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC next) {
    if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) ||
        (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)) {
        EndDialog(box, IDNO);
        return 0;
    }
    return CallWindowProcW(next, box, message, wParam, lParam);
}

thread_local win::UniqueHook questionHook;

LRESULT CALLBACK CenterQuestion(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && wParam) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t className[16] = {};
        GetClassNameW(box, className, static_cast<int>(std::size(className)));
        if (std::wstring_view(className) == L"#32770") {
            RECT r{};
            GetWindowRect(box, &r);
            const int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
            const int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
            SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            win::WindowSubclass::Install(box, EscapeAnswersNo, nullptr);
            questionHook.reset();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Texts that read from right to left read so in a box too.
UINT ReadingOrder() {
    DWORD layout = 0;
    return GetProcessDefaultLayout(&layout) && (layout & LAYOUT_RTL) ? MB_RTLREADING : 0;
}

}  // namespace

bool AskYesNo(HWND owner, const std::string& text, const std::string& caption, UINT icon) {
    questionHook.reset(SetWindowsHookExW(WH_CBT, CenterQuestion, nullptr, GetCurrentThreadId()));
    const UINT defaultButton = icon == MB_ICONWARNING ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    const int answer = MessageBoxW(owner, win::Wide(text).c_str(), win::Wide(caption).c_str(),
                                   MB_YESNO | icon | defaultButton | ReadingOrder());
    questionHook.reset();
    return answer == IDYES;
}

void ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT icon) {
    MessageBoxW(owner, win::Wide(text).c_str(), win::Wide(caption).c_str(), MB_OK | icon | ReadingOrder());
}

}  // namespace quenmar::widgets
