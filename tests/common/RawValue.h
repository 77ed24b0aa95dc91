#pragma once

// Registry values as raw bytes, for putting and checking them.

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>

#include "places/RegistryAccessor.h"

namespace quenmar::testing {

struct RawValue {
    uint32_t type = 0;
    std::string data;
    bool operator==(const RawValue&) const = default;
};

inline std::string Sz(const std::string& text) { return text + '\0'; }
inline std::string Dword(uint32_t value) {
    std::string data(4, '\0');
    std::memcpy(data.data(), &value, 4);
    return data;
}
inline RawValue SzValue(const std::string& text) { return {kRegSz, Sz(text)}; }
inline RawValue DwordValue(uint32_t value) { return {kRegDword, Dword(value)}; }

inline void PrintTo(const RawValue& value, std::ostream* os) {
    *os << "type " << value.type << " data[";
    for (unsigned char c : value.data) *os << ' ' << static_cast<int>(c);
    *os << " ]";
}

}  // namespace quenmar::testing
