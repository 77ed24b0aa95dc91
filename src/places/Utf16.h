#pragma once

#include <string>
#include <string_view>

namespace quenmar {

// UTF-8, as the portable code holds text, to and from UTF-16, as Windows
// holds it. Names on disk and in the registry are sequences of 16-bit units
// that need not be valid UTF-16: a surrogate without its partner is carried
// as the three-byte form of its number (generalised UTF-8, "WTF-8"), so that
// every UTF-16 string comes back unchanged from UTF-8.
//
// Bytes that are not UTF-8 (a stray continuation byte, a sequence cut short,
// an overlong form, a number past U+10FFFF) become U+FFFD, one for each
// longest start of a sequence that could not be completed. A lead surrogate
// followed by a trail surrogate, each in its three-byte form, is read as the
// pair they make.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace quenmar
