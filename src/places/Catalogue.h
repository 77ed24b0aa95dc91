#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "places/ShellAnswers.h"
#include "places/Texts.h"

namespace quenmar {

constexpr int kSlotCount = 5;

// The Desktop's CSIDL: what a slot with no stored value stands for.
constexpr int32_t kCsidlDesktop = 0x00;

struct SpecialFolder {
    int32_t csidl;
    int nameText;  // the number of its name in the string table
};

// The special folders offered to the user, in the order of the list shown.
// The first kSlotCount rows are the default slots as well.
inline constexpr std::array<SpecialFolder, 13> kSpecialFolders{{
    {0x22, IDS_FOLDER_HISTORY},
    {0x00, IDS_FOLDER_DESKTOP},
    {0x05, IDS_FOLDER_PERSONAL},
    {0x11, IDS_FOLDER_DRIVES},
    {0x12, IDS_FOLDER_NETWORK},
    {0x20, IDS_FOLDER_INTERNET_CACHE},
    {0x21, IDS_FOLDER_COOKIES},
    {0x24, IDS_FOLDER_WINDOWS},
    {0x25, IDS_FOLDER_SYSTEM},
    {0x26, IDS_FOLDER_PROGRAM_FILES},
    {0x27, IDS_FOLDER_PICTURES},
    {0x2B, IDS_FOLDER_COMMON_FILES},
    {0x2E, IDS_FOLDER_COMMON_DOCUMENTS},
}};

// Row of the first catalogue entry with that CSIDL, if any.
std::optional<int> CatalogueRow(int32_t csidl);

// Catalogue name of a CSIDL in the user's language; the unknown folder's
// name when it is not listed.
std::string SpecialFolderName(int32_t csidl);

// The catalogue's rows as the list shows them, given the shell's answer for
// each row's folder (null while it is not in, or where the shell has none):
// the shell's name, else the table's. Rows the shell names alike show the
// folder's location beside the name.
std::array<std::string, kSpecialFolders.size()> CatalogueNames(
    const std::array<const ShellAnswer*, kSpecialFolders.size()>& answers);

// The two lines a text can be broken into at each of its breaks: at a
// space, which the first line is measured with (as the system's wrapping
// measures it), or after a Chinese or Japanese character (U+2E80 on).
std::vector<std::pair<std::string, std::string>> TwoLineBreaks(const std::string& text);

// The widths of texts in a font, as a control measures them.
using TextWidths = std::function<std::vector<int>(const std::vector<std::string>& texts)>;
// The width in which every special folder's name shows whole as a place's
// caption: on one line, or broken into two, the most a place shows before
// it ends the caption with an ellipsis.
int PlaceNamesWidth(const TextWidths& widthsOf);

}  // namespace quenmar
