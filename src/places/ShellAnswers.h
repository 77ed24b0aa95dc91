// What the shell says of each place, asked as the common Open dialog asks
// it: a special folder by the shell's location of its CSIDL, text by the
// shell's parse of it. A place the shell cannot find is one the dialog
// leaves out of its Places Bar.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "places/ShellLookups.h"

namespace quenmar {

// What a place is asked of the shell by: a CSIDL, or the text the dialog
// reads (an unexpanded value already expanded, as the dialog's registry
// read does).
struct PlaceQuery {
    bool special = false;
    int32_t csidl = 0;
    std::string text;
    auto operator<=>(const PlaceQuery&) const = default;
};

// The shell's answer: whether it found the item, its display name and its
// file system location (empty for a virtual folder), and its icons in the
// system image lists.
struct ShellAnswer {
    bool found = false;
    std::string name;
    std::string location;
    int largeIcon = kNoIcon;
    int smallIcon = kNoIcon;
    bool operator==(const ShellAnswer&) const = default;
};

// The common Open dialog whose rules a place is judged by: the one of the
// system Quenmar runs on. Windows' takes the names Group Policy documents
// for its "Items displayed in Places Bar" and expands an expandable value;
// Wine's parses every text as the shell does, an expandable value's
// unexpanded.
enum class OpenDialog { Windows, Wine };

// Why the dialog will leave a place out.
enum class LeftOut {
    No,
    NoSuchFolder,         // a path to no folder there is
    UnknownName,          // text the shell does not take for a name
    NoSuchSpecialFolder,  // a CSIDL this system has no folder for
    NotExpanded,          // a variable named, which Wine's dialog does not expand
};

// Group Policy's own names for special folders, as its "Items displayed in
// Places Bar" setting documents them (Windows XP's list and today's): their
// CSIDL. None for any other text, nor for a name with no CSIDL.
std::optional<int32_t> PolicyNameFolder(std::string_view text);
// The name those documents give a CSIDL (the first, where there are two);
// none for a special folder they do not name.
std::optional<std::string_view> PolicyNameOf(int32_t csidl);
// Whether the text is one of those names, with a CSIDL or without one
// ("Recent Places", "Saved Searches"...).
bool IsPolicyName(std::string_view text);

// Whether text is written as a path (a drive's letter and colon, or a
// share's two backslashes): the shell not finding it means no such folder.
bool WrittenAsPath(std::string_view text);

}  // namespace quenmar
