#pragma once

#include <string>


namespace quenmar {

// Writes the current user's stored settings, as a save would store them, to
// a file in the format its extension names (a policy file for ".pol", else
// a registry script). Raises win::FileWriteError when it cannot.
void ExportStoredSettings(const std::string& path);

}  // namespace quenmar
