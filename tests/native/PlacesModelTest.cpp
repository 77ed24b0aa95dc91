#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "FakeShell.h"
#include "places/Captions.h"
#include "places/Catalogue.h"
#include "places/PathText.h"

namespace quenmar {
namespace {

using testing::FakeShell;

TEST(Catalogue, RowsInOrderWithTheirCsidlsAndNames) {
    const std::vector<std::pair<int32_t, std::string>> expected{
        {34, "History"},         {0, "Desktop"},           {5, "My Documents"},  {17, "My Computer"},
        {18, "My Network Places"}, {32, "Internet Cache"}, {33, "Cookies"},      {36, "Windows Directory"},
        {37, "System Directory"}, {38, "Program Files"},   {39, "My Pictures"},  {43, "Common Files"},
        {46, "Common Documents"}};
    ASSERT_EQ(kSpecialFolders.size(), expected.size());
    for (size_t row = 0; row < expected.size(); ++row) {
        EXPECT_EQ(kSpecialFolders[row].csidl, expected[row].first) << "row " << row;
        EXPECT_EQ(SpecialFolderName(kSpecialFolders[row].csidl), expected[row].second) << "row " << row;
        EXPECT_EQ(CatalogueRow(expected[row].first), static_cast<int>(row));
    }
}

TEST(Catalogue, UnlistedCsidlIsUnknown) {
    EXPECT_EQ(SpecialFolderName(8), "Unknown");
    EXPECT_EQ(SpecialFolderName(-1), "Unknown");
    EXPECT_FALSE(CatalogueRow(6).has_value());
    EXPECT_EQ(SpecialFolderName(0x2E), "Common Documents");
}

// Each rule on its cases; separators are found in UTF-8 text whatever the
// names around them hold (no byte of 表 is a backslash, as one is in Shift-JIS).
TEST(PathText, RulesAndFolderCaptions) {
    FakeShell shell;
    const auto caption = [&](std::string_view path) { return FolderSlotCaption(std::string(path), shell); };
    using Rule = std::function<std::string(std::string_view)>;
    const std::tuple<const char*, Rule, std::string, std::string> cases[] = {
        {"add", AddTrailingBackslash, "", ""},          {"add", AddTrailingBackslash, "C:", "C:\\"},
        {"add", AddTrailingBackslash, "C:\\", "C:\\"},    {"strip", StripTrailingBackslash, "", ""},
        {"strip", StripTrailingBackslash, "C:\\\\", "C:\\"}, {"strip", StripTrailingBackslash, "D:\\Work", "D:\\Work"},
        {"strip", StripTrailingBackslash, "C:\\表\\", "C:\\表"}, {"strip", StripTrailingBackslash, "C:\\表", "C:\\表"},
        {"trim", TrimControlsAndBlanks, " \t C:\\x \r\n", "C:\\x"}, {"trim", TrimControlsAndBlanks, "\x01\x1F ", ""},
        {"trim", TrimControlsAndBlanks, "a b", "a b"},
        {"trim", TrimControlsAndBlanks, "\xA0x\xA0", "\xA0x\xA0"},  // only codes 0 to 32
        {"last", LastPathComponent, "D:\\Work\\Src", "Src"}, {"last", LastPathComponent, "C:", ""},
        {"last", LastPathComponent, "C:\\", ""},      {"last", LastPathComponent, "plain", "plain"},
        {"last", LastPathComponent, "C:file", "file"},  {"last", LastPathComponent, "C:\\uni\\Папка\\文件夹", "文件夹"},
        {"dir", DirectoryPart, "C:\\Data\\Reports", "C:\\Data\\"}, {"dir", DirectoryPart, "Reports", ""},
        {"dir", DirectoryPart, "C:\\uni\\Проект 😀 Ω", "C:\\uni\\"},
        {"caption", caption, "D:\\Work\\Src\\", "Src"},  {"caption", caption, "D:\\Work\\Src", "Src"},
        {"caption", caption, "C:\\", "Disk [C:\\] "},   {"caption", caption, "C:", "Disk [C:\\] "},
        {"caption", caption, "C:\\\\", "C:\\"},  // one backslash stripped leaves "C:\", whose last part is empty
        {"caption", caption, "ab", "Disk [ab\\] ab"},  // two characters take the drive branch, drive or not
        {"caption", caption, "\\\\", "\\"},         {"caption", caption, "\\\\server\\share\\", "share"},
        {"caption", caption, "", ""},                {"caption", caption, "x:y:", "x:y:"},
    };
    for (const auto& [name, rule, text, expected] : cases) EXPECT_EQ(rule(text), expected) << name << " " << text;
}

TEST(Captions, DisplayOfEntries) {
    FakeShell shell;
    const Place folder = Place::Folder("D:\\Data\\");
    EXPECT_EQ(DisplayFor(folder, shell), (SlotDisplay{"Data", FakeShell::kFolderIcon}));
    EXPECT_EQ(DisplayFor(Place::Folder("E:"), shell), (SlotDisplay{"Disk [E:\\] ", FakeShell::kDriveIcon}));
    EXPECT_EQ(shell.pathQueries.back(), "E:\\");
    EXPECT_EQ(DisplayFor(Place::Special(0x11), shell),
              (SlotDisplay{"My Computer", FakeShell::kSpecialBase + 0x11}));
    Place expandable = Place::Folder("%USERPROFILE%\\Downloads");
    expandable.keepUnexpanded = true;
    EXPECT_EQ(DisplayFor(expandable, shell), (SlotDisplay{"Downloads", FakeShell::kFolderIcon}));
    EXPECT_EQ(shell.pathQueries.back(), "C:\\users\\me\\Downloads\\");
}

TEST(Place, FactoriesKeepTheOtherValueEmpty) {
    const Place folder = Place::Folder("D:\\x"), special = Place::Special(5);
    EXPECT_TRUE(folder.isFolder && folder.csidl == 0 && folder.path == "D:\\x");
    EXPECT_TRUE(!special.isFolder && special.csidl == 5 && special.path.empty());
}

}  // namespace
}  // namespace quenmar
