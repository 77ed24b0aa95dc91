#include "folderpicker/FolderFacts.h"

#include <shellapi.h>

#include <cwchar>

#include "win32/Handles.h"
#include "win32/Win32ShellLookups.h"

namespace quenmar {

bool PlainFileSystemFolder(const std::wstring& path) {
    if (path.size() <= 3) return false;  // drive roots have icons of their own
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT));
}

std::pair<int, int> PlainFolderIcons() {
    static const std::pair<int, int> icons = [] {
        int closed = 0, open = 0;
        win::FolderIconByAttributes(IconSize::Small, closed);
        win::FolderIconByAttributes(IconSize::Small, open, true);
        return std::make_pair(closed, open);
    }();
    return icons;
}

bool HasSubfolder(const std::wstring& path, bool hidden, bool files) {
    WIN32_FIND_DATAW found{};
    const win::UniqueFind search(FindFirstFileExW((path + L"\\*").c_str(), FindExInfoBasic, &found,
                                           files ? FindExSearchNameMatch : FindExSearchLimitToDirectories, nullptr, 0));
    if (!search) return false;
    bool result = false;
    do {
        const bool dots = wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0;
        const bool folder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        const bool shown = hidden || !(found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
        if (!dots && shown && (folder || files)) result = true;
    } while (!result && FindNextFileW(search.get(), &found));
    return result;
}

DiskFact ReadDiskFact(const std::wstring& path, bool hidden, bool files, bool withChildren) {
    DiskFact fact;
    fact.plain = PlainFileSystemFolder(path);
    if (fact.plain && withChildren) {
        fact.subfolders = HasSubfolder(path, hidden, files) ? Subfolders::Some : Subfolders::None;
    }
    return fact;
}

}  // namespace quenmar
