#pragma once

#include <array>
#include <string>

#include "places/DirInfo.h"
#include "places/PlacesStore.h"

namespace quenmar {

// The registry script of these places and hide flag, with the system's code page.
std::string SettingsScript(const std::array<const TDirInfo*, kSlotCount>& entries, bool hidden);

// Writes the current user's stored settings, as a save would store them, to
// a registry script file. Raises win::FileWriteError when it cannot.
void ExportStoredSettings(const std::string& path);

}  // namespace quenmar
