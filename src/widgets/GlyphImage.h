#pragma once

#include <windows.h>
#include <commctrl.h>

namespace quenmar::widgets {

// One image of an image list as a 32-bit bitmap with premultiplied alpha, at
// any size, for GdiAlphaBlend with AC_SRC_ALPHA. Scaled smoothly, and with
// nothing of the list's mask colour left at the edges (stretching the image
// and its mask apart leaves a fringe of it). The disabled form is greyed and
// washed with `face`, the colour it is shown on. Null when the list has no
// such image.
HBITMAP MakeGlyphBitmap(HIMAGELIST images, int index, int size, bool disabled, COLORREF face);

}  // namespace quenmar::widgets
