#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdint>
#include <string>

namespace quenmar::testing {

// The shell's own system icon of a special folder, asked here directly:
// an oracle apart from the program's lookups. -1 when the system has none.
inline int ShellsOwnSpecialIcon(int32_t csidl, bool small) {
    LPITEMIDLIST folder = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &folder))) return -1;
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(folder), 0, &info, sizeof info,
                   SHGFI_PIDL | SHGFI_SYSICONINDEX | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON));
    CoTaskMemFree(folder);
    return info.iIcon;
}

// The shell's own display name of an item it found, as UTF-8; empty for none.
inline std::string ShellsOwnNameOfItem(LPITEMIDLIST item) {
    if (!item) return {};
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME);
    CoTaskMemFree(item);
    char name[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, info.szDisplayName, -1, name, sizeof name, nullptr, nullptr);
    return name;
}

// The shell's own display name of a special folder, asked here directly as
// the Open dialog asks it; empty when the system has no such folder.
inline std::string ShellsOwnName(int32_t csidl) {
    LPITEMIDLIST folder = nullptr;
    return SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &folder)) ? ShellsOwnNameOfItem(folder) : "";
}

// The shell's own display name of what it parses the text as; empty when it
// parses nothing.
inline std::string ShellsOwnNameOf(const wchar_t* text) {
    LPITEMIDLIST item = nullptr;
    return SUCCEEDED(SHParseDisplayName(text, nullptr, &item, 0, nullptr)) ? ShellsOwnNameOfItem(item) : "";
}

// The threads of this process.
inline int ThreadCount() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{sizeof entry};
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    }
    CloseHandle(snapshot);
    return count;
}

}  // namespace quenmar::testing
