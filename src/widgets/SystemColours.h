// The colours the program draws with. Each is one of the system's colours,
// or, outside high contrast, a blend of two of them, so that the user's
// scheme holds in the program's windows as in the rest of the desktop.
#pragma once

#include <windows.h>

#include <optional>

namespace quenmar::widgets {

struct Palette {
    bool highContrast = false;
    // Pictures behind text (a texture, the banner's picture) are shown only
    // outside high contrast, which asks for plain colours behind text.
    bool picturesBehindText = true;

    // A flat button: its face and caption, pressed, under the mouse and
    // disabled, and its frame.
    COLORREF face, caption, hotFace, hotCaption, pressedFace, pressedCaption, disabledCaption;
    COLORREF frame, focusFrame, disabledFrame;
    // A radio button or check box: its caption while checked, and its
    // background and caption under the mouse (CLR_INVALID: the form's).
    COLORREF checkedCaption, hotBackground, hotBackgroundCaption;
    // A link, before and after it was opened.
    COLORREF link, visitedLink;
    // The banner's background and its texts, where it shows no picture,
    // and its tagline where it does.
    COLORREF bannerBackground, bannerText, tagline;
};

// The palette for the system's answer to whether high contrast is on, in
// the system's colours as they are now.
Palette PaletteFor(bool highContrast);

// Whether high contrast is on: the system's answer (SPI_GETHIGHCONTRAST),
// unless a test gave one.
bool HighContrastOn();
void AnswerHighContrastForTests(std::optional<bool> answer);

// The palette the windows draw with, made again when the system's colours
// or its high contrast change (RefreshPalette, which says whether high
// contrast did).
const Palette& CurrentPalette();
bool RefreshPalette();

}  // namespace quenmar::widgets
