#include "places/Catalogue.h"

namespace quenmar {

std::optional<int> CatalogueRow(int32_t csidl) {
    for (size_t row = 0; row < kSpecialFolders.size(); ++row) {
        if (kSpecialFolders[row].csidl == csidl) return static_cast<int>(row);
    }
    return std::nullopt;
}

std::string_view SpecialFolderName(int32_t csidl) {
    const auto row = CatalogueRow(csidl);
    return row ? kSpecialFolders[*row].name : kUnknownFolderName;
}

}  // namespace quenmar
