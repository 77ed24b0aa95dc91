#pragma once

#include <array>
#include <functional>
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

// What makes each Group Policy Preferences item its own: a new GUID for
// each ("{...}"), and the time of the export as the items' changed time
// ("2026-12-09 10:30:00", UTC).
struct PreferenceStamps {
    std::function<std::string()> newGuid;
    std::string changed;
};

// Group Policy Preferences registry items ([MS-GPPREF] RegistrySettings), as
// GPMC keeps them in User\Preferences\Registry\Registry.xml and takes them
// pasted: one Registry item per value, action Update, in the current user's
// hive, a REG_DWORD as eight hex digits. Unlike a policy, preferences do
// not lock the values; the hide flag is set either way, as a save stores it.
std::string PlacesPreferences(const Places& places, bool hidden, const PreferenceStamps& stamps);

// Text as an XML attribute's value: markup escaped, and tab, line feed and
// carriage return as character references, so that they read back as they
// were. XML holds no other character below U+0020: each becomes U+FFFD.
std::string XmlAttribute(std::string_view text);

enum class ExportFormat { RegistryScript, PolicyFile, Preferences, PowerShell };
// By the file's extension, in letters of either case: ".pol" a policy file,
// ".xml" Group Policy Preferences, ".ps1" a PowerShell script for a domain's
// Group Policy Object (PolicyDeployment.h), anything else a registry script.
ExportFormat ExportFormatFor(std::string_view path);
// The script is for the Group Policy Object of this GUID when one is given.
std::string ExportedSettings(ExportFormat format, const Places& places, HideFlag hide, const PreferenceStamps& stamps,
                             std::string_view gpoGuid = {});

}  // namespace quenmar
