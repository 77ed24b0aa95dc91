#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quenmar {

constexpr int kSlotCount = 5;

// CSIDL values the program uses by name.
constexpr int32_t kCsidlDesktop = 0x00;
constexpr int32_t kCsidlPersonal = 0x05;
constexpr int32_t kCsidlDrives = 0x11;
constexpr int32_t kCsidlNetwork = 0x12;
constexpr int32_t kCsidlHistory = 0x22;

struct SpecialFolder {
    int32_t csidl;
    std::string_view name;
};

// The special folders offered to the user, in the order of the list shown.
// The first kSlotCount rows are the default slots as well.
inline constexpr std::array<SpecialFolder, 13> kSpecialFolders{{
    {0x22, "History"},
    {0x00, "Desktop"},
    {0x05, "My Documents"},
    {0x11, "My Computer"},
    {0x12, "My Network Places"},
    {0x20, "Internet Cache"},
    {0x21, "Cookies"},
    {0x24, "Windows Directory"},
    {0x25, "System Directory"},
    {0x26, "Program Files"},
    {0x27, "My Pictures"},
    {0x2B, "Common Files"},
    {0x2E, "Common Documents"},
}};

inline constexpr std::string_view kUnknownFolderName = "Unknown";

// Row of the first catalogue entry with that CSIDL, if any.
std::optional<int> CatalogueRow(int32_t csidl);

// Catalogue name of a CSIDL, "Unknown" when it is not listed.
std::string_view SpecialFolderName(int32_t csidl);

}  // namespace quenmar
