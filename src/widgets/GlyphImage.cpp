#include "widgets/GlyphImage.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "win32/Canvas.h"
#include "win32/Handles.h"

namespace quenmar::widgets {

namespace {

// Premultiplied colour with alpha, in floating point while it is worked on.
struct Pixel {
    float b = 0, g = 0, r = 0, a = 0;
};

// The image's own pixels, read twice: once drawn through its mask on black
// (the colour), once as the mask alone on white (black where it is opaque).
std::vector<Pixel> ReadImage(HIMAGELIST images, int index, int width, int height) {
    std::vector<Pixel> pixels;
    const win::UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
    const HDC dc = memory.get();
    if (!dc) return pixels;
    void* colourBits = nullptr;
    void* maskBits = nullptr;
    win::UniqueGdiObject colour(win::CreateCanvas(dc, width, height, &colourBits));
    win::UniqueGdiObject mask(win::CreateCanvas(dc, width, height, &maskBits));
    if (colour && mask) {
        const RECT all{0, 0, width, height};
        {
            const win::SelectedObject onColour(dc, colour.get());
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            ImageList_Draw(images, index, dc, 0, 0, ILD_TRANSPARENT);
        }
        {
            const win::SelectedObject onMask(dc, mask.get());
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            ImageList_Draw(images, index, dc, 0, 0, ILD_MASK);
        }
        GdiFlush();
        const auto* c = static_cast<const BYTE*>(colourBits);
        const auto* m = static_cast<const BYTE*>(maskBits);
        pixels.resize(static_cast<size_t>(width) * height);
        for (size_t n = 0; n < pixels.size(); ++n) {
            const bool opaque = m[n * 4] < 128 && m[n * 4 + 1] < 128 && m[n * 4 + 2] < 128;
            if (opaque) pixels[n] = {float(c[n * 4]), float(c[n * 4 + 1]), float(c[n * 4 + 2]), 255.f};
        }
    }
    return pixels;
}

// Area-weighted resampling: each target pixel takes the source pixels it
// covers in the proportion it covers them. Premultiplied, so transparent
// pixels add no colour.
std::vector<Pixel> Resample(const std::vector<Pixel>& source, int from, int to) {
    if (from == to) return source;
    std::vector<Pixel> result(static_cast<size_t>(to) * to);
    const double scale = double(from) / to;
    for (int ty = 0; ty < to; ++ty) {
        const double y0 = ty * scale, y1 = (ty + 1) * scale;
        for (int tx = 0; tx < to; ++tx) {
            const double x0 = tx * scale, x1 = (tx + 1) * scale;
            Pixel sum;
            double area = 0;
            for (int sy = int(y0); sy < std::min<int>(from, int(std::ceil(y1))); ++sy) {
                const double hy = std::min<double>(y1, sy + 1) - std::max<double>(y0, sy);
                for (int sx = int(x0); sx < std::min<int>(from, int(std::ceil(x1))); ++sx) {
                    const double w = hy * (std::min<double>(x1, sx + 1) - std::max<double>(x0, sx));
                    if (w <= 0) continue;
                    const Pixel& p = source[static_cast<size_t>(sy) * from + sx];
                    sum.b += float(p.b * w), sum.g += float(p.g * w), sum.r += float(p.r * w), sum.a += float(p.a * w);
                    area += w;
                }
            }
            if (area > 0) {
                result[static_cast<size_t>(ty) * to + tx] = {float(sum.b / area), float(sum.g / area),
                                                             float(sum.r / area), float(sum.a / area)};
            }
        }
    }
    return result;
}

BYTE Clamp(float value) { return static_cast<BYTE>(std::clamp(value + 0.5f, 0.f, 255.f)); }

}  // namespace

HBITMAP MakeGlyphBitmap(HIMAGELIST images, int index, int size, bool disabled, COLORREF face) {
    int width = 0, height = 0;
    if (!images || index < 0 || index >= ImageList_GetImageCount(images) || size <= 0 ||
        !ImageList_GetIconSize(images, &width, &height) || width != height) {
        return nullptr;
    }
    std::vector<Pixel> pixels = Resample(ReadImage(images, index, width, height), width, size);
    if (pixels.empty()) return nullptr;
    if (disabled) {
        // Grey, then a wash of the face colour at 150 of 255.
        const float keep = 105.f / 255.f, wash = 150.f / 255.f;
        for (Pixel& p : pixels) {
            const float grey = p.r * 0.30f + p.g * 0.59f + p.b * 0.11f;
            const float coverage = p.a / 255.f;
            p.r = grey * keep + GetRValue(face) * wash * coverage;
            p.g = grey * keep + GetGValue(face) * wash * coverage;
            p.b = grey * keep + GetBValue(face) * wash * coverage;
        }
    }
    void* bits = nullptr;
    const HBITMAP bitmap = win::CreateCanvas(nullptr, size, size, &bits);
    if (!bitmap) return nullptr;
    auto* out = static_cast<BYTE*>(bits);
    for (size_t n = 0; n < pixels.size(); ++n) {
        const Pixel& p = pixels[n];
        const BYTE alpha = Clamp(p.a);
        out[n * 4] = std::min(Clamp(p.b), alpha);
        out[n * 4 + 1] = std::min(Clamp(p.g), alpha);
        out[n * 4 + 2] = std::min(Clamp(p.r), alpha);
        out[n * 4 + 3] = alpha;
    }
    return bitmap;
}

}  // namespace quenmar::widgets
