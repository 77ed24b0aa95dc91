#include "widgets/Banner.h"

#include <algorithm>

#include "widgets/Control.h"
#include "widgets/Resources.h"
#include "win32/Handles.h"
#include "win32/WideText.h"

namespace quenmar::widgets {

namespace {

// The window's font at another height, and bold if asked.
win::UniqueGdiObject FontLike(HFONT font, LONG height, bool bold = false) {
    LOGFONTW face{};
    GetObjectW(font, sizeof face, &face);
    face.lfHeight = height;
    if (bold) face.lfWeight = FW_BOLD;
    return win::UniqueGdiObject(CreateFontIndirectW(&face));
}

}  // namespace

HBITMAP DrawBanner(int dpi, HFONT font, bool rightToLeft, const Palette& colours, const std::string& nameText,
                   const std::string& taglineText) {
    const auto scaled = [dpi](int pixels96) { return MulDiv(pixels96, dpi, 96); };
    const win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    HBITMAP banner = nullptr;
    if (colours.picturesBehindText) {
        banner = LoadPicture(L"BANNER", dpi);
        if (!banner) return nullptr;
    } else {
        const win::WindowDC screen(nullptr);
        banner = CreateCompatibleBitmap(screen.get(), scaled(220), scaled(45));
        if (!banner) return nullptr;
    }
    const win::SelectedObject onBanner(dc.get(), banner);
    SetBkMode(dc.get(), TRANSPARENT);
    if (!colours.picturesBehindText) {
        RECT all{0, 0, scaled(220), scaled(45)};
        const win::UniqueGdiObject background(CreateSolidBrush(colours.bannerBackground));
        FillRect(dc.get(), &all, static_cast<HBRUSH>(background.get()));
        const win::UniqueGdiObject nameFont = FontLike(font, -scaled(24), true);
        const win::SelectedObject inNameFont(dc.get(), nameFont.get());
        SetTextColor(dc.get(), colours.bannerText);
        RECT name{scaled(49), scaled(1), scaled(218), scaled(29)};
        DrawTextW(dc.get(), win::Wide(nameText).c_str(), -1, &name, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
    // A tagline longer than its room is written smaller, down to four
    // fifths of the window's font, and cut short only below that.
    const std::wstring tagline = win::Wide(taglineText);
    RECT line{scaled(49), scaled(29), scaled(218), scaled(44)};
    win::UniqueGdiObject smaller;
    {
        const win::SelectedObject inFont(dc.get(), font);
        const LONG measured = MeasureIn(dc.get(), tagline, DT_SINGLELINE | DT_NOPREFIX).cx;
        const int room = line.right - line.left;
        if (measured > room) {
            LOGFONTW face{};
            GetObjectW(font, sizeof face, &face);
            LONG height = face.lfHeight * std::max<LONG>(room, measured * 4 / 5) / measured;
            if (height == face.lfHeight) height += height < 0 ? 1 : -1;
            smaller = FontLike(font, height);
        }
    }
    const win::SelectedObject inFont(dc.get(), smaller ? static_cast<HFONT>(smaller.get()) : font);
    SetTextColor(dc.get(), colours.picturesBehindText ? colours.tagline : colours.bannerText);
    DrawTextW(dc.get(), tagline.c_str(), -1, &line,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS | (rightToLeft ? DT_RTLREADING : 0));
    return banner;
}

void Banner::Show(int dpi, HFONT font, const Palette& colours, const std::string& name, const std::string& tagline) {
    SetBitmap(DrawBanner(dpi, font, InMirroredWindow(), colours, name, tagline));
}

}  // namespace quenmar::widgets
