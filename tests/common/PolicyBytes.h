#pragma once

// Registry.pol files built byte by byte from the format's description
// ([MS-GPREG]: "PReg", version 1, then [key;value;type;size;data] in
// UTF-16LE, each name ending in a zero unit), for tests to read and compare.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "places/PolicyRegistry.h"

namespace quenmar::testing {

inline const std::string kPolicyHeader{"PReg\x01\x00\x00\x00", 8};

// Text of ASCII letters as UTF-16LE, with its zero unit when asked.
inline std::string Units(const std::string& text, bool terminated = true) {
    std::string out;
    for (const char c : text) out += {c, '\0'};
    return terminated ? out + std::string(2, '\0') : out;
}
inline std::string Le32(uint32_t n) {
    return {static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16), static_cast<char>(n >> 24)};
}
inline std::string PolicyEntryBytes(const std::string& key, const std::string& value, uint32_t type, const std::string& data) {
    return Units("[", false) + Units(key) + Units(";", false) + Units(value) + Units(";", false) + Le32(type) +
           Units(";", false) + Le32(static_cast<uint32_t>(data.size())) + Units(";", false) + data + Units("]", false);
}

// The store's registry over a policy file held in `disk` (empty: none there),
// counting the writes that replace it and the reads of it; the file's stamp
// is its bytes.
inline std::unique_ptr<PolicyRegistry> PolicyOver(std::string& disk, int* writes = nullptr, int* reads = nullptr) {
    return std::make_unique<PolicyRegistry>(
        "Registry.pol",
        [&disk, reads](std::string& bytes) -> std::optional<std::string> {
            if (reads) ++*reads;
            bytes = disk;
            return std::nullopt;
        },
        [&disk, writes](const std::string& bytes) -> std::optional<std::string> {
            if (writes) ++*writes;
            disk = bytes;
            return std::nullopt;
        },
        PolicyRegistry::AfterWrite(), [&disk] { return disk; });
}

}  // namespace quenmar::testing
