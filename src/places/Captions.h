#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "places/Place.h"
#include "places/PathText.h"
#include "places/ShellAnswers.h"
#include "places/ShellLookups.h"

namespace quenmar {

// Caption of a folder slot whose path is the given text, until the shell
// names it: its last component, or a drive's root as written ("C:").
std::string FolderSlotCaption(const std::string& path);

// What a place left out could be instead, in one click: a special folder
// (a CSIDL), or a plain path.
using StandIn = std::variant<int32_t, std::string>;

// What a slot shows: its caption and large icon, whether the Open dialog
// will leave it out and why, and what it could be instead.
struct SlotDisplay {
    std::string caption;
    int icon = kNoIcon;
    LeftOut leftOut = LeftOut::No;
    std::optional<StandIn> standIn;
    bool operator==(const SlotDisplay&) const = default;
};

// What the shell is asked of an entry: its CSIDL, or its path as the
// system sees it; a Group Policy name that Windows' dialog takes, as the
// special folder it stands for.
PlaceQuery QueryOf(const Place& entry, ShellLookups& shell, OpenDialog dialog);

// What a slot shows of its entry, by the dialog's rules, given the shell's
// answer for it (null while it is not in): until then its text and no icon;
// then the shell's name (even an empty one, but for a drive's root) and
// icon, as the dialog's button shows them. A place the shell did not find
// keeps its text (a path as stored) and the answer's folder icon, is marked
// left out, and offers the
// special folder a Group Policy name stands for. On Windows a policy's name
// is never left out (its folder's name and icon where it has a CSIDL, else
// its text); Wine's dialog reads an expandable value unexpanded, and one it
// leaves out for a variable it names offers its expanded text as a plain
// path.
SlotDisplay DisplayFor(const Place& entry, const ShellAnswer* answer, ShellLookups& shell, OpenDialog dialog);

// Why the Open dialog will leave a place out, in words; empty when it will not.
std::string LeftOutText(LeftOut reason);

// The path of a folder entry as the system sees it (environment expanded
// where the entry keeps it unexpanded).
std::string EffectivePath(const Place& entry, ShellLookups& shell);

}  // namespace quenmar
