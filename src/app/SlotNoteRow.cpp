#include "app/SlotNoteRow.h"

#include <algorithm>

#include "app/AppTexts.h"
#include "widgets/Resources.h"

namespace quenmar {

using widgets::Anchor;

SlotNoteRow::SlotNoteRow(Ids ids)
    : hintIcon_(ids.hintIcon), hint_(ids.hint), note_(ids.note), noteLink_(ids.noteLink), unsetLink_(ids.unsetLink) {}

void SlotNoteRow::CreateLinks(widgets::Form& form) {
    // Under the note: what may stand in for a place left out, or the local policy.
    noteLink_.Create(form, "", {140, 123, 386, 13}, Anchor::Left | Anchor::Top | Anchor::Right);
    noteLink_.OnOpen = [this] {
        if (shown_ && OnFollowLink) OnFollowLink(*shown_);
        return false;  // an action, never shown as visited
    };
    noteLink_.SetVisible(false);
    // A policy's place made not set, from the keyboard too (Tab).
    unsetLink_.Create(form, TextOf(IDS_UNSET_PLACE), {140, 108, 386, 13}, Anchor::Left | Anchor::Top);
    unsetLink_.OnOpen = [this] {
        if (OnUnset) OnUnset();
        return false;
    };
    unsetLink_.SetVisible(false);
}

void SlotNoteRow::CreateTexts(widgets::Form& form) {
    hintIcon_.Create(form, {116, 108, 16, 16}, Anchor::Left | Anchor::Top);
    hint_.Create(form, TextOf(IDS_DROP_HINT), {140, 108, 386, 13}, Anchor::Left | Anchor::Top | Anchor::Right,
                 SS_LEFT | SS_NOPREFIX);
    note_.Create(form, "", {140, 108, 386, 13}, Anchor::Left | Anchor::Top | Anchor::Right, SS_LEFT | SS_NOPREFIX);
    note_.SetVisible(false);
}

void SlotNoteRow::LoadPicture(int dpi) { hintIcon_.SetBitmap(widgets::LoadPicture(L"HINT", dpi)); }

std::array<widgets::Control*, 5> SlotNoteRow::Controls() { return {&hintIcon_, &hint_, &note_, &noteLink_, &unsetLink_}; }

void SlotNoteRow::FitWidths(int right) {
    hint_.FitWidthToText(right);
    unsetLink_.FitWidthToText(right);
    shown_.reset();  // wrapped again for the new widths
}

bool SlotNoteRow::Show(const SlotNote& note, int right) {
    if (shown_ == note) return false;
    note_.ShowWrapped(note.text, std::max<int>(hint_.Rect().right, right) - note_.Rect().left);
    noteLink_.ShowUnder(note_, note.link);
    shown_ = note;
    ShowHintOrUnset();
    return true;
}

void SlotNoteRow::ShowUnset(bool usable) {
    if (unsetUsable_ == usable) return;
    unsetUsable_ = usable;
    ShowHintOrUnset();
}

// A note takes the row first (Delete and the places' menu still unset a
// place); then the unset link; else the hint.
void SlotNoteRow::ShowHintOrUnset() {
    const bool noted = shown_ && !shown_->text.empty();
    unsetLink_.SetVisible(!noted && unsetUsable_);
    hint_.SetVisible(!noted && !unsetUsable_);
}

}  // namespace quenmar
