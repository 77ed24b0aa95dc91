// The UTF-8/UTF-16 converter on any input, both ways, against a decoder and
// an encoder written here from the definitions (Unicode's table of well-formed
// byte sequences, widened to take surrogates, and the UTF-16 pairing rule).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "places/Utf16.h"
#include "FuzzInputs.h"

using namespace quenmar;

namespace {

// The code points of well-formed generalised UTF-8, or nothing.
bool DecodeWellFormed(const std::string& bytes, std::vector<uint32_t>& points) {
    for (size_t i = 0; i < bytes.size();) {
        const auto b = [&](size_t k) { return i + k < bytes.size() ? static_cast<uint8_t>(bytes[i + k]) : 0x100; };
        const auto in = [](unsigned v, unsigned lo, unsigned hi) { return v >= lo && v <= hi; };
        const unsigned b0 = b(0);
        size_t n;
        if (b0 <= 0x7F) n = 1;
        else if (in(b0, 0xC2, 0xDF) && in(b(1), 0x80, 0xBF)) n = 2;
        else if (b0 == 0xE0 && in(b(1), 0xA0, 0xBF) && in(b(2), 0x80, 0xBF)) n = 3;
        else if (in(b0, 0xE1, 0xEF) && in(b(1), 0x80, 0xBF) && in(b(2), 0x80, 0xBF)) n = 3;
        else if (b0 == 0xF0 && in(b(1), 0x90, 0xBF) && in(b(2), 0x80, 0xBF) && in(b(3), 0x80, 0xBF)) n = 4;
        else if (in(b0, 0xF1, 0xF3) && in(b(1), 0x80, 0xBF) && in(b(2), 0x80, 0xBF) && in(b(3), 0x80, 0xBF)) n = 4;
        else if (b0 == 0xF4 && in(b(1), 0x80, 0x8F) && in(b(2), 0x80, 0xBF) && in(b(3), 0x80, 0xBF)) n = 4;
        else return false;
        static const uint32_t masks[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
        uint32_t point = b0 & masks[n];
        for (size_t k = 1; k < n; ++k) point = point * 64 + (b(k) - 0x80);
        points.push_back(point);
        i += n;
    }
    return true;
}

std::u16string ToUnits(const std::vector<uint32_t>& points) {
    std::u16string units;
    for (uint32_t p : points) {
        if (p >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((p - 0x10000) / 0x400));
            units += static_cast<char16_t>(0xDC00 + ((p - 0x10000) % 0x400));
        } else {
            units += static_cast<char16_t>(p);
        }
    }
    return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // As UTF-16 units: back unchanged, and through UTF-8 that is well formed
    // and holds no surrogate pair in two halves.
    std::u16string units;
    for (size_t i = 0; i + 1 < size; i += 2) units += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    const std::string utf8 = Utf16ToUtf8(units);
    CHECK(Utf8ToUtf16(utf8) == units);
    std::vector<uint32_t> points;
    CHECK(DecodeWellFormed(utf8, points));
    CHECK(ToUnits(points) == units);
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        CHECK(!(points[i] >= 0xD800 && points[i] <= 0xDBFF && points[i + 1] >= 0xDC00 && points[i + 1] <= 0xDFFF));
    }

    // As UTF-8 bytes: well-formed text is decoded as the definition says;
    // anything else gives U+FFFD somewhere and is then stable.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string decoded = Utf8ToUtf16(bytes);
    points.clear();
    if (DecodeWellFormed(bytes, points)) {
        CHECK(decoded == ToUnits(points));
    } else {
        CHECK(decoded.find(u'\xFFFD') != std::u16string::npos);
    }
    CHECK(Utf8ToUtf16(Utf16ToUtf8(decoded)) == decoded);
    return 0;
}
