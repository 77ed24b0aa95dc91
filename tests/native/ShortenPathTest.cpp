#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "../fuzz/FuzzInputs.h"
#include "folderpicker/ShortenPath.h"

namespace quenmar {
namespace {

// Every character 5 pixels wide.
int Width(const std::string& text) { return static_cast<int>(text.size()) * 5; }

std::string Shorten(const std::string& path, size_t fitChars) {
    return ShortenPath(path, Width, static_cast<int>(fitChars) * 5);
}

TEST(ShortenPath, NarrowsStepByStep) {
    const std::string path = "C:\\Documents and Settings\\User\\My Documents";
    const std::vector<std::string> steps{path, "C:\\...\\User\\My Documents", "C:\\...\\My Documents",
                                         "...\\My Documents", "My Documents"};
    for (size_t i = 0; i < steps.size(); ++i) {
        // The widest limit that the step fits but the one before does not.
        EXPECT_EQ(Shorten(path, steps[i].size()), steps[i]) << "step " << i;
    }
    EXPECT_EQ(Shorten(path, 3), "My Documents") << "the name alone stays, too wide or not";
}

// Paths that fit or have no directory, paths without a drive, network
// paths, and names in any script, which are never cut inside ("表" ends in a
// backslash byte in Shift-JIS; in UTF-8 no character has one).
TEST(ShortenPath, OtherPaths) {
    const struct {
        const char* path;
        size_t fitChars;
        const char* shown;
    } cases[] = {
        {"C:\\a\\b", 100, "C:\\a\\b"},
        {"LongNameWithoutDirectory", 3, "LongNameWithoutDirectory"},
        {"", 0, ""},
        {"\\projects\\quenmar\\src\\main.cpp", 20, "\\...\\src\\main.cpp"},
        {"\\projects\\quenmar\\src\\main.cpp", 13, "\\...\\main.cpp"},
        {"\\projects\\quenmar\\src\\main.cpp", 12, "...\\main.cpp"},
        {"\\\\server\\share\\dir\\name", 23, "\\\\server\\share\\dir\\name"},
        {"\\\\server\\share\\dir\\name", 21, "\\...\\share\\dir\\name"},
        {"\\\\server\\share\\dir\\name", 4, "name"},
        {"C:name", 2, "name"},
        {"C:\\aaaaaaaa表bb\\cc\\name", 0, "name"},
        {"C:\\aaaaaaaa表bb\\cc\\Папка", 23, "C:\\...\\cc\\Папка"},
    };
    for (const auto& c : cases) EXPECT_EQ(Shorten(c.path, c.fitChars), c.shown) << c.path << " in " << c.fitChars;
}

// The fuzz target's seeds read as their names say, and each gives the
// shortening it was made for; a drive goes with the last directory, and a
// folder whose name starts with a dot is dropped like any other.
TEST(ShortenPath, TheFuzzSeedsAreWhatTheirNamesSay) {
    const std::map<std::string, std::pair<std::string, std::string>> seeds{
        {"long", {"C:\\Documents and Settings\\User\\My Documents", "C:\\...\\My Documents"}},
        {"unicode", {"C:\\Папка\\Проект 😀\\文件夹", "...\\文件夹"}},
        {"dot-folder", {"C:\\.ab\\x\\proj\\Name", "C:\\...\\x\\proj\\Name"}},
        {"drive-root", {"C:\\Name", "Name"}},
        {"unc", {"\\\\server\\share\\Name", "\\...\\share\\Name"}}};
    const std::string folder = QUENMAR_SOURCE_DIR "/tests/fuzz/corpus/ShortenPathFuzz/";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 5) << "every seed named here";
    for (const auto& [name, expected] : seeds) {
        const auto input = testing::DecodeShortenPathInput(testing::Seed("ShortenPathFuzz", name));
        const auto width = [&input](const std::string& text) {
            int total = 0;
            for (unsigned char c : text) total += input.widths[c];
            return total;
        };
        EXPECT_EQ(input.path, expected.first) << name;
        EXPECT_EQ(ShortenPath(input.path, width, input.limit), expected.second) << name;
    }
}

}  // namespace
}  // namespace quenmar
