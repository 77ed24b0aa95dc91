#include "widgets/GuideLines.h"

#include <algorithm>

#include "widgets/Control.h"
#include "widgets/Form.h"

namespace quenmar::widgets {

int GuideLines::Line(int x) {
    lines_.push_back({x});
    return static_cast<int>(lines_.size()) - 1;
}

int GuideLines::LineLeftOf(int line, int width, int needed) {
    lines_.push_back({lines_.at(static_cast<size_t>(line)).designed - width, 0, line, std::max(width, needed)});
    return static_cast<int>(lines_.size()) - 1;
}

void GuideLines::Apart(int from, int to, int pixels) { gaps_.push_back({from, to, pixels}); }

void GuideLines::Solve() {
    // The lines kept left of another come after it: its place is known then.
    for (size_t n = 0; n < lines_.size(); ++n) {
        Guide& line = lines_[n];
        if (line.leftOf >= 0) continue;
        line.at = line.designed;
        for (const Gap& gap : gaps_) {
            if (gap.to == static_cast<int>(n)) line.at = std::max(line.at, At(gap.from) + gap.pixels);
        }
    }
    for (Guide& line : lines_) {
        if (line.leftOf >= 0) line.at = At(line.leftOf) - line.width;
    }
}

int GuideLines::Moved(int line) const { return At(line) - lines_.at(static_cast<size_t>(line)).designed; }

void GuideLines::Move(Control& control, RECT r) const {
    const RECT designed = form_.DesignRect(control);
    if (!EqualRect(&designed, &r)) control.Move(r);
}

void GuideLines::Place(Control& control, int leftLine, int rightLine) const {
    RECT r = form_.DesignRect(control);
    r.left += Moved(leftLine);
    r.right += Moved(rightLine);
    Move(control, r);
}

void GuideLines::PlaceCentred(Control& control, int leftLine, int rightLine) const {
    RECT r = form_.DesignRect(control);
    const int left = At(leftLine) + (At(rightLine) - At(leftLine) - (r.right - r.left)) / 2;
    OffsetRect(&r, left - r.left, 0);
    Move(control, r);
}

void GuideLines::PlaceGrowingRight(Control& control, int leftLine, int rightLine, int boundLine, int bound) const {
    RECT r = form_.DesignRect(control);
    r.left += Moved(leftLine);
    r.right += Moved(rightLine);
    const int needs = control.NeededWidth();
    if (r.left + needs > r.right) r.right = std::min<LONG>(At(boundLine) - bound, r.left + needs);
    Move(control, r);
}

}  // namespace quenmar::widgets
