#include "app/ShellOpenLauncher.h"

#include <shellapi.h>

#include <algorithm>

#include "app/AppTexts.h"
#include "app/ExecuteResultMessages.h"
#include "places/AsciiCase.h"
#include "places/PathText.h"
#include "widgets/MessageBoxes.h"
#include "widgets/Resources.h"
#include "win32/Handles.h"
#include "win32/WideText.h"

namespace quenmar {

int32_t ExecuteFile(const std::string& fileName, const std::string& parameters, const std::string& directory,
                    int32_t showCommand) {
    const std::wstring file = win::Wide(fileName);
    if (file.size() >= kMaxExecuteNameLength) {
        widgets::ShowMessage(GetActiveWindow(), TextOf(IDS_PATH_TOO_LONG),
                             TextOf(IDS_INFORMATION), MB_ICONINFORMATION);
        return 2;
    }
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"Open", file.c_str(),
                                                                win::Wide(parameters).c_str(),
                                                                win::Wide(directory).c_str(), showCommand));
    return static_cast<int32_t>(result);
}

void ReportExecuteResult(uint32_t resultCode, HWND parentWindow) {
    if (resultCode > 32) return;
    widgets::ShowMessage(parentWindow, ExecuteErrorText(resultCode), TextOf(IDS_ERROR), MB_ICONWARNING);
}

std::string TargetExtension(const std::string& target) {
    const size_t dot = target.find_last_of('.');
    const size_t separator = target.find_last_of("\\:");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return {};
    return target.substr(dot);
}

bool OpenLink(const std::string& target) {
    if (TrimControlsAndBlanks(target).empty()) return false;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
    const std::wstring file = win::Wide(target);
    info.lpVerb = L"Open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info)) {
        const win::UniqueHandle started(info.hProcess);  // not waited for
        return true;
    }
    // A page with no program for it: the shell asks the user for one.
    if (SameIgnoringAsciiCase(TargetExtension(target), ".htm")) {
        WinExec("RunDLL32.exe Shell32.dll,OpenAs_RunDLL *.htm", SW_SHOWNORMAL);
    }
    return false;
}

bool StartProgramAsAdministrator(const std::string& arguments) {
    wchar_t program[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::wstring parameters = win::Wide(arguments);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"runas";
    info.lpFile = program;
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

void OpenDocument(const std::string& fileName, HWND parentWindow) {
    ReportExecuteResult(static_cast<uint32_t>(ExecuteFile(fileName, "", "", SW_SHOWNOACTIVATE)), parentWindow);
}

}  // namespace quenmar
