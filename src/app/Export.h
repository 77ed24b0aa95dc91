#pragma once

#include <string>

#include "places/RegistryAccessor.h"
#include "places/RegistryScript.h"

namespace quenmar {

// Writes the stored settings (the current user's, or a policy's), as a save
// would store them, to a file in the format its extension names (a policy
// file for ".pol", Group Policy Preferences for ".xml", else a registry
// script). Raises win::FileWriteError when it cannot.
void ExportStoredSettings(const std::string& path, RegistryAccessor& registry);

// Group Policy Preferences items made now: new GUIDs, and this moment's time.
PreferenceStamps PreferenceStampsNow();

}  // namespace quenmar
