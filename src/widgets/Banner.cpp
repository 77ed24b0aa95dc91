#include "widgets/Banner.h"

#include <algorithm>

#include "widgets/Form.h"
#include "widgets/Resources.h"
#include "win32/Handles.h"
#include "win32/WideText.h"

namespace quenmar::widgets {

namespace {

// The banner drawn for the form's scale: the program's name with a tagline
// written under it (the picture leaves the room for it). In high contrast
// no picture: the name and the tagline in the scheme's text colour on its
// background, where the picture shows them. The caller owns the bitmap.
HBITMAP DrawBanner(const Form& form, bool rightToLeft, const Palette& colours, const std::string& nameText,
                   const std::string& taglineText) {
    const auto scaled = [&form](int pixels96) { return form.Scale(pixels96); };
    const HFONT font = form.Font();
    const win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    HBITMAP banner = nullptr;
    if (colours.picturesBehindText) {
        banner = LoadPicture(L"BANNER", form.Dpi());
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
        const win::UniqueGdiObject nameFont(form.CreateFontInPixels(-scaled(24), true));
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
            smaller.reset(form.CreateFontInPixels(height));
        }
    }
    const win::SelectedObject inFont(dc.get(), smaller ? static_cast<HFONT>(smaller.get()) : font);
    SetTextColor(dc.get(), colours.picturesBehindText ? colours.tagline : colours.bannerText);
    DrawTextW(dc.get(), tagline.c_str(), -1, &line,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS | (rightToLeft ? DT_RTLREADING : 0));
    return banner;
}

}  // namespace

void Banner::Create(Form& form, Bounds bounds, Anchors anchors) {
    Picture::Create(form, bounds, anchors);
    MakeTabStop();
    SetCursor(LoadCursor(nullptr, IDC_HAND));
}

void Banner::Show(const Palette& colours, const std::string& name, const std::string& tagline) {
    if (form_) SetBitmap(DrawBanner(*form_, InMirroredWindow(), colours, name, tagline));
}

}  // namespace quenmar::widgets
