#pragma once

#include <string>


namespace quenmar {

// Writes the current user's stored settings, as a save would store them, to
// a registry script file. Raises win::FileWriteError when it cannot.
void ExportStoredSettings(const std::string& path);

}  // namespace quenmar
