#include "widgets/TiledBackground.h"

#include <algorithm>

#include "win32/Canvas.h"
#include "win32/Handles.h"

namespace quenmar::widgets {

void TiledBackground::SetTexture(win::UniqueGdiObject texture) { texture_ = std::move(texture); }

void TiledBackground::SetBounds(int left, int top, int width, int height) {
    left_ = left, top_ = top, width_ = width, height_ = height;
}

void TiledBackground::Paint(HDC dc) {
    width_ = std::max(width_, kMinimumSize);
    height_ = std::max(height_, kMinimumSize);
    if (!texture_) return;
    BITMAP tile{};
    GetObjectW(texture_.get(), sizeof tile, &tile);
    if (tile.bmWidth <= 0 || tile.bmHeight <= 0) return;

    // Off screen: the first tile at the corner, then the covered area copied
    // below itself and beside itself until it covers everything.
    const win::UniqueMemoryDc memoryDc(CreateCompatibleDC(dc));
    const HDC memory = memoryDc.get();
    const win::UniqueGdiObject canvas(win::CreateCanvas(dc, width_, height_));
    {
        const win::SelectedObject onCanvas(memory, canvas.get());
        {
            const win::UniqueMemoryDc tileDc(CreateCompatibleDC(dc));
            const win::SelectedObject onTile(tileDc.get(), texture_.get());
            BitBlt(memory, 0, 0, tile.bmWidth, tile.bmHeight, tileDc.get(), 0, 0, SRCCOPY);
        }
        int coveredWidth = std::min<int>(tile.bmWidth, width_);
        int coveredHeight = std::min<int>(tile.bmHeight, height_);
        while (coveredWidth < width_ || coveredHeight < height_) {
            if (coveredHeight < height_) {
                const int rows = std::min(coveredHeight, height_ - coveredHeight);
                BitBlt(memory, 0, coveredHeight, coveredWidth, rows, memory, 0, 0, SRCCOPY);
                coveredHeight += rows;
            }
            if (coveredWidth < width_) {
                const int columns = std::min(coveredWidth, width_ - coveredWidth);
                BitBlt(memory, coveredWidth, 0, columns, coveredHeight, memory, 0, 0, SRCCOPY);
                coveredWidth += columns;
            }
        }
        BitBlt(dc, left_, top_, width_, height_, memory, 0, 0, SRCCOPY);
    }
}

}  // namespace quenmar::widgets
