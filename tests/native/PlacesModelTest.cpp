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
    const auto caption = [](std::string_view path) { return FolderSlotCaption(std::string(path)); };
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
        {"caption", caption, "C:\\", "C:"},   {"caption", caption, "C:", "C:"},  // a drive as written
        {"caption", caption, "C:\\\\", "C:\\"},  // one backslash stripped leaves "C:\", whose last part is empty
        {"caption", caption, "ab", "ab"},
        {"caption", caption, "\\\\", "\\"},         {"caption", caption, "\\\\server\\share\\", "share"},
        {"caption", caption, "", ""},                {"caption", caption, "x:y:", "x:y:"},
    };
    for (const auto& [name, rule, text, expected] : cases) EXPECT_EQ(rule(text), expected) << name << " " << text;
}

// What a slot shows, by the shell's answer about its place and the dialog's
// rules: its text until the answer comes; the shell's name and icon; the
// caption rule where the shell gives no name; and a place the shell does
// not find kept as stored, marked with why the Open dialog leaves it out
// and, for a Group Policy name, the special folder to use instead. Windows'
// dialog takes the policy's names and expands an expandable value; Wine's
// leaves both out, the latter offering its expanded text.
TEST(Captions, WhatEachPlaceShowsByTheShellsAnswer) {
    enum class Said { Nothing, Found, NotFound };
    struct Case {
        Place entry;
        Said said;
        std::string name;  // the shell's, when found
        int icon;          // the shell's large icon, when found
        SlotDisplay shown;
        OpenDialog dialog = OpenDialog::Wine;
    };
    Place expandable = Place::Folder("%USERPROFILE%\\Downloads");
    expandable.keepUnexpanded = true;
    Place expandableWithoutVariable = Place::Folder("D:\\Data\\");
    expandableWithoutVariable.keepUnexpanded = true;
    const int folder = FakeShell::kFolderIcon;
    const Case cases[] = {
        {Place::Folder("D:\\Data\\"), Said::Nothing, "", 0, {"Data", kNoIcon}},
        {Place::Folder("D:\\Data\\"), Said::Found, "Data", 42, {"Data", 42}},
        {Place::Folder("E:"), Said::Found, "", 9, {"E:", 9}},
        {Place::Folder("E:\\"), Said::Found, "Local Disk (E:)", 9, {"Local Disk (E:)", 9}},
        {Place::Folder("shell:Downloads"), Said::Found, "", 7, {"", 7}},  // as the dialog shows it: no name
        {Place::Special(0x11), Said::Nothing, "", 0, {"My Computer", kNoIcon}},
        {Place::Special(0x11), Said::Found, "This PC", 15, {"This PC", 15}},
        {Place::Folder("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"), Said::Found, "My Computer", 15, {"My Computer", 15}},
        {Place::Special(0x2E), Said::NotFound, "", 0, {"Common Documents", folder, LeftOut::NoSuchSpecialFolder}},
        {Place::Special(0x7777), Said::NotFound, "", 0, {"Unknown", folder, LeftOut::NoSuchSpecialFolder}},
        {Place::Folder("C:\\no\\such\\folder\\"), Said::NotFound, "", 0,
         {"C:\\no\\such\\folder\\", folder, LeftOut::NoSuchFolder}},
        {Place::Folder("\\\\server\\share"), Said::NotFound, "", 0, {"\\\\server\\share", folder, LeftOut::NoSuchFolder}},
        {expandable, Said::NotFound, "", 0, {"%USERPROFILE%\\Downloads", folder, LeftOut::NoSuchFolder}, OpenDialog::Windows},
        {expandable, Said::Found, "Downloads", 5, {"Downloads", 5}, OpenDialog::Windows},
        {expandable, Said::NotFound, "", 0,
         {"%USERPROFILE%\\Downloads", folder, LeftOut::NotExpanded, "C:\\users\\me\\Downloads"}},
        {expandableWithoutVariable, Said::Found, "Data", 42, {"Data", 42}},
        {Place::Folder("MyComputer"), Said::Found, "This PC", 15, {"This PC", 15}, OpenDialog::Windows},
        {Place::Folder("mydocuments"), Said::NotFound, "", 0, {"mydocuments", folder}, OpenDialog::Windows},
        {Place::Folder("Saved Searches"), Said::Found, "Saved Searches", 44, {"Saved Searches", 44}, OpenDialog::Windows},
        {Place::Folder("My Computer"), Said::NotFound, "", 0, {"My Computer", folder, LeftOut::UnknownName}, OpenDialog::Windows},
        {Place::Folder("Music"), Said::NotFound, "", 0, {"Music", folder, LeftOut::UnknownName, 0x0D}},
        {Place::Folder("MyComputer"), Said::NotFound, "", 0, {"MyComputer", folder, LeftOut::UnknownName, 0x11}},
        {Place::Folder("mydocuments"), Said::NotFound, "", 0, {"mydocuments", folder, LeftOut::UnknownName, 0x05}},
        {Place::Folder("CommonPictures"), Said::NotFound, "", 0, {"CommonPictures", folder, LeftOut::UnknownName, 0x36}},
        {Place::Folder("Recent"), Said::NotFound, "", 0, {"Recent", folder, LeftOut::UnknownName, 0x08}},
        {Place::Folder("shell:Downloads"), Said::NotFound, "", 0, {"shell:Downloads", folder, LeftOut::UnknownName}},
        {Place::Folder("My Computer"), Said::NotFound, "", 0, {"My Computer", folder, LeftOut::UnknownName}},
        // A folder that happens to bear a policy's name is a folder.
        {Place::Folder("MyComputer"), Said::Found, "MyComputer", 3, {"MyComputer", 3}},
    };
    for (const Case& c : cases) {
        FakeShell shell;
        ShellAnswer answer;
        answer.found = c.said == Said::Found;
        answer.name = c.name;
        // The shell gives a place it does not find a folder's icon.
        answer.largeIcon = c.said == Said::NotFound ? folder : c.icon;
        const SlotDisplay shown = DisplayFor(c.entry, c.said == Said::Nothing ? nullptr : &answer, shell, c.dialog);
        EXPECT_EQ(shown.caption, c.shown.caption) << c.entry.path << c.entry.csidl;
        EXPECT_EQ(shown.icon, c.shown.icon) << c.entry.path << c.entry.csidl;
        EXPECT_EQ(shown.leftOut, c.shown.leftOut) << c.entry.path << c.entry.csidl;
        EXPECT_EQ(shown.standIn, c.shown.standIn) << c.entry.path << c.entry.csidl;
    }
}

// The shell is asked about a folder by its path as the dialog reads it.
TEST(Captions, AFolderIsAskedAboutByItsExpandedPath) {
    FakeShell shell;
    Place expandable = Place::Folder("%USERPROFILE%\\Downloads");
    expandable.keepUnexpanded = true;
    EXPECT_EQ(QueryOf(expandable, shell, OpenDialog::Windows), (PlaceQuery{false, 0, "C:\\users\\me\\Downloads"}));
    EXPECT_EQ(QueryOf(expandable, shell, OpenDialog::Wine), (PlaceQuery{false, 0, "%USERPROFILE%\\Downloads"}))
        << "Wine's dialog reads it unexpanded";
    for (const OpenDialog dialog : {OpenDialog::Windows, OpenDialog::Wine}) {
        EXPECT_EQ(QueryOf(Place::Folder("%USERPROFILE%"), shell, dialog), (PlaceQuery{false, 0, "%USERPROFILE%"}));
        EXPECT_EQ(QueryOf(Place::Special(0x05), shell, dialog), (PlaceQuery{true, 0x05, ""}));
    }
    // A policy's name, which Windows' dialog takes, is its special folder there.
    EXPECT_EQ(QueryOf(Place::Folder("MyComputer"), shell, OpenDialog::Windows), (PlaceQuery{true, 0x11, ""}));
    EXPECT_EQ(QueryOf(Place::Folder("MyComputer"), shell, OpenDialog::Wine), (PlaceQuery{false, 0, "MyComputer"}));
}

// The catalogue's rows: the shell's names where it has them, the table's
// where it has none, and rows the shell names alike told apart by where
// their folders are.
TEST(Catalogue, RowsShowTheShellsNamesToldApart) {
    std::vector<ShellAnswer> given(kSpecialFolders.size());
    std::array<const ShellAnswer*, kSpecialFolders.size()> answers{};
    const auto say = [&](int32_t csidl, std::string name, std::string location) {
        const int row = *CatalogueRow(csidl);
        given[row] = {true, std::move(name), std::move(location)};
        answers[row] = &given[row];
    };
    say(0x05, "Documents", "C:\\users\\me\\Documents");
    say(0x2E, "Documents", "C:\\users\\Public\\Documents");
    say(0x11, "This PC", "");
    say(0x20, "", "C:\\cache");  // found with no name: the table's
    const int cookies = *CatalogueRow(0x21);
    given[cookies] = {false, "Cookies?", ""};
    answers[cookies] = &given[cookies];  // not found: the table's
    const auto names = CatalogueNames(answers);
    EXPECT_EQ(names[*CatalogueRow(0x05)], "Documents (C:\\users\\me\\Documents)");
    EXPECT_EQ(names[*CatalogueRow(0x2E)], "Documents (C:\\users\\Public\\Documents)");
    EXPECT_EQ(names[*CatalogueRow(0x11)], "This PC");
    EXPECT_EQ(names[*CatalogueRow(0x20)], "Internet Cache");
    EXPECT_EQ(names[cookies], "Cookies");
    EXPECT_EQ(names[*CatalogueRow(0x22)], "History") << "no answer yet";
}

TEST(Place, FactoriesKeepTheOtherValueEmpty) {
    const Place folder = Place::Folder("D:\\x"), special = Place::Special(5);
    EXPECT_TRUE(folder.isFolder && folder.csidl == 0 && folder.path == "D:\\x");
    EXPECT_TRUE(!special.isFolder && special.csidl == 5 && special.path.empty());
}

}  // namespace
}  // namespace quenmar
