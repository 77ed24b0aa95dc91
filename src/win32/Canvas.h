#pragma once

#include <windows.h>

namespace quenmar::win {

// A 32-bit top-down bitmap to draw on off screen. A device-independent
// bitmap rather than one compatible with a window's DC: under some display
// drivers (Wine's X11 driver among them) making and selecting a compatible
// bitmap costs a fraction of a millisecond each, a DIB a few microseconds.
// `bits`, when given, receives the pixels: rows top down, blue, green, red
// and a byte for alpha each.
inline HBITMAP CreateCanvas(HDC reference, int width, int height, void** bits = nullptr) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width > 0 ? width : 1;
    format.bmiHeader.biHeight = -(height > 0 ? height : 1);
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    const HBITMAP canvas = CreateDIBSection(reference, &format, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits) *bits = canvas ? pixels : nullptr;
    return canvas;
}

}  // namespace quenmar::win
