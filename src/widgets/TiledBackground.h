#pragma once

#include <windows.h>

#include "win32/Handles.h"

namespace quenmar::widgets {

// A background that repeats a small texture image over its whole area,
// starting at its top-left corner. It has no window: its form paints it.
class TiledBackground {
public:
    static constexpr int kMinimumSize = 5;

    TiledBackground() = default;
    TiledBackground(const TiledBackground&) = delete;
    TiledBackground& operator=(const TiledBackground&) = delete;

    // An empty bitmap leaves the plain background.
    void SetTexture(win::UniqueGdiObject texture);

    void SetBounds(int left, int top, int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Draws onto a device context; a size under 5 pixels grows to 5 first.
    void Paint(HDC dc);

private:
    win::UniqueGdiObject texture_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

}  // namespace quenmar::widgets
