#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "places/Utf16.h"

namespace quenmar::win {

// The program's UTF-8 text as the wide text of the W functions, and back.
// wchar_t is a UTF-16 unit on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline std::wstring Wide(std::string_view text) {
    const std::u16string wide = Utf8ToUtf16(text);
    return std::wstring(wide.begin(), wide.end());
}

inline std::string Utf8(std::wstring_view text) {
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

// A window's or control's text.
std::string WindowText(HWND window);

}  // namespace quenmar::win
