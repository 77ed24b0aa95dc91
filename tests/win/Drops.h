#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace quenmar::testing {

// A drop as the shell makes it: a DROPFILES block with double-NUL
// terminated wide names, in moveable global memory.
inline HGLOBAL MakeDrop(const std::vector<std::wstring>& names) {
    size_t chars = 1;
    for (const auto& name : names) chars += name.size() + 1;
    if (names.empty()) chars = 2;
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(header) + sizeof(DROPFILES));
    for (const auto& name : names) {
        std::memcpy(text, name.c_str(), name.size() * sizeof(wchar_t));
        text += name.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

inline std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

inline void SendDrop(HWND window, const std::vector<std::wstring>& names, bool* released = nullptr) {
    const HGLOBAL drop = MakeDrop(names);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    if (released) *released = GlobalSize(drop) == 0;
}

}  // namespace quenmar::testing
