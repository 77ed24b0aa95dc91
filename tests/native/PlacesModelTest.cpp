#include <gtest/gtest.h>

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
        EXPECT_EQ(kSpecialFolders[row].name, expected[row].second) << "row " << row;
        EXPECT_EQ(CatalogueRow(expected[row].first), static_cast<int>(row));
    }
}

TEST(Catalogue, UnlistedCsidlIsUnknown) {
    EXPECT_EQ(SpecialFolderName(8), "Unknown");
    EXPECT_EQ(SpecialFolderName(-1), "Unknown");
    EXPECT_FALSE(CatalogueRow(6).has_value());
    EXPECT_EQ(SpecialFolderCaption(0x2E), "Common Documents");
}

TEST(PathText, TrailingBackslash) {
    EXPECT_EQ(AddTrailingBackslash(""), "");
    EXPECT_EQ(AddTrailingBackslash("C:"), "C:\\");
    EXPECT_EQ(AddTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(StripTrailingBackslash(""), "");
    EXPECT_EQ(StripTrailingBackslash("C:\\\\"), "C:\\");
    EXPECT_EQ(StripTrailingBackslash("D:\\Work"), "D:\\Work");
}

TEST(PathText, TrimsControlsAndBlanksAtBothEnds) {
    EXPECT_EQ(TrimControlsAndBlanks(" \t C:\\x \r\n"), "C:\\x");
    EXPECT_EQ(TrimControlsAndBlanks("\x01\x1F "), "");
    EXPECT_EQ(TrimControlsAndBlanks("a b"), "a b");
    EXPECT_EQ(TrimControlsAndBlanks("\xA0x\xA0"), "\xA0x\xA0") << "only codes 0 to 32";
}

TEST(PathText, LastPathComponent) {
    EXPECT_EQ(LastPathComponent("D:\\Work\\Src"), "Src");
    EXPECT_EQ(LastPathComponent("C:"), "");
    EXPECT_EQ(LastPathComponent("C:\\"), "");
    EXPECT_EQ(LastPathComponent("plain"), "plain");
    EXPECT_EQ(LastPathComponent("C:file"), "file");
    EXPECT_EQ(DirectoryPart("C:\\Data\\Reports"), "C:\\Data\\");
    EXPECT_EQ(DirectoryPart("Reports"), "");
}

// Separators are found in UTF-8 text whatever the names around them hold.
TEST(PathText, NamesInAnyScript) {
    EXPECT_EQ(LastPathComponent("C:\\uni\\Папка\\文件夹"), "文件夹");
    EXPECT_EQ(DirectoryPart("C:\\uni\\Проект 😀 Ω"), "C:\\uni\\");
    EXPECT_EQ(StripTrailingBackslash("C:\\表\\"), "C:\\表");
    EXPECT_EQ(StripTrailingBackslash("C:\\表"), "C:\\表") << "no byte of 表 is a backslash";
}

TEST(Captions, FolderSlotCaptions) {
    FakeShell shell;
    EXPECT_EQ(FolderSlotCaption("D:\\Work\\Src\\", shell), "Src");
    EXPECT_EQ(FolderSlotCaption("D:\\Work\\Src", shell), "Src");
    EXPECT_EQ(FolderSlotCaption("C:\\", shell), "Disk [C:\\] ");
    EXPECT_EQ(FolderSlotCaption("C:", shell), "Disk [C:\\] ");
    // One backslash is stripped: "C:\" is left, whose last component is empty.
    EXPECT_EQ(FolderSlotCaption("C:\\\\", shell), "C:\\");
    // Two characters take the drive branch even when they are no drive.
    EXPECT_EQ(FolderSlotCaption("ab", shell), "Disk [ab\\] ab");
    EXPECT_EQ(FolderSlotCaption("\\\\", shell), "\\");
    EXPECT_EQ(FolderSlotCaption("\\\\server\\share\\", shell), "share");
    EXPECT_EQ(FolderSlotCaption("", shell), "");
    EXPECT_EQ(FolderSlotCaption("x:y:", shell), "x:y:");
}

TEST(Captions, DisplayOfEntries) {
    FakeShell shell;
    TDirInfo folder("D:\\Data\\");
    EXPECT_EQ(DisplayFor(folder, shell), (SlotDisplay{"Data", FakeShell::kFolderIcon}));
    EXPECT_EQ(DisplayFor(TDirInfo("E:"), shell), (SlotDisplay{"Disk [E:\\] ", FakeShell::kDriveIcon}));
    EXPECT_EQ(shell.pathQueries.back(), "E:\\");
    EXPECT_EQ(DisplayFor(TDirInfo(int32_t{0x11}), shell),
              (SlotDisplay{"My Computer", FakeShell::kSpecialBase + 0x11}));
    TDirInfo expandable("%USERPROFILE%\\Downloads");
    expandable.DirExpandable = true;
    EXPECT_EQ(DisplayFor(expandable, shell), (SlotDisplay{"Downloads", FakeShell::kFolderIcon}));
    EXPECT_EQ(shell.pathQueries.back(), "C:\\users\\me\\Downloads\\");
}

TEST(DirInfo, ConstructorsKeepTheOtherValueEmpty) {
    const TDirInfo folder("D:\\x");
    EXPECT_TRUE(folder.IsDir);
    EXPECT_EQ(folder.CSIDL, 0);
    const TDirInfo special(int32_t{5});
    EXPECT_FALSE(special.IsDir);
    EXPECT_EQ(special.Dir, "");
    EXPECT_EQ(special.CSIDL, 5);
}

}  // namespace
}  // namespace quenmar
