// The program's resources: its texts and its pictures drawn for each scale.
// The resource scripts include this file for its texts' numbers.
#pragma once

#define IDS_UNEXPECTED_ERROR 4001
#define IDS_WINDOW_NOT_CREATED 4002
#define IDS_CONTROL_NOT_CREATED 4003

#ifndef RC_INVOKED

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "win32/Texts.h"

namespace quenmar::widgets {

// The scale, in percent, of the pictures drawn for a DPI: the smallest of
// those drawn (100, 125, 150, 200) that is not smaller than the DPI's own,
// else the largest.
int PictureScale(int dpi);

// A picture of the program's resources as drawn for a DPI: NAME at 100
// percent, NAME_125 and so on.
HBITMAP LoadPicture(const wchar_t* name, int dpi);

// The program's icon at the system's large or small icon size, shared.
HICON ProgramIcon(bool small);

// A strip of 16-pixel glyphs, magenta for clear, as drawn for a DPI.
HIMAGELIST LoadGlyphs(const wchar_t* name, int dpi);

}  // namespace quenmar::widgets

#endif
