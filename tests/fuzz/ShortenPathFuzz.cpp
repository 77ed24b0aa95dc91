// ShortenPath on any path, any character widths and any limit, held against
// a reference written here: the rule's shortenings listed one after the
// other, of which the first that fits is shown (the last when none fits).
#include <cstdlib>
#include <vector>

#include "FuzzInputs.h"
#include "folderpicker/ShortenPath.h"

using namespace quenmar;
using namespace quenmar::testing;

namespace {

// C:\a\b\name, C:\...\b\name, C:\...\name, ...\name, name: the directories
// after the drive and its first backslash replaced by "...", one more each
// time; the drive goes with the "\" in front of the last "...\".
std::vector<std::string> Shortenings(const std::string& path) {
    const size_t cut = path.find_last_of("\\:") == std::string::npos ? 0 : path.find_last_of("\\:") + 1;
    const std::string dir = path.substr(0, cut), name = path.substr(cut);
    const std::string drive = dir.size() >= 2 && dir[1] == ':' ? dir.substr(0, 2) : "";
    const std::string lead = dir.size() > drive.size() && dir[drive.size()] == '\\' ? "\\" : "";
    std::vector<std::string> pieces{""};  // of what follows, at each backslash
    for (size_t i = drive.size() + lead.size(); i < dir.size(); ++i) {
        if (dir[i] == '\\') {
            pieces.emplace_back();
        } else {
            pieces.back() += dir[i];
        }
    }
    std::vector<std::string> shown{path};
    if (dir.empty()) return shown;
    for (size_t i = 1; i < pieces.size(); ++i) {
        std::string rest;
        for (size_t j = i; j < pieces.size(); ++j) rest += pieces[j] + (j + 1 < pieces.size() ? "\\" : "");
        shown.push_back(drive + lead + "...\\" + rest + name);
    }
    // With a backslash in front, what is left of the directory before the
    // name: the ellipsis when the directories ran out at a backslash, the
    // backslash alone when text without one was left.
    if (!lead.empty() && pieces.size() > 1 && pieces.back().empty()) shown.push_back("...\\" + name);
    if (!lead.empty() && !pieces.back().empty()) shown.push_back(drive + "\\" + name);
    shown.push_back(name);
    return shown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ShortenPathInput input = DecodeShortenPathInput(std::string(reinterpret_cast<const char*>(data), size));
    const std::string& path = input.path;
    const auto width = [&](const std::string& text) {
        int total = 0;
        for (unsigned char c : text) total += input.widths[c];
        return total;
    };
    const int limit = input.limit;
    const std::vector<std::string> shortenings = Shortenings(path);
    std::string expected = shortenings.back();
    for (const std::string& candidate : shortenings) {
        if (width(candidate) <= limit) {
            expected = candidate;
            break;
        }
    }
    CHECK(ShortenPath(path, width, limit) == expected);
    return 0;
}
