#pragma once

#include <windows.h>

#include "win32/Handles.h"

namespace quenmar::win {

// Decodes an image resource (any format the Windows Imaging Component reads,
// GIF among them) into a 32-bit top-down DIB section. Null when the resource
// is missing or cannot be decoded.
UniqueGdiObject LoadImageResource(HINSTANCE instance, const wchar_t* name, const wchar_t* type);

}  // namespace quenmar::win
