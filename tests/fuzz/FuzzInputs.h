#pragma once

// How the fuzz targets read their input, shared with the test that checks
// that each committed seed is what its name says.

#include <array>
#include <string>

namespace quenmar::testing {

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

}  // namespace quenmar::testing
