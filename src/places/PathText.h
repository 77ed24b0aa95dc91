#pragma once

#include <string>
#include <string_view>

namespace quenmar {

// Path text in UTF-8. A backslash or colon byte never occurs inside the
// encoding of another character, so the rules below look at bytes.

// Appends a backslash unless the text is empty or already ends in one.
std::string AddTrailingBackslash(std::string_view text);

// Removes one final backslash.
std::string StripTrailingBackslash(std::string_view text);

// Position of the last backslash or colon, or npos.
size_t LastSeparator(std::string_view text);

// The text after the last backslash or colon; the whole text when it holds
// neither; empty when it ends in one.
std::string LastPathComponent(std::string_view text);

// The text up to and including the last backslash or colon; empty when there
// is none.
std::string DirectoryPart(std::string_view text);

// The text without characters 0 to 32 (blanks and controls) at either end.
std::string TrimControlsAndBlanks(std::string_view text);

// Whether the last character of the text is a backslash.
bool EndsWithBackslash(std::string_view text);

// Whether the text names an environment variable between two percent signs
// (%USERPROFILE%\\Projects), as an expandable registry value holds it.
bool NamesEnvironmentVariable(std::string_view text);

}  // namespace quenmar
