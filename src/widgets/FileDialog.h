#pragma once

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <string>

#include "win32/WideText.h"

namespace quenmar::widgets {

// A common file dialog's record and the texts it points into: its owner,
// filter (names and patterns parted by '|'; the first entry chosen), the
// file name it starts with and its title. Neither copied nor moved: the
// record points into it.
struct FileDialog {
    FileDialog(HWND owner, const std::string& filterText, const std::string& fileNameText, const std::string& titleText)
        : filter(win::Wide(filterText) + L'|'), title(win::Wide(titleText)) {
        std::replace(filter.begin(), filter.end(), L'|', L'\0');
        lstrcpynW(fileName, win::Wide(fileNameText).c_str(), MAX_PATH);
        record.lStructSize = sizeof record;
        record.hwndOwner = owner;
        record.lpstrFilter = filter.c_str();
        record.nFilterIndex = 1;
        record.lpstrFile = fileName;
        record.nMaxFile = MAX_PATH;
        record.lpstrTitle = title.c_str();
    }
    FileDialog(const FileDialog&) = delete;
    FileDialog& operator=(const FileDialog&) = delete;

    std::wstring filter, title;
    wchar_t fileName[MAX_PATH] = {};
    OPENFILENAMEW record{};
};

}  // namespace quenmar::widgets
