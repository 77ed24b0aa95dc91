#pragma once

#include <windows.h>

#include <string>

namespace quenmar::win {

// Puts text on the clipboard, as Unicode text, for its owner window; whether
// it is there.
bool CopyTextToClipboard(HWND owner, const std::string& text);

}  // namespace quenmar::win
