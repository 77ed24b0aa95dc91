#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quenmar::win {

// The system's lead-byte test for its ANSI code page.
bool SystemLeadByte(unsigned char c);

// Converts wide text to the ANSI code page without best-fit mapping. Gives
// nothing when a character cannot be represented, so that a name is never
// stored with question marks in place of its letters.
std::optional<std::string> WideToAnsi(std::wstring_view text);

std::wstring AnsiToWide(std::string_view text);

}  // namespace quenmar::win
