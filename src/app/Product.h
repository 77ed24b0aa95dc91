#pragma once

#include "app/Version.h"

namespace quenmar {

// What the program says of itself, one place for the whole program.
inline constexpr const char* kApplicationTitle = "Quenmar";
inline constexpr const char* kVersion = QUENMAR_VERSION_TEXT;
inline constexpr const char* kWebsiteAddress = QUENMAR_WEBSITE_TEXT;
inline constexpr const char* kCopyrightYearAndMaker = "2026 The Quenmar Authors";

}  // namespace quenmar
