#include "win32/Win32ShellLookups.h"

#include <shellapi.h>

#include "win32/WideText.h"

namespace quenmar::win {

HIMAGELIST FolderIconByAttributes(IconSize size, int& icon, bool open) {
    SHFILEINFOW info{};
    const auto list = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | (open ? SHGFI_OPENICON : 0) |
                           (size == IconSize::Small ? SHGFI_SMALLICON : SHGFI_LARGEICON)));
    if (list) icon = info.iIcon;
    return list;
}

void Win32ShellLookups::AdoptImageLists() {
    for (const IconSize size : {IconSize::Small, IconSize::Large}) {
        int icon = 0;
        const HIMAGELIST list = FolderIconByAttributes(size, icon);
        HIMAGELIST& current = imageLists_[static_cast<int>(size)];
        if (!list || list == current) continue;
        current = list;
        if (imageListChanged_) imageListChanged_(size, list);
    }
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
