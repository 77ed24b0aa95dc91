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
    EXPECT_EQ(StripTrailingBackslash("", NoLeadBytes), "");
    EXPECT_EQ(StripTrailingBackslash("C:\\\\", NoLeadBytes), "C:\\");
    EXPECT_EQ(StripTrailingBackslash("D:\\Work", NoLeadBytes), "D:\\Work");
}

TEST(PathText, TrimsControlsAndBlanksAtBothEnds) {
    EXPECT_EQ(TrimControlsAndBlanks(" \t C:\\x \r\n"), "C:\\x");
    EXPECT_EQ(TrimControlsAndBlanks("\x01\x1F "), "");
    EXPECT_EQ(TrimControlsAndBlanks("a b"), "a b");
    EXPECT_EQ(TrimControlsAndBlanks("\xA0x\xA0"), "\xA0x\xA0") << "only codes 0 to 32";
}

TEST(PathText, LastPathComponent) {
    EXPECT_EQ(LastPathComponent("D:\\Work\\Src", NoLeadBytes), "Src");
    EXPECT_EQ(LastPathComponent("C:", NoLeadBytes), "");
    EXPECT_EQ(LastPathComponent("C:\\", NoLeadBytes), "");
    EXPECT_EQ(LastPathComponent("plain", NoLeadBytes), "plain");
    EXPECT_EQ(LastPathComponent("C:file", NoLeadBytes), "file");
    EXPECT_EQ(DirectoryPart("C:\\Data\\Reports", NoLeadBytes), "C:\\Data\\");
    EXPECT_EQ(DirectoryPart("Reports", NoLeadBytes), "");
}

// In code page 932 the second byte of U+8868 (0x95 0x5C) is a backslash byte;
// it belongs to the character and is not a separator.
TEST(PathText, DoubleByteTrailBytesAreNoSeparators) {
    const std::string hyou = "\x95\x5C";  // a kanji whose trail byte is '\'
    const std::string path = "C:\\" + hyou;
    EXPECT_EQ(StripTrailingBackslash(path, ShiftJisLeadByte), path);
    EXPECT_EQ(StripTrailingBackslash(path, NoLeadBytes), "C:\\\x95");
    EXPECT_EQ(LastPathComponent(path, ShiftJisLeadByte), hyou);
    EXPECT_EQ(LastPathComponent("D:\\" + hyou + "\\sub", ShiftJisLeadByte), "sub");
    EXPECT_EQ(LastPathComponent("D:\\" + hyou + "\\", ShiftJisLeadByte), "");
    // A colon byte (0x3A) is not a valid trail byte, but a lead byte at the
    // very end of the text has no trail and stands alone.
    EXPECT_EQ(LastPathComponent("ab\x95", ShiftJisLeadByte), "ab\x95");
    EXPECT_TRUE(EndsWithBackslash("x\\", ShiftJisLeadByte));
    EXPECT_FALSE(EndsWithBackslash(hyou, ShiftJisLeadByte));
}

TEST(Captions, FolderSlotCaptions) {
    FakeShell shell;
    EXPECT_EQ(FolderSlotCaption("D:\\Work\\Src\\", shell, NoLeadBytes), "Src");
    EXPECT_EQ(FolderSlotCaption("D:\\Work\\Src", shell, NoLeadBytes), "Src");
    EXPECT_EQ(FolderSlotCaption("C:\\", shell, NoLeadBytes), "Disk [C:\\] ");
    EXPECT_EQ(FolderSlotCaption("C:", shell, NoLeadBytes), "Disk [C:\\] ");
    // One backslash is stripped: "C:\" is left, whose last component is empty.
    EXPECT_EQ(FolderSlotCaption("C:\\\\", shell, NoLeadBytes), "C:\\");
    // Two characters take the drive branch even when they are no drive.
    EXPECT_EQ(FolderSlotCaption("ab", shell, NoLeadBytes), "Disk [ab\\] ab");
    EXPECT_EQ(FolderSlotCaption("\\\\", shell, NoLeadBytes), "\\");
    EXPECT_EQ(FolderSlotCaption("\\\\server\\share\\", shell, NoLeadBytes), "share");
    EXPECT_EQ(FolderSlotCaption("", shell, NoLeadBytes), "");
    EXPECT_EQ(FolderSlotCaption("x:y:", shell, NoLeadBytes), "x:y:");
}

TEST(Captions, DisplayOfEntries) {
    FakeShell shell;
    TDirInfo folder("D:\\Data\\");
    EXPECT_EQ(DisplayFor(folder, shell, NoLeadBytes), (SlotDisplay{"Data", FakeShell::kFolderIcon}));
    EXPECT_EQ(DisplayFor(TDirInfo("E:"), shell, NoLeadBytes), (SlotDisplay{"Disk [E:\\] ", FakeShell::kDriveIcon}));
    EXPECT_EQ(shell.pathQueries.back(), "E:\\");
    EXPECT_EQ(DisplayFor(TDirInfo(int32_t{0x11}), shell, NoLeadBytes),
              (SlotDisplay{"My Computer", FakeShell::kSpecialBase + 0x11}));
    TDirInfo expandable("%USERPROFILE%\\Downloads");
    expandable.DirExpandable = true;
    EXPECT_EQ(DisplayFor(expandable, shell, NoLeadBytes), (SlotDisplay{"Downloads", FakeShell::kFolderIcon}));
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
