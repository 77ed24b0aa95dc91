#pragma once

// How the fuzz targets read their input, shared with the test that checks
// that each committed seed is what its name says.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A property a fuzz target holds: its failure ends the run as a finding.
#define CHECK(condition) \
    if (!(condition)) std::abort()

namespace quenmar::testing {

#ifdef QUENMAR_SOURCE_DIR
// A committed seed of a fuzz target.
inline std::string Seed(const std::string& target, const std::string& name) {
    std::ifstream file(QUENMAR_SOURCE_DIR "/tests/fuzz/corpus/" + target + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}
#endif

// ShortenPath's input: the path, then (after a zero byte) the limit in two
// bytes and the characters' widths, 1 to 8 pixels, byte by byte (missing
// ones 1 + the character's value modulo 8).
struct ShortenPathInput {
    std::string path;
    int limit = 0;
    std::array<int, 256> widths{};
};

inline ShortenPathInput DecodeShortenPathInput(const std::string& bytes) {
    ShortenPathInput input;
    const size_t end = bytes.find('\0');
    input.path = bytes.substr(0, end);
    const std::string rest = end == std::string::npos ? "" : bytes.substr(end + 1);
    const auto byte = [&rest](size_t i) { return i < rest.size() ? static_cast<unsigned char>(rest[i]) : 0; };
    input.limit = (byte(0) | byte(1) << 8) % 411 - 10;  // -10 to 400
    for (int c = 0; c < 256; ++c) input.widths[c] = 1 + ((2 + c < static_cast<int>(rest.size()) ? byte(2 + c) : c) & 7);
    return input;
}

// The store's starting values, read from the front: a count (up to 8), then
// for each value a byte for its key (odd: the common-dialog policy key) and
// name (0-4: Place0-4, 5: "PLACE" and a digit from the next byte, 6: "Place"
// and the next byte's number, 7: a name up to a zero byte), its type in
// four bytes, its length (a byte below FF, else two more bytes times 16: up
// to 1 MB, what the input lacks filled with "p") and its bytes.
// What is left drives the saves.
struct StoreValue {
    bool policyKey = false;
    std::string name;
    uint32_t type = 0;
    std::string data;
};

inline std::vector<StoreValue> DecodeStoreValues(const std::string& bytes, size_t& used) {
    const auto byte = [&]() -> uint32_t { return used < bytes.size() ? static_cast<unsigned char>(bytes[used++]) : 0; };
    std::vector<StoreValue> values(byte() % 9);
    for (StoreValue& value : values) {
        const uint32_t which = byte();
        value.policyKey = which & 1;
        const uint32_t kind = (which >> 1) % 8;
        if (kind < 5) value.name = "Place" + std::to_string(kind);
        if (kind == 5) value.name = "PLACE" + std::to_string(byte() % 6);
        if (kind == 6) value.name = "Place" + std::to_string(byte());
        for (uint32_t c = kind == 7 ? byte() : 0; c; c = value.name.size() < 12 ? byte() : 0) value.name += char(c);
        value.type = byte() | byte() << 8 | byte() << 16 | byte() << 24;
        const uint32_t first = byte();
        const size_t length = first < 0xFF ? first : (byte() | byte() << 8) << 4;
        value.data = bytes.substr(std::min(used, bytes.size()), length);
        used += value.data.size();
        value.data.resize(length, 'p');
    }
    return values;
}

}  // namespace quenmar::testing
