#pragma once

#include <array>
#include <functional>
#include <optional>

#include "app/Session.h"
#include "widgets/Form.h"
#include "widgets/Label.h"
#include "widgets/LinkLabel.h"
#include "widgets/Picture.h"

namespace quenmar {

// The main window's row under the path box, in one of three states: the
// hint that a folder may be dropped on the window; what the window says of
// the selected slot (why the Open dialog will leave its place out, with a
// link to what may stand in for it, or that this computer's local policy
// sets the places, with a link to edit it); or, for a policy's place that
// is set and has no note, the link that removes it from the policy.
class SlotNoteRow {
public:
    // Its controls' IDs, by which they are found.
    struct Ids {
        int hintIcon, hint, note, noteLink, unsetLink;
    };
    explicit SlotNoteRow(Ids ids);

    std::function<void(const SlotNote& note)> OnFollowLink;  // the note's link, clicked
    std::function<void()> OnUnset;                            // the unset link, clicked

    // The links, tab stops both, where the tab order reaches them; the
    // hint, its icon and the note after the form's last tab stop.
    void CreateLinks(widgets::Form& form);
    void CreateTexts(widgets::Form& form);
    void LoadPicture(int dpi);

    // Every control of the row, to be laid out from the same left edge.
    std::array<widgets::Control*, 5> Controls();
    // After a layout: the hint and the unset link as wide as their texts,
    // up to `right`; shown anew next time.
    void FitWidths(int right);

    // Shows the note in the hint's place, wrapped within the hint's width or
    // as far as `right`, its link under it; the hint where there is none.
    // True when what is shown changed.
    bool Show(const SlotNote& note, int right);
    // Whether the selected place may be made not set: the unset link shows
    // where no note does.
    void ShowUnset(bool usable);

private:
    void ShowHintOrUnset();

    widgets::Picture hintIcon_;
    widgets::Label hint_;
    widgets::Label note_;
    widgets::LinkLabel noteLink_;
    widgets::LinkLabel unsetLink_;
    std::optional<SlotNote> shown_;
    bool unsetUsable_ = false;
};

}  // namespace quenmar
