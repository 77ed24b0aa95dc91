#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "win32/WideText.h"

namespace quenmar::widgets {

// A text of the program's string table; empty when there is none.
inline std::string LoadText(UINT id) {
    wchar_t text[512] = {};
    LoadStringW(GetModuleHandleW(nullptr), id, text, static_cast<int>(std::size(text)));
    return win::Utf8(text);
}

// The scale, in percent, of the pictures drawn for a DPI: the smallest of
// those drawn (100, 125, 150, 200) that is not smaller than the DPI's own,
// else the largest.
int PictureScale(int dpi);

// A picture of the program's resources as drawn for a DPI: NAME at 100
// percent, NAME_125 and so on.
HBITMAP LoadPicture(const wchar_t* name, int dpi);

// A strip of 16-pixel glyphs, magenta for clear, as drawn for a DPI.
HIMAGELIST LoadGlyphs(const wchar_t* name, int dpi);

}  // namespace quenmar::widgets
