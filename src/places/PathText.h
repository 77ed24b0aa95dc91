#pragma once

#include <string>
#include <string_view>

namespace quenmar {

// Tells whether a byte starts a double-byte character in the ANSI code page
// the text is in. Windows code passes the system's test; portable code and
// its tests may pass any code page's.
using LeadByteTest = bool (*)(unsigned char);

// For single-byte code pages: no byte is a lead byte.
bool NoLeadBytes(unsigned char);
// Code page 932 (Shift-JIS), for tests of double-byte handling.
bool ShiftJisLeadByte(unsigned char c);

// Appends a backslash unless the text is empty or already ends in one.
// Looks at the last byte only.
std::string AddTrailingBackslash(std::string_view text);

// Removes one final backslash. A backslash byte that is the trail byte of a
// double-byte character is not a separator and is kept.
std::string StripTrailingBackslash(std::string_view text, LeadByteTest isLead);

// Position of the last backslash or colon that is a character of its own
// (not a trail byte), or npos.
size_t LastSeparator(std::string_view text, LeadByteTest isLead);

// The text after the last backslash or colon; the whole text when it holds
// neither; empty when it ends in one.
std::string LastPathComponent(std::string_view text, LeadByteTest isLead);

// The text up to and including the last backslash or colon; empty when there
// is none.
std::string DirectoryPart(std::string_view text, LeadByteTest isLead);

// The text without characters 0 to 32 (blanks and controls) at either end.
std::string TrimControlsAndBlanks(std::string_view text);

// Whether the last character of the text is a backslash of its own.
bool EndsWithBackslash(std::string_view text, LeadByteTest isLead);

}  // namespace quenmar
