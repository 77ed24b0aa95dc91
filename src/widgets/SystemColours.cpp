#include "widgets/SystemColours.h"

namespace quenmar::widgets {

namespace {

std::optional<bool> testAnswer;

// Between two colours: `part` of 4 of the second.
COLORREF Blend(int first, int second, int part) {
    const COLORREF a = GetSysColor(first), b = GetSysColor(second);
    const auto mix = [&](BYTE x, BYTE y) { return static_cast<BYTE>((x * (4 - part) + y * part) / 4); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

Palette& Current() {
    static Palette palette = PaletteFor(HighContrastOn());
    return palette;
}

}  // namespace

Palette PaletteFor(bool highContrast) {
    Palette p;
    p.highContrast = highContrast;
    p.picturesBehindText = !highContrast;
    p.face = GetSysColor(COLOR_BTNFACE);
    p.caption = GetSysColor(COLOR_BTNTEXT);
    p.disabledCaption = GetSysColor(COLOR_GRAYTEXT);
    p.focusFrame = GetSysColor(COLOR_HIGHLIGHT);
    p.bannerBackground = GetSysColor(COLOR_WINDOW);
    p.bannerText = GetSysColor(COLOR_WINDOWTEXT);
    p.tagline = GetSysColor(COLOR_WINDOWTEXT);
    if (highContrast) {
        // Only the scheme's own pairs: text on its background, the
        // highlight's text on the highlight.
        p.hotFace = p.pressedFace = GetSysColor(COLOR_HIGHLIGHT);
        p.hotCaption = p.pressedCaption = GetSysColor(COLOR_HIGHLIGHTTEXT);
        p.frame = GetSysColor(COLOR_BTNTEXT);
        p.disabledFrame = GetSysColor(COLOR_GRAYTEXT);
        p.checkedCaption = CLR_INVALID;
        p.hotBackground = GetSysColor(COLOR_HIGHLIGHT);
        p.hotBackgroundCaption = GetSysColor(COLOR_HIGHLIGHTTEXT);
        p.link = p.visitedLink = GetSysColor(COLOR_HOTLIGHT);
        return p;
    }
    p.hotFace = Blend(COLOR_BTNFACE, COLOR_HIGHLIGHT, 1);
    p.pressedFace = Blend(COLOR_BTNFACE, COLOR_HIGHLIGHT, 2);
    p.hotCaption = p.pressedCaption = p.caption;
    p.frame = GetSysColor(COLOR_BTNSHADOW);
    p.disabledFrame = Blend(COLOR_BTNSHADOW, COLOR_BTNFACE, 2);
    // The accent of text on the window is the highlight: the hot-tracking
    // colour is a background in some schemes (Wine's own among them).
    p.checkedCaption = GetSysColor(COLOR_HIGHLIGHT);
    p.hotBackground = Blend(COLOR_WINDOW, COLOR_HIGHLIGHT, 1);
    p.hotBackgroundCaption = CLR_INVALID;
    p.link = GetSysColor(COLOR_HIGHLIGHT);
    p.visitedLink = Blend(COLOR_HIGHLIGHT, COLOR_WINDOWTEXT, 2);
    return p;
}

bool HighContrastOn() {
    if (testAnswer) return *testAnswer;
    HIGHCONTRASTW answer{sizeof answer};
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof answer, &answer, 0) && (answer.dwFlags & HCF_HIGHCONTRASTON);
}

void AnswerHighContrastForTests(std::optional<bool> answer) { testAnswer = answer; }

const Palette& CurrentPalette() { return Current(); }

bool RefreshPalette() {
    const bool before = Current().highContrast;
    Current() = PaletteFor(HighContrastOn());
    return Current().highContrast != before;
}

}  // namespace quenmar::widgets
