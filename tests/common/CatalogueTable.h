#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quenmar::testing {

// The special-folder catalogue as the program must offer it, row by row:
// written out here, apart from the program's own table.
constexpr int kCatalogueRows = 13;
constexpr int32_t kCatalogueCsidls[kCatalogueRows] = {0x22, 0x00, 0x05, 0x11, 0x12, 0x20, 0x21,
                                                      0x24, 0x25, 0x26, 0x27, 0x2B, 0x2E};
constexpr const char* kCatalogueNames[kCatalogueRows] = {
    "History",        "Desktop", "My Documents",      "My Computer",      "My Network Places",
    "Internet Cache", "Cookies", "Windows Directory", "System Directory", "Program Files",
    "My Pictures",    "Common Files", "Common Documents"};

// The default slots' captions: the catalogue's first five rows.
inline std::vector<std::string> DefaultCaptions() { return {kCatalogueNames, kCatalogueNames + 5}; }

}  // namespace quenmar::testing
