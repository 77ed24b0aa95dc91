#include "app/ShellOpenLauncher.h"

#include <shellapi.h>

#include "app/ExecuteResultMessages.h"
#include "win32/WideText.h"

namespace quenmar {

int32_t ExecuteFile(const std::string& fileName, const std::string& parameters, const std::string& directory,
                    int32_t showCommand) {
    const std::wstring file = win::Wide(fileName);
    if (file.size() >= kMaxExecuteNameLength) {
        MessageBoxW(GetActiveWindow(),
                    L"The path to the file is too long, please ensure the path is less than 255 characters.",
                    L"Information", MB_OK | MB_ICONINFORMATION);
        return 2;
    }
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"Open", file.c_str(),
                                                                win::Wide(parameters).c_str(),
                                                                win::Wide(directory).c_str(), showCommand));
    return static_cast<int32_t>(result);
}

void ReportExecuteResult(uint32_t resultCode, HWND parentWindow) {
    if (resultCode > 32) return;
    MessageBoxW(parentWindow, win::Wide(ExecuteErrorText(resultCode)).c_str(), L"Error", MB_OK | MB_ICONWARNING);
}

void OpenDocument(const std::string& fileName, HWND parentWindow) {
    ReportExecuteResult(static_cast<uint32_t>(ExecuteFile(fileName, "", "", SW_SHOWNOACTIVATE)), parentWindow);
}

}  // namespace quenmar
