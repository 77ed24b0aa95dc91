#pragma once

#include <cstdint>
#include <string>

#include "places/Place.h"
#include "places/PathText.h"
#include "places/ShellLookups.h"

namespace quenmar {

// Caption of a folder slot whose path is the given text.
std::string FolderSlotCaption(const std::string& path, ShellLookups& shell);

// What a slot shows beside its entry.
struct SlotDisplay {
    std::string caption;
    int icon = kNoIcon;
    bool operator==(const SlotDisplay&) const = default;
};

// Caption and large icon of a slot's entry. An expandable path is shown by
// its expanded form.
SlotDisplay DisplayFor(const Place& entry, ShellLookups& shell);

// The path of a folder entry as the system sees it (environment expanded
// where the entry keeps it unexpanded).
std::string EffectivePath(const Place& entry, ShellLookups& shell);

}  // namespace quenmar
