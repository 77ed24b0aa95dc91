#include "win32/Win32ShellLookups.h"

#include <shellapi.h>
#include <shlobj.h>

#include "places/PathText.h"
#include "win32/Handles.h"

namespace quenmar::win {

namespace {

UINT SizeFlag(IconSize size) { return size == IconSize::Small ? SHGFI_SMALLICON : SHGFI_LARGEICON; }

}  // namespace

int Win32ShellLookups::Adopt(IconSize size, DWORD_PTR result, int icon) {
    const auto list = reinterpret_cast<HIMAGELIST>(result);
    if (!list) return kNoIcon;
    HIMAGELIST& current = imageLists_[static_cast<int>(size)];
    if (list != current) {
        current = list;
        if (imageListChanged_) imageListChanged_(size, list);
    }
    return icon;
}

int Win32ShellLookups::PathIconIndex(IconSize size, const std::string& path) {
    std::string query;
    int& folderIcon = folderIcons_[static_cast<int>(size)];
    if (path.size() < 4) {
        query = AddTrailingBackslash(path);
    } else {
        if (folderIcon != kUnknownIcon) return folderIcon;
        char windows[MAX_PATH + 1] = {};
        const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
        query.assign(windows, length < sizeof windows ? length : 0);
    }
    SHFILEINFOA info{};
    const DWORD_PTR result =
        SHGetFileInfoA(query.c_str(), 0, &info, sizeof info, SizeFlag(size) | SHGFI_SYSICONINDEX);
    const int icon = Adopt(size, result, info.iIcon);
    if (path.size() >= 4 && icon != kNoIcon) folderIcon = icon;
    return icon;
}

int Win32ShellLookups::SpecialFolderIconIndex(IconSize size, int32_t csidl) {
    const auto key = std::make_pair(static_cast<int>(size), csidl);
    if (const auto known = specialIcons_.find(key); known != specialIcons_.end()) return known->second;
    UniquePidl& pidl = specialItems_[csidl];
    // Where the folder is, not whether it exists: verifying (and so making)
    // folders such as History costs the shell several milliseconds each.
    if (!pidl && FAILED(SHGetFolderLocation(owner_, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, 0, pidl.put()))) {
        pidl.reset();
    }
    int icon = kNoIcon;
    if (pidl) {
        SHFILEINFOA info{};
        const DWORD_PTR result = SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl.get()), 0, &info, sizeof info,
                                                SizeFlag(size) | SHGFI_SYSICONINDEX | SHGFI_PIDL);
        icon = Adopt(size, result, info.iIcon);
    }
    specialIcons_[key] = icon;
    return icon;
}

std::string Win32ShellLookups::DriveDisplayName(const std::string& root) {
    SHFILEINFOA info{};
    SHGetFileInfoA(root.c_str(), 0, &info, sizeof info,
                   SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_DISPLAYNAME | SHGFI_ICON);
    UniqueIcon icon(info.hIcon);  // asked for with the name; not used
    info.szDisplayName[sizeof info.szDisplayName - 1] = '\0';
    return info.szDisplayName;
}

std::string Win32ShellLookups::ExpandEnvironment(const std::string& text) {
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0) return text;
    std::string result(needed, '\0');
    const DWORD written = ExpandEnvironmentStringsA(text.c_str(), result.data(), needed);
    if (written == 0 || written > needed) return text;
    result.resize(written - 1);
    return result;
}

}  // namespace quenmar::win
