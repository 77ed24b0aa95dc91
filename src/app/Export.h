#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>
#include <string_view>

#include "places/PlacesEditor.h"
#include "places/RegistryAccessor.h"
#include "places/RegistryScript.h"
#include "win32/FileContents.h"

namespace quenmar {

// Writes the stored settings (the current user's, or a policy's), as a save
// would store them, to a file in the format its extension names (a policy
// file for ".pol", Group Policy Preferences for ".xml", else a registry
// script). A PowerShell script (".ps1") is for the Group Policy Object of
// this GUID when one is given.
win::FileStatus ExportStoredSettings(const std::string& path, RegistryAccessor& registry, std::string_view gpoGuid = {});

// The system menu's exports and copies of the editor's settings: their
// commands and names, and each run by its command (false for a command of
// another kind).
std::vector<std::pair<UINT, std::string>> ExportCommands();
bool RunExportCommand(HWND owner, UINT command, const PlacesEditor& editor, std::string_view gpoGuid);

// The editor's settings, as a save would store them, written to a file the
// user names in the Save dialog; a file that cannot be written is told.
void ExportAsTheUserNames(HWND owner, const PlacesEditor& editor, std::string_view gpoGuid);

// The editor's settings as Group Policy Preferences items on the clipboard,
// for pasting into the Group Policy Management Console.
void CopyForPreferences(HWND owner, const PlacesEditor& editor);

// A PowerShell script that makes a domain's Group Policy Object set what the
// editor shows (PlacesPowerShell), on the clipboard.
void CopyAsPowerShell(HWND owner, const PlacesEditor& editor, std::string_view gpoGuid);

// An Intune profile's settings for what the editor shows, on the clipboard;
// a special folder Intune cannot name is told instead.
void CopyForIntune(HWND owner, const PlacesEditor& editor);

// Group Policy Preferences items made now: new GUIDs, and this moment's time.
PreferenceStamps PreferenceStampsNow();

}  // namespace quenmar
