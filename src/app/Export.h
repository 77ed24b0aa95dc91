#pragma once

#include <string>

#include "places/RegistryAccessor.h"


namespace quenmar {

// Writes the stored settings (the current user's, or a policy's), as a save
// would store them, to a file in the format its extension names (a policy
// file for ".pol", else a registry script). Raises win::FileWriteError when
// it cannot.
void ExportStoredSettings(const std::string& path, RegistryAccessor& registry);

}  // namespace quenmar
