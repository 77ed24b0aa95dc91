#pragma once

#include <array>
#include <string>
#include <string_view>

#include "places/PlacesStore.h"

namespace quenmar {

// A registry script, as the system's registry editor writes and reads it
// ("Windows Registry Editor Version 5.00": UTF-16LE with a byte-order mark,
// CRLF line ends), holding what a save of these places and this hide flag
// would store. It first deletes the Placesbar key, so that importing it
// leaves exactly these five places and nothing else there.
std::string PlacesScript(const Places& places, bool hidden);

// A Group Policy file (Registry.pol) for the current user's hive, holding
// only these five places and, when hidden, the hide flag (NoPlacesBar = 1):
// what the policies "Items displayed in Places Bar" and "Hide the common
// dialog places bar" set, for the tools that deploy such files.
std::string PlacesPolicyFile(const Places& places, bool hidden);

enum class ExportFormat { RegistryScript, PolicyFile };
// By the file's extension: ".pol" (in letters of either case) a policy file,
// anything else a registry script.
ExportFormat ExportFormatFor(std::string_view path);
std::string ExportedSettings(ExportFormat format, const Places& places, bool hidden);

}  // namespace quenmar
