#pragma once

#include <windows.h>

#include <vector>

namespace quenmar::widgets {

class Control;
class Form;

// A form's design as vertical lines that its controls' edges keep to, for
// texts wider than the design's (a translation's, a scale's). Each line
// stays where it was designed unless the texts between it and a line left
// of it need more room; then it moves right, and so does every edge kept
// to it. A line may also be kept left of a later one, for a control that
// grows to the left. Lines are made left to right.
class GuideLines {
public:
    explicit GuideLines(const Form& form) : form_(form) {}

    // A line at a designed x, in pixels of the form's scale (a control's
    // designed edge).
    int Line(int x);
    // A line that keeps `width` (or `needed`, if more) to the left of a
    // later line: the left edge of a control that grows to the left.
    int LineLeftOf(int line, int width, int needed);
    // `to` at least `pixels` (at the form's scale) right of `from`.
    void Apart(int from, int to, int pixels);

    // Where each line is, the texts' room given.
    void Solve();
    int At(int line) const { return lines_.at(static_cast<size_t>(line)).at; }
    // How far a line moved from where it was designed.
    int Moved(int line) const;

    // A control placed between two lines, each of its edges at its designed
    // distance from its line; moved only where that is not where it was
    // designed to be.
    void Place(Control& control, int leftLine, int rightLine) const;
    // As Place, the right edge carried further right where the control's
    // text needs it, as far as `bound` pixels left of `boundLine`.
    void PlaceGrowingRight(Control& control, int leftLine, int rightLine, int boundLine, int bound) const;
    // A control of its designed size in the middle between two lines.
    void PlaceCentred(Control& control, int leftLine, int rightLine) const;

private:
    struct Guide {
        int designed;        // at the form's scale
        int at = 0;
        int leftOf = -1;     // the later line it is kept left of, if any
        int width = 0;       // how far left of it
    };
    struct Gap {
        int from, to, pixels;
    };
    void Move(Control& control, RECT r) const;

    const Form& form_;
    std::vector<Guide> lines_;
    std::vector<Gap> gaps_;
};

}  // namespace quenmar::widgets
