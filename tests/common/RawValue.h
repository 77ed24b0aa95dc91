#pragma once

// Registry values as raw bytes, for putting and checking them.

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

#include "places/Place.h"
#include "places/RegistryAccessor.h"

namespace quenmar::testing {

struct RawValue {
    uint32_t type = 0;
    std::string data;
    bool operator==(const RawValue&) const = default;
};

// Text as REG_SZ data holds it: UTF-16LE units and a zero unit. The units
// are spelled by the compiler (u"..." literals), not by the converter under
// test; the narrow form takes ASCII, one unit a byte.
inline std::string Sz(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes.append(2, '\0');
}
inline std::string Sz(std::string_view ascii) { return Sz(std::u16string(ascii.begin(), ascii.end())); }
inline std::string Dword(uint32_t value) {
    std::string data(4, '\0');
    std::memcpy(data.data(), &value, 4);
    return data;
}
inline RawValue SzValue(std::string_view ascii) { return {kRegSz, Sz(ascii)}; }
inline RawValue SzValue(std::u16string_view text) { return {kRegSz, Sz(text)}; }
inline RawValue DwordValue(uint32_t value) { return {kRegDword, Dword(value)}; }

inline void PrintTo(const RawValue& value, std::ostream* os) {
    *os << "type " << value.type << " data[";
    for (unsigned char c : value.data) *os << ' ' << static_cast<int>(c);
    *os << " ]";
}

// What of an entry the registry keeps: its kind and the value of that kind.
inline std::string StoredForm(const Place& entry) {
    if (!entry.isFolder) return "csidl " + std::to_string(entry.csidl);
    return (entry.keepUnexpanded ? "expand " : "sz ") + entry.path;
}

}  // namespace quenmar::testing
