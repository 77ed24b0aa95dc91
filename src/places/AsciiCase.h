// Letters A to Z taken in either case alike, as the registry's names, Group
// Policy's names, gpt.ini's keys, file extensions and switches are compared
// here; every other byte (any UTF-8 sequence) stays as it is.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace quenmar {

inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = AsciiLower(c);
    return lower;
}

inline std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = AsciiUpper(c);
    return upper;
}

inline bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

inline bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && SameIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

}  // namespace quenmar
