#include "win32/Win32ShellLookups.h"

#include <shellapi.h>
#include <shlobj.h>

#include "places/PathText.h"
#include "win32/Handles.h"
#include "win32/WideText.h"

namespace quenmar::win {

namespace {

// A drive's root ("C:", "C:\\"): shorter than any folder's path.
bool IsDrive(const std::string& path) { return path.size() < 4; }
// Any folder's path: every folder shows the folder icon.
constexpr const char* kAnyFolder = "C:\\Windows";

UINT SizeFlag(IconSize size) { return size == IconSize::Small ? SHGFI_SMALLICON : SHGFI_LARGEICON; }

// Where the folder is, not whether it exists: verifying (and so making)
// folders such as History costs the shell several milliseconds each.
UniquePidl SpecialFolderItem(HWND owner, int32_t csidl) {
    UniquePidl item;
    if (FAILED(SHGetFolderLocation(owner, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, 0, item.put()))) item.reset();
    return item;
}

// The item's icon index and the system image list it is in.
int ItemIcon(const UniquePidl& item, IconSize size, DWORD_PTR& list) {
    SHFILEINFOW info{};
    list = SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item.get()), 0, &info, sizeof info,
                          SizeFlag(size) | SHGFI_SYSICONINDEX | SHGFI_PIDL);
    return list ? info.iIcon : kNoIcon;
}

// The icon of a path asked for by IconQuery, and the system image list it is in.
int QueryIcon(const std::string& query, IconSize size, DWORD_PTR& list) {
    SHFILEINFOW info{};
    list = SHGetFileInfoW(Wide(query).c_str(), 0, &info, sizeof info, SizeFlag(size) | SHGFI_SYSICONINDEX);
    return list ? info.iIcon : kNoIcon;
}

}  // namespace

Win32ShellLookups::~Win32ShellLookups() { worker_.Join(); }

std::string Win32ShellLookups::IconQuery(const std::string& path) {
    if (IsDrive(path)) return AddTrailingBackslash(path);
    wchar_t windows[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(windows, std::size(windows));
    return Utf8(std::wstring_view(windows, length < std::size(windows) ? length : 0));
}

void Win32ShellLookups::Prefetch(std::vector<int32_t> csidls, const std::vector<std::string>& paths,
                                 std::function<void()> finished) {
    CollectPrefetched();
    prefetched_.clear();
    prefetchedPaths_.clear();
    for (const int32_t csidl : csidls) {
        if (specialItems_.count(csidl) == 0) prefetched_.push_back({csidl});
    }
    // Every folder shows the folders' one icon; each drive its own.
    if (folderIcons_[0] == kUnknownIcon) prefetchedPaths_.push_back({IconQuery(kAnyFolder)});
    for (const std::string& path : paths) {
        if (IsDrive(path)) prefetchedPaths_.push_back({IconQuery(path)});
    }
    if (prefetched_.empty() && prefetchedPaths_.empty()) {
        if (finished) finished();
        return;
    }
    const bool started = worker_.Start([this] {
        // The system image lists of the two sizes hold the same icons at the
        // same indexes: once the large list is known, each folder is asked
        // for its small icon only.
        HIMAGELIST large = nullptr;
        for (Prefetched& found : prefetched_) {
            found.item = SpecialFolderItem(nullptr, found.csidl);
            if (!found.item) continue;
            DWORD_PTR list = 0;
            const int icon = ItemIcon(found.item, IconSize::Small, list);
            found.icons[static_cast<int>(IconSize::Small)] = icon;
            found.lists[static_cast<int>(IconSize::Small)] = reinterpret_cast<HIMAGELIST>(list);
            if (!large) {
                found.icons[static_cast<int>(IconSize::Large)] = ItemIcon(found.item, IconSize::Large, list);
                large = reinterpret_cast<HIMAGELIST>(list);
            } else {
                found.icons[static_cast<int>(IconSize::Large)] = icon;
            }
            found.lists[static_cast<int>(IconSize::Large)] = large;
        }
        for (PrefetchedPath& found : prefetchedPaths_) {
            for (const IconSize size : {IconSize::Small, IconSize::Large}) {
                DWORD_PTR list = 0;
                found.icons[static_cast<int>(size)] = QueryIcon(found.query, size, list);
                found.lists[static_cast<int>(size)] = reinterpret_cast<HIMAGELIST>(list);
            }
        }
    }, finished);
    if (!started) {
        // No thread to spare: each lookup is made when asked for.
        prefetched_.clear();
        prefetchedPaths_.clear();
        if (finished) finished();
    }
}

void Win32ShellLookups::CollectPrefetched() {
    if (!worker_.Started()) return;
    worker_.Wait();
    for (Prefetched& found : prefetched_) {
        if (!found.item) continue;  // asked for again when needed
        for (const IconSize size : {IconSize::Small, IconSize::Large}) {
            const int n = static_cast<int>(size);
            const int icon = Adopt(size, reinterpret_cast<DWORD_PTR>(found.lists[n]), found.icons[n]);
            if (icon != kNoIcon) specialIcons_[std::make_pair(n, found.csidl)] = icon;
        }
        specialItems_[found.csidl] = std::move(found.item);
    }
    const std::string folders = IconQuery(kAnyFolder);
    for (const PrefetchedPath& found : prefetchedPaths_) {
        for (const IconSize size : {IconSize::Small, IconSize::Large}) {
            const int n = static_cast<int>(size);
            const int icon = Adopt(size, reinterpret_cast<DWORD_PTR>(found.lists[n]), found.icons[n]);
            if (icon == kNoIcon) continue;  // asked for again when needed
            (found.query == folders ? folderIcons_[n] : driveIcons_[{n, found.query}]) = icon;
        }
    }
    prefetched_.clear();
    prefetchedPaths_.clear();
}

void Win32ShellLookups::ReleaseIcons() {
    iconsHeld_ = false;
    CollectPrefetched();
}

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
    if (RefusingIcons()) return kNoIcon;
    CollectPrefetched();
    int& folderIcon = folderIcons_[static_cast<int>(size)];
    if (!IsDrive(path) && folderIcon != kUnknownIcon) return folderIcon;
    const std::string query = IconQuery(path);
    if (IsDrive(path)) {
        const auto known = driveIcons_.find({static_cast<int>(size), query});
        if (known != driveIcons_.end()) return known->second;
    }
    DWORD_PTR result = 0;
    const int found = QueryIcon(query, size, result);
    const int icon = Adopt(size, result, found);
    if (icon != kNoIcon) (IsDrive(path) ? driveIcons_[{static_cast<int>(size), query}] : folderIcon) = icon;
    return icon;
}

int Win32ShellLookups::SpecialFolderIconIndex(IconSize size, int32_t csidl) {
    if (RefusingIcons()) return kNoIcon;
    CollectPrefetched();
    const auto key = std::make_pair(static_cast<int>(size), csidl);
    if (const auto known = specialIcons_.find(key); known != specialIcons_.end()) return known->second;
    UniquePidl& pidl = specialItems_[csidl];
    if (!pidl) pidl = SpecialFolderItem(owner_, csidl);
    int icon = kNoIcon;
    if (pidl) {
        DWORD_PTR list = 0;
        icon = ItemIcon(pidl, size, list);
        icon = Adopt(size, list, icon);
    }
    specialIcons_[key] = icon;
    return icon;
}

std::string Win32ShellLookups::DriveDisplayName(const std::string& root) {
    if (const auto known = driveNames_.find(root); known != driveNames_.end()) return known->second;
    // The name alone: asking for icons as well would make the shell load the
    // drive's icon into the system image list each time.
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(Wide(root).c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME)) return "";
    info.szDisplayName[std::size(info.szDisplayName) - 1] = L'\0';
    return driveNames_[root] = Utf8(info.szDisplayName);
}

void Win32ShellLookups::ForgetDrives() {
    driveIcons_.clear();
    driveNames_.clear();
}

std::string Win32ShellLookups::ExpandEnvironment(const std::string& text) {
    const std::wstring wide = Wide(text);
    const DWORD needed = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (needed == 0) return text;
    std::wstring result(needed, L'\0');
    const DWORD written = ExpandEnvironmentStringsW(wide.c_str(), result.data(), needed);
    if (written == 0 || written > needed) return text;
    result.resize(written - 1);
    return Utf8(result);
}

}  // namespace quenmar::win
