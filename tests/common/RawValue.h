#pragma once

// Registry values as raw bytes, for putting and checking them.

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>

#include "places/DirInfo.h"
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

// What of an entry the registry keeps: its kind and the value of that kind.
inline std::string StoredForm(const TDirInfo& entry) {
    if (!entry.IsDir) return "csidl " + std::to_string(entry.CSIDL);
    if (entry.Kept) {
        std::string text = "kept type " + std::to_string(entry.Kept->type) + " [";
        for (unsigned char c : entry.Kept->bytes) text += ' ' + std::to_string(c);
        return text + " ]";
    }
    return (entry.DirExpandable ? "expand " : "sz ") + entry.Dir;
}

}  // namespace quenmar::testing
