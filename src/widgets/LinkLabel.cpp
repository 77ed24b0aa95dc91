#include "widgets/LinkLabel.h"

#include <shellapi.h>

#include <algorithm>

#include "places/PathText.h"
#include "widgets/Form.h"
#include "win32/WideText.h"

namespace quenmar::widgets {

void LinkLabel::Create(Form& form, const std::string& text, Bounds bounds, unsigned anchors) {
    Label::Create(form, text, bounds, anchors, SS_LEFT | SS_NOTIFY | SS_NOPREFIX);
    SetCursor(LoadCursor(nullptr, IDC_HAND));
}

void LinkLabel::HandleCommand(WORD code) {
    if (code == STN_CLICKED) Click();
}

std::string LinkLabel::Extension(const std::string& target) {
    const size_t dot = target.find_last_of('.');
    const size_t separator = target.find_last_of("\\:");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return {};
    return target.substr(dot);
}

void LinkLabel::Click() {
    Fire(OnClick);
    const std::string target = TrimControlsAndBlanks(URL).empty() ? Text() : URL;
    if (TrimControlsAndBlanks(target).empty()) return;

    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
    const std::wstring file = win::Wide(target);
    info.lpVerb = L"Open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info)) {
        if (info.hProcess) CloseHandle(info.hProcess);
        visited_ = true;
        // The label is transparent: its form repaints what lies beneath.
        RECT r = Rect();
        RedrawWindow(GetParent(hwnd_), &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return;
    }
    std::string extension = Extension(target);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c); });
    if (extension == ".HTM") WinExec("RunDLL32.exe Shell32.dll,OpenAs_RunDLL *.htm", SW_SHOWNORMAL);
}

}  // namespace quenmar::widgets
