#include "places/Catalogue.h"

namespace quenmar {

std::optional<int> CatalogueRow(int32_t csidl) {
    for (size_t row = 0; row < kSpecialFolders.size(); ++row) {
        if (kSpecialFolders[row].csidl == csidl) return static_cast<int>(row);
    }
    return std::nullopt;
}

std::string SpecialFolderName(int32_t csidl) {
    const auto row = CatalogueRow(csidl);
    return TextOf(row ? kSpecialFolders[*row].nameText : IDS_UNKNOWN_FOLDER);
}

std::array<std::string, kSpecialFolders.size()> CatalogueNames(
    const std::array<const ShellAnswer*, kSpecialFolders.size()>& answers) {
    std::array<std::string, kSpecialFolders.size()> names;
    for (size_t row = 0; row < names.size(); ++row) {
        const ShellAnswer* answer = answers[row];
        names[row] = answer && answer->found && !answer->name.empty() ? answer->name
                                                                        : TextOf(kSpecialFolders[row].nameText);
    }
    std::array<std::string, kSpecialFolders.size()> shown = names;
    for (size_t row = 0; row < names.size(); ++row) {
        const ShellAnswer* answer = answers[row];
        if (!answer || answer->location.empty()) continue;
        for (size_t other = 0; other < names.size(); ++other) {
            if (other != row && names[other] == names[row]) {
                shown[row] = names[row] + " (" + answer->location + ")";
                break;
            }
        }
    }
    return shown;
}

}  // namespace quenmar
