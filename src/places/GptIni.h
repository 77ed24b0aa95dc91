// A Group Policy Object's gpt.ini: clients apply a changed policy only when
// its Version has risen, and only through the extensions it lists.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quenmar {

// The registry policy's client-side extension and the tool that edits its
// user half (the Administrative Templates), as gPCUserExtensionNames lists them.
inline constexpr const char* kRegistryExtension = "{35378EAC-683F-11D2-A89A-00C04FBBCFA2}";
inline constexpr const char* kAdministrativeTemplatesUserTool = "{D02B1F73-3407-48AE-BA88-E8213C6761F1}";

// The file after a save of the user policy: the user half of Version (its
// high 16 bits) raised by one, wrapping past 0 to 1, and the registry
// extension listed with its tool for users, every list kept in the order
// Windows keeps it (by GUID). Every other line stays as it was. A missing
// file (empty text) is made anew; nothing when the text cannot be read as a
// gpt.ini, which is then not rewritten.
std::optional<std::string> GptIniAfterUserSave(std::string_view text);

}  // namespace quenmar
