#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <commctrl.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

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

// The system's large icons, as the shell gives them here.
inline HIMAGELIST ShellsOwnLargeIcons() {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
}

// How an image of a list looks beside one of the shell's large icons, both
// drawn on white at the shell's icon size: the same; the same but for the
// lower left quarter (where a warning sign marks a place left out); other.
enum class IconLooks { Same, Marked, Other };
inline IconLooks LooksBeside(HIMAGELIST list, int image, int shellIcon) {
    int width = 0, height = 0;
    ImageList_GetIconSize(ShellsOwnLargeIcons(), &width, &height);
    const auto pixels = [&](HIMAGELIST from, int index) {
        BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        void* bits = nullptr;
        const HDC dc = CreateCompatibleDC(nullptr);
        const HBITMAP picture = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ old = SelectObject(dc, picture);
        PatBlt(dc, 0, 0, width, height, WHITENESS);
        ImageList_DrawEx(from, index, dc, 0, 0, width, height, CLR_NONE, CLR_NONE, ILD_NORMAL);
        GdiFlush();
        std::vector<DWORD> drawn(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
        SelectObject(dc, old);
        DeleteObject(picture);
        DeleteDC(dc);
        return drawn;
    };
    // The shell's icons never change in a process: each is drawn once.
    static std::map<int, std::vector<DWORD>> shellsDrawn;
    if (!shellsDrawn.count(shellIcon)) shellsDrawn[shellIcon] = pixels(ShellsOwnLargeIcons(), shellIcon);
    const std::vector<DWORD> shown = pixels(list, image), &shells = shellsDrawn[shellIcon];
    // A channel may round by a step when a picture is drawn again.
    const auto alike = [](DWORD a, DWORD b) {
        for (int shift = 0; shift < 24; shift += 8) {
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 2) return false;
        }
        return true;
    };
    int outside = 0, inside = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (alike(shown[y * width + x], shells[y * width + x])) continue;
            ++(x < width / 2 && y >= height - height / 2 ? inside : outside);
        }
    }
    return outside ? IconLooks::Other : inside ? IconLooks::Marked : IconLooks::Same;
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
