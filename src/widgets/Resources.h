#pragma once

#include <windows.h>

#include <string>

namespace quenmar::widgets {

// A text of the program's string table; empty when there is none.
inline std::string LoadText(UINT id) {
    char text[512] = {};
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

}  // namespace quenmar::widgets
