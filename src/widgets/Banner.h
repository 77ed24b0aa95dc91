#pragma once

#include <windows.h>

#include <string>

#include "widgets/Picture.h"
#include "widgets/SystemColours.h"

namespace quenmar::widgets {

// The program's name with a tagline under it, drawn for its form's scale and
// font; a tab stop that opens something when clicked, with the hand cursor.
// In high contrast no picture: the name and the tagline in the scheme's
// text colour on its background. A tagline longer than its room is written
// smaller, down to four fifths of the font, and cut short only below that.
class Banner : public Picture {
public:
    using Picture::Picture;
    void Create(Form& form, Bounds bounds, Anchors anchors = kAnchorsDefault);
    // Drawn again for each scale and colour scheme.
    void Show(const Palette& colours, const std::string& name, const std::string& tagline);
};

}  // namespace quenmar::widgets
