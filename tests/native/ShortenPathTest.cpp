#include <gtest/gtest.h>

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

TEST(ShortenPath, FitsAlreadyOrHasNoDirectory) {
    EXPECT_EQ(Shorten("C:\\a\\b", 100), "C:\\a\\b");
    EXPECT_EQ(Shorten("LongNameWithoutDirectory", 3), "LongNameWithoutDirectory");
    EXPECT_EQ(Shorten("", 0), "");
}

TEST(ShortenPath, DrivelessAndNetworkPaths) {
    EXPECT_EQ(Shorten("\\projects\\quenmar\\src\\main.cpp", 20), "\\...\\src\\main.cpp");
    EXPECT_EQ(Shorten("\\projects\\quenmar\\src\\main.cpp", 13), "\\...\\main.cpp");
    EXPECT_EQ(Shorten("\\projects\\quenmar\\src\\main.cpp", 12), "...\\main.cpp");
    EXPECT_EQ(Shorten("\\\\server\\share\\dir\\name", 23), "\\\\server\\share\\dir\\name");
    EXPECT_EQ(Shorten("\\\\server\\share\\dir\\name", 21), "\\...\\share\\dir\\name");
    EXPECT_EQ(Shorten("\\\\server\\share\\dir\\name", 4), "name");
    EXPECT_EQ(Shorten("C:name", 2), "name");
}

// The name is never cut inside: "表" in Shift-JIS ends in a backslash byte,
// in UTF-8 it has none.
TEST(ShortenPath, NamesInAnyScript) {
    EXPECT_EQ(ShortenPath("C:\\aaaaaaaa表bb\\cc\\name", Width, 0), "name");
    EXPECT_EQ(Shorten("C:\\aaaaaaaa表bb\\cc\\Папка", 23), "C:\\...\\cc\\Папка");
}

}  // namespace
}  // namespace quenmar
