#pragma once

#include <windows.h>

#include <string>

#include "widgets/Picture.h"
#include "widgets/SystemColours.h"

namespace quenmar::widgets {

// The banner drawn for a scale: the program's name with a tagline written
// under it (the picture leaves the room for it). In high contrast no
// picture: the name and the tagline in the scheme's text colour on its
// background, where the picture shows them. A tagline longer than its room
// is written smaller, down to four fifths of the font, and cut short only
// below that. The caller owns the bitmap.
HBITMAP DrawBanner(int dpi, HFONT font, bool rightToLeft, const Palette& colours, const std::string& nameText,
                   const std::string& taglineText);

// The banner as a picture control, drawn again for each scale and scheme.
class Banner : public Picture {
public:
    void Show(int dpi, HFONT font, const Palette& colours, const std::string& name, const std::string& tagline);
};

}  // namespace quenmar::widgets
