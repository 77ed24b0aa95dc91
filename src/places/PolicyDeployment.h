// The places a policy sets, for the tools that deploy a domain's policies:
// a PowerShell script for the GroupPolicy module, and the settings of an
// Intune configuration profile.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "places/PlacesStore.h"

namespace quenmar {

// Text as a single-quoted PowerShell string: within it only a single
// quotation mark is special, and PowerShell takes U+2018 to U+201B as one
// too; each is written twice.
std::string PowerShellQuoted(std::string_view text);

// A script that makes a Group Policy Object set these places and this hide
// setting, and no others: Set-GPRegistryValue for what is set,
// Remove-GPRegistryValue for what is not. The GroupPolicy module raises the
// GPO's version both in the directory and in its gpt.ini, as Windows
// clients need. The GPO is the one of this GUID ("{...}") when given, else
// one the script's mandatory -Name names. UTF-8 with a byte-order mark, the
// form Windows PowerShell reads as Unicode.
std::string PlacesPowerShell(const Places& places, HideFlag hide, std::string_view gpoGuid);

// An Intune custom setting: the ADMX-backed policy's OMA-URI and its value.
struct IntuneSetting {
    std::string omaUri;
    std::string value;
    bool operator==(const IntuneSetting&) const = default;
};
// The settings of the policies "Items displayed in Places Bar" (each place
// set, a special folder by the name the policy's explain text documents)
// and "Hide the common dialog places bar" (when set): or, when a special
// folder has no such name, its CSIDL, which cannot be deployed so.
std::variant<std::vector<IntuneSetting>, int32_t> PlacesForIntune(const Places& places, HideFlag hide);
// The settings as text to paste, one block each.
std::string IntuneText(const std::vector<IntuneSetting>& settings);

}  // namespace quenmar
