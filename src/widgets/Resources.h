#pragma once

#include <windows.h>

#include <string>

#include "win32/WideText.h"

namespace quenmar::widgets {

// A text of the program's string table; empty when there is none.
inline std::string LoadText(UINT id) {
    wchar_t text[512] = {};
    LoadStringW(GetModuleHandleW(nullptr), id, text, static_cast<int>(std::size(text)));
    return win::Utf8(text);
}

}  // namespace quenmar::widgets
