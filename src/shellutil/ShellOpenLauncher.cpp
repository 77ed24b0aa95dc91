#include "shellutil/ShellOpenLauncher.h"

#include <shellapi.h>

#include "shellutil/ExecuteResultMessages.h"

namespace quenmar {

int32_t ExecuteFile(const std::string& fileName, const std::string& parameters, const std::string& directory,
                    int32_t showCommand) {
    if (fileName.size() >= kMaxExecuteNameLength) {
        MessageBoxA(GetActiveWindow(),
                    "The path to the file is too long, please ensure the path is less than 255 characters.",
                    "Information", MB_OK | MB_ICONINFORMATION);
        return 2;
    }
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(
        nullptr, "Open", fileName.c_str(), parameters.c_str(), directory.c_str(), showCommand));
    return static_cast<int32_t>(result);
}

void ReportExecuteResult(uint32_t resultCode, HWND parentWindow) {
    if (resultCode > 32) return;
    MessageBoxA(parentWindow, ExecuteErrorText(resultCode).c_str(), "Error", MB_OK | MB_ICONWARNING);
}

void OpenDocument(const std::string& fileName, HWND parentWindow) {
    ReportExecuteResult(static_cast<uint32_t>(ExecuteFile(fileName, "", "", SW_SHOWNOACTIVATE)), parentWindow);
}

}  // namespace quenmar
