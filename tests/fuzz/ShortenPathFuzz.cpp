// ShortenPath on any path, any character widths and any limit.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "folderpicker/ShortenPath.h"

using namespace quenmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int limit = in.ConsumeIntegralInRange<int>(-10, 400);
    uint8_t widths[256];
    for (uint8_t& w : widths) w = 1 + (in.ConsumeIntegral<uint8_t>() & 7);
    const std::string path = in.ConsumeRemainingBytesAsString();
    const auto width = [&](const std::string& text) {
        int total = 0;
        for (unsigned char c : text) total += widths[c];
        return total;
    };
    const std::string shown = ShortenPath(path, width, limit);
    // What fits stays whole; anything shortened fits or is the name alone.
    if (width(path) <= limit && shown != path) std::abort();
    const std::string name = path.substr(LastSeparator(path) == std::string::npos
                                             ? 0
                                             : LastSeparator(path) + 1);
    if (shown != path && width(shown) > limit && shown != name) std::abort();
    return 0;
}
