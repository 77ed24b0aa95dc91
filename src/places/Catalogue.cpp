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

}  // namespace quenmar
