// Registry.pol files, built here byte by byte from the format's description.

#include <gtest/gtest.h>

#include <tuple>

#include "PolicyBytes.h"
#include "ToolOutput.h"
#include "StringTables.h"
#include "places/PlacesEditor.h"
#include "places/PolicyFile.h"
#include "places/PolicyRegistry.h"

namespace quenmar::testing {
namespace {

// The reasons are read from the English string table.
const bool englishTexts = (UseEnglishStringTable(), true);

const std::string kHeader = kPolicyHeader;
const std::string kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar";
// The same, as a Python string literal spells it.
const std::string kKeyForPython = "Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Policies\\\\Comdlg32\\\\Placesbar";

std::string Entry(const std::string& key, const std::string& value, uint32_t type, const std::string& data) {
    return PolicyEntryBytes(key, value, type, data);
}

TEST(PolicyFile, RefusesWhatIsNotAWholePolicyFileWithTheOffsetWhereItWentWrong) {
    const std::string good = Entry(kKey, "Place0", 4, Le32(5));
    const size_t valueAt = kHeader.size() + 2 + (kKey.size() + 1) * 2 + 2;
    const size_t sizeAt = valueAt + 14 + 2 + 4 + 2;
    std::string pastEnd = kHeader + good;
    pastEnd.replace(sizeAt, 4, Le32(7));  // the data and the closing bracket are 6
    struct Row {
        const char* what;
        std::string bytes;
        size_t offset;
        PolicyFileFault fault;
    };
    const Row rows[] = {
        {"another signature", "PRex" + kHeader.substr(4) + good, 0, PolicyFileFault::NotPolicyFile},
        {"version 2", "PReg" + Le32(2) + good, 4, PolicyFileFault::OtherVersion},
        {"cut inside the key", kHeader + good.substr(0, 20), kHeader.size() + 2, PolicyFileFault::CutShort},
        {"no closing bracket", kHeader + good.substr(0, good.size() - 2), kHeader.size() + good.size() - 2,
         PolicyFileFault::CutShort},
        {"no opening bracket", kHeader + good.substr(2), kHeader.size(), PolicyFileFault::Malformed},
        {"a size past the end", pastEnd, sizeAt, PolicyFileFault::SizePastEnd},
        {"a value's name of 260 units", kHeader + Entry(kKey, std::string(260, 'v'), 4, Le32(5)), valueAt,
         PolicyFileFault::NameTooLong},
        {"a header cut short", "PReg\x01", 4, PolicyFileFault::CutShort},
        {"an odd byte after the last entry", kHeader + good + "x", kHeader.size() + good.size(), PolicyFileFault::CutShort},
    };
    for (const Row& row : rows) {
        std::optional<PolicyFileRefusal> refusal;
        const PolicyFile file = PolicyFile::Read(row.bytes, refusal);
        ASSERT_TRUE(refusal) << row.what;
        EXPECT_EQ(refusal->offset, row.offset) << row.what;
        EXPECT_EQ(refusal->fault, row.fault) << row.what;
        EXPECT_TRUE(file.Entries().empty()) << row.what;
    }
    std::optional<PolicyFileRefusal> refusal;
    PolicyFile::Read(kHeader + std::string(PolicyFile::kLargestFile, '\0'), refusal);
    EXPECT_EQ(refusal->fault, PolicyFileFault::TooLarge);
    EXPECT_EQ(DescribeRefusal("C:\\GPO\\Registry.pol", {PolicyFileFault::SizePastEnd, 174}),
              "The policy file 'C:\\GPO\\Registry.pol' cannot be read: a value's size runs past the end of the file "
              "(at byte 174).");
    PolicyFile::Read(kHeader + Entry(kKey, std::string(259, 'v'), 4, Le32(5)), refusal);
    EXPECT_FALSE(refusal) << "259 units is the longest name";
    EXPECT_EQ(PolicyFile::Read("", refusal).Bytes(), kHeader) << "no file: an empty policy";
}

// What another tool wrote around the places (other keys, every type, the
// markers, a size that leaves a string unterminated) stays byte for byte and
// in its place through every edit.
TEST(PolicyFile, KeepsEveryEntryItDoesNotChangeByteForByteAndInItsPlace) {
    const std::vector<std::string> others = {
        Entry("Software\\Policies\\Other", "Text", 1, Units("value")),
        Entry(kKey, "**del.Place3", 1, Units(" ")),
        Entry("Software\\Policies\\Other", "**DeleteValues", 1, Units("a;b")),
        Entry(kKey, "Place1", 1, Units("C:\\data", false)),  // no zero unit
        Entry("Software\\Policies\\Other", "Binary", 3, std::string("\x00\xFF\x10", 3)),
        Entry("Software\\Policies\\Other", "**SecureKey", 4, Le32(1)),
        Entry("Software\\Policies\\Other", "Many", 7, Units("a") + Units("b") + Units("")),
        Entry("Software\\Policies\\Other", "Big", 11, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)),
        Entry("Software\\Policies\\Other", "**delvals.", 1, Units(" ")),
        Entry("Software\\Policies\\Other\\Below", "**DeleteKeys", 1, Units("x")),
    };
    const std::string place0 = Entry(kKey, "Place0", 4, Le32(5));
    std::string original = kHeader + place0;
    for (const std::string& other : others) original += other;
    std::optional<PolicyFileRefusal> refusal;
    PolicyFile file = PolicyFile::Read(original, refusal);
    ASSERT_FALSE(refusal) << "at " << refusal->offset;
    EXPECT_EQ(file.Bytes(), original) << "read and written unchanged";
    file.Set(kKey, "Place1", 1, StringData("C:\\data"));
    EXPECT_EQ(file.Bytes(), original) << "the same text kept as another tool wrote it";
    file.Set(kKey, "Place0", 4, Le32(5));
    EXPECT_EQ(file.Bytes(), original) << "the same number";

    file.Set(kKey, "Place0", 1, StringData("D:\\"));
    file.Set(kKey, "Place2", 4, Le32(17));
    std::string expected = kHeader + Entry(kKey, "Place0", 1, Units("D:\\"));
    for (const std::string& other : others) expected += other;
    expected += Entry(kKey, "Place2", 4, Le32(17));
    EXPECT_EQ(file.Bytes(), expected) << "a changed value in its place, a new one at the end";

    EXPECT_TRUE(file.RemoveKey(kKey));
    expected = kHeader + others[0] + others[1] + others[2];
    for (size_t i = 4; i < others.size(); ++i) expected += others[i];
    EXPECT_EQ(file.Bytes(), expected) << "the places gone, every marker kept";
}

// Group Policy applies the entries in order: a marker deletes what came
// before it, never what comes after; names match in either case.
TEST(PolicyFile, FindsAValueAsGroupPolicyLeavesIt) {
    const std::string set = Entry(kKey, "Place2", 4, Le32(5));
    struct Row {
        const char* what;
        std::string entries;
        bool found;
    };
    const Row rows[] = {
        {"set", set, true},
        {"set, in other letters", Entry(kKey.substr(0, 9) + "MICROSOFT" + kKey.substr(18), "PLACE2", 4, Le32(5)), true},
        {"deleted by name", set + Entry(kKey, "**del.Place2", 1, Units(" ")), false},
        {"another deleted", set + Entry(kKey, "**del.Place1", 1, Units(" ")), true},
        {"deleted before it is set", Entry(kKey, "**del.Place2", 1, Units(" ")) + set, true},
        {"every value deleted", set + Entry(kKey, "**delvals.", 1, Units(" ")), false},
        {"in a list deleted", set + Entry(kKey, "**DeleteValues", 1, Units("Place1;Place2")), false},
        {"not in the list", set + Entry(kKey, "**DeleteValues", 1, Units("Place1;Place22")), true},
        {"its key deleted", set + Entry(kKey.substr(0, kKey.rfind('\\')), "**DeleteKeys", 1, Units("Placesbar")), false},
    };
    for (const Row& row : rows) {
        std::optional<PolicyFileRefusal> refusal;
        PolicyFile file = PolicyFile::Read(kHeader + row.entries, refusal);
        ASSERT_FALSE(refusal) << row.what;
        EXPECT_EQ(file.Find(kKey, "Place2") != nullptr, row.found) << row.what;
        file.Set(kKey, "Place2", 4, Le32(6));
        ASSERT_NE(file.Find(kKey, "Place2"), nullptr) << row.what << ": set whatever came before";
        EXPECT_EQ(file.Find(kKey, "Place2")->data, Le32(6)) << row.what;
    }
}

}  // namespace
}  // namespace quenmar::testing

#include "places/PlacesStore.h"
#include "places/PolicyRegistry.h"

namespace quenmar::testing {
namespace {

// The store over a policy file on a disk of the test's: one whole write per
// save, what the user did not change kept as it was, the hide flag stated
// only when set, and a file that cannot be read or written left as it was.
TEST(PolicyFile, TheStoreReadsAndWritesThePlacesOfAPolicyFile) {
    std::optional<std::string> disk;
    bool writeFails = false;
    int writes = 0;
    PolicyRegistry registry(
        "Registry.pol",
        [&](std::string& bytes) -> std::optional<std::string> {
            bytes = disk.value_or("");
            return std::nullopt;
        },
        [&](const std::string& bytes) -> std::optional<std::string> {
            if (writeFails) return "Could not write";
            ++writes;
            disk = bytes;
            return std::nullopt;
        });
    const PlacesStore store(registry);
    LoadedSlots loaded = store.LoadSlots();
    EXPECT_EQ(loaded.stored[0], kNoPlacesKey) << "no file: the policy sets no places";
    EXPECT_EQ(store.LoadHideFlag(), HideFlag::NotSet);

    const std::string other = Entry("Software\\Policies\\Other", "**DeleteValues", 1, Units("a;b"));
    const std::string place1 = Entry(kKey, "Place1", 1, Units("C:\\data", false));
    disk = kHeader + other + place1 + Entry(kKey, "**del.Place3", 1, Units(" "));
    loaded = store.LoadSlots();
    ASSERT_TRUE(loaded.entries[1].isFolder);
    EXPECT_EQ(loaded.entries[1].path, "C:\\data");
    for (int n : {0, 2, 3, 4}) EXPECT_EQ(loaded.entries[n], Place::NotSet()) << n;
    EXPECT_EQ(store.LoadHideFlag(), HideFlag::NotSet);
    loaded.entries[0] = Place::Special(17);
    ASSERT_TRUE(store.Save(loaded.entries, true).Done());
    EXPECT_EQ(writes, 1) << "one write for the places and the flag";
    std::string expected = kHeader + other + place1 + Entry(kKey, "**del.Place3", 1, Units(" ")) +
                           Entry(kKey, "Place0", 4, Le32(17)) +
                           Entry(kKey.substr(0, kKey.rfind('\\')), "NoPlacesBar", 4, Le32(1));
    EXPECT_EQ(disk, expected) << "the places not set stay without entries";
    EXPECT_EQ(store.LoadHideFlag(), HideFlag::Hide);

    StoreChanges unconfigure;
    unconfigure.hide = HideFlag::NotSet;
    ASSERT_TRUE(store.Save(unconfigure).Done());
    expected.resize(expected.size() - Entry(kKey.substr(0, kKey.rfind('\\')), "NoPlacesBar", 4, Le32(1)).size());
    EXPECT_EQ(disk, expected) << "not configured, the flag's entry goes";
    EXPECT_EQ(writes, 2);
    ASSERT_TRUE(store.Save(StoreChanges{}).Done());
    ASSERT_TRUE(store.Save(loaded.entries, false).Done());
    EXPECT_EQ(store.LoadHideFlag(), HideFlag::Show) << "shown is a 0, as the policy's Disabled";
    EXPECT_EQ(writes, 3);
    ASSERT_TRUE(store.Save(loaded.entries, false).Done());
    EXPECT_EQ(writes, 3) << "what the file holds already, not written again";

    // Another editor's save is read; a file that cannot be written is told
    // and the next reading is the file's, not the failed changes.
    disk = kHeader + other + Entry(kKey, "Place2", 1, Units("E:\\"));
    writeFails = true;
    loaded.entries[2] = Place::Folder("F:\\");
    EXPECT_EQ(store.Save(loaded.entries, false).failure, "Could not write");
    EXPECT_EQ(store.LoadSlots().entries[2].path, "E:\\");
    writeFails = false;

    ASSERT_TRUE(store.DeleteCustomPlaces().Done());
    EXPECT_EQ(disk, kHeader + other) << "the places gone, other entries kept";
    EXPECT_EQ(store.LoadSlots().stored[2], kNoPlacesKey);

    const std::string broken = kHeader + other.substr(0, other.size() - 2);
    disk = broken;
    EXPECT_EQ(store.Save(loaded.entries, true).failure,
              "The policy file 'Registry.pol' cannot be read: an entry is cut short (at byte " +
                  std::to_string(broken.size()) + ").");
    EXPECT_EQ(disk, broken) << "never written over";
}


// An administrator's policy is changed only where they changed it: an edit
// that ends where it began writes nothing, a changed place changes its own
// entry in its place (a place made not set loses it), and every other entry
// stays byte for byte and in order. The expected files are spelled out
// entry by entry from the format.
TEST(PolicyFile, APolicyIsWrittenOnlyWhereTheUserChangedIt) {
    const std::string comdlg = kKey.substr(0, kKey.rfind('\\'));
    const std::string other = Entry("Software\\Policies\\Other", "Kept", 1, Units("x"));
    // A plain path that looks like it names a variable, kept plain.
    const std::string work = Entry(kKey, "Place0", 1, Units("D:\\100%x%\\"));
    const std::string documents = Entry(kKey, "Place1", 4, Le32(5));
    const std::string shown = Entry(comdlg, "NoPlacesBar", 4, Le32(0));  // the hide policy Disabled
    const std::string start = kHeader + other + work + documents + shown;
    using Act = std::function<void(PlacesEditor&)>;
    const auto select = [](int n) { return [n](PlacesEditor& e) { e.Select(n); }; };
    struct Row {
        const char* what;
        std::vector<Act> acts;
        std::optional<std::string> written;  // none: no write at all
    };
    const Row rows[] = {
        {"opened and closed", {}, std::nullopt},
        {"kinds switched back, the same path typed, moved and moved back",
         {select(0), [](PlacesEditor& e) { e.SetKind(PlaceKind::SpecialFolder); },
          [](PlacesEditor& e) { e.SetKind(PlaceKind::Folder); }, [](PlacesEditor& e) { e.SetPath("D:\\100%x%\\ "); },
          [](PlacesEditor& e) { e.MoveDown(); }, [](PlacesEditor& e) { e.MoveUp(); }},
         std::nullopt},
        {"a place never set, selected and its kind switched", {select(3), [](PlacesEditor& e) { e.SetKind(PlaceKind::SpecialFolder); }},
         std::nullopt},
        {"a place not set given a path", {select(2), [](PlacesEditor& e) { e.SetPath("E:\\"); }},
         start + Entry(kKey, "Place2", 1, Units("E:\\"))},
        {"an expandable path in a policy",
         {select(4), [](PlacesEditor& e) { e.SetPath("%USERPROFILE%\\Projects"); }},
         start + Entry(kKey, "Place4", 2, Units("%USERPROFILE%\\Projects"))},
        {"a set place changed in its place", {select(1), [](PlacesEditor& e) { e.PickSpecialFolder(17); }},
         kHeader + other + work + Entry(kKey, "Place1", 4, Le32(17)) + shown},
        {"a set place removed", {select(0), [](PlacesEditor& e) { e.Unset(); }}, kHeader + other + documents + shown},
        {"a set place's path cleared", {select(0), [](PlacesEditor& e) { e.SetPath(""); }}, kHeader + other + documents + shown},
        {"moved past a place not set", {select(1), [](PlacesEditor& e) { e.MoveDown(); }},
         kHeader + other + work + shown + Entry(kKey, "Place2", 4, Le32(5))},
        {"Restore Defaults", {[](PlacesEditor& e) { e.RestoreDefaults(); }}, kHeader + other + shown},
        {"hidden", {[](PlacesEditor& e) { e.SetHideSetting(HideFlag::Hide); }},
         kHeader + other + work + documents + Entry(comdlg, "NoPlacesBar", 4, Le32(1))},
        {"the hide policy not configured", {[](PlacesEditor& e) { e.SetHideSetting(HideFlag::NotSet); }},
         kHeader + other + work + documents},
    };
    for (const Row& row : rows) {
        std::string disk = start;
        int writes = 0;
        const auto registry = PolicyOver(disk, &writes);
        PlacesEditor editor(*registry);
        editor.Load();
        for (const Act& act : row.acts) act(editor);
        ASSERT_TRUE(editor.Save().Done()) << row.what;
        EXPECT_EQ(writes, row.written ? 1 : 0) << row.what;
        EXPECT_EQ(disk, row.written.value_or(start)) << row.what;
        // Saved again, or reloaded and saved, nothing more is written.
        ASSERT_TRUE(editor.Save().Done());
        editor.Load();
        ASSERT_TRUE(editor.Save().Done());
        EXPECT_EQ(writes, row.written ? 1 : 0) << row.what << ": saved again";
    }
}

// The file is read once as a policy is opened, once before each save
// (another editor's change is never written over), and not for the program's
// own write; a change by another program is read when the watch tells it.
TEST(PolicyFile, AFileIsReadOnceAnOpenAndOnceASave) {
    std::string disk = kHeader + Entry(kKey, "Place0", 4, Le32(5));
    int writes = 0, reads = 0;
    const auto registry = PolicyOver(disk, &writes, &reads);
    ASSERT_FALSE(registry->Reread());  // as the program checks it can be read
    PlacesEditor editor(*registry);
    editor.Load();
    editor.TakeStoredChanges();  // the watch's first word
    EXPECT_EQ(reads, 1) << "opened";
    editor.Select(0);
    editor.PickSpecialFolder(17);
    ASSERT_TRUE(editor.Save().Done());
    editor.TakeStoredChanges();  // the watch sees the save
    EXPECT_EQ(std::pair(reads, writes), std::pair(2, 1)) << "saved";
    disk = kHeader + Entry(kKey, "Place0", 4, Le32(17)) + Entry(kKey, "Place1", 4, Le32(0));
    editor.TakeStoredChanges();
    EXPECT_EQ(reads, 3);
    EXPECT_EQ(editor.Slot(1).csidl, 0) << "another's write is read";
}


// What Samba's own writer packs (python3-samba's ndr_pack of preg.file,
// every type among it) is read entry by entry and shown; and a file edited
// here is read back by Samba's parser as the list of entries it must hold.
TEST(PolicyFile, SambasFilesAreReadAndFilesEditedHereReadBySamba) {
    const std::string packed = OutputAbout(
        "import sys\nfrom samba.dcerpc import preg\nfrom samba.ndr import ndr_pack\nf = preg.file()\nes = []\n"
        "for k, v, t, d in [('Software\\\\Policies\\\\X', 'Sz', 1, 'C:\\\\x'), ('Software\\\\Policies\\\\X', 'Ex', 2, '%TEMP%'),"
        " ('Software\\\\Policies\\\\X', 'Bin', 3, b'\\x01\\x02\\x03'), ('Software\\\\Policies\\\\X', 'Multi', 7, b'a\\x00\\x00\\x00\\x00\\x00'),"
        " ('Software\\\\Policies\\\\X', 'Q', 11, 2**40), ('Software\\\\Policies\\\\X', '**del.Gone', 1, ' '),"
        " ('" + kKeyForPython + "', 'Place0', 4, 17), ('" + kKeyForPython + "', 'Place1', 1, 'D:\\\\Data\\\\')]:\n"
        "    e = preg.entry(); e.keyname = k; e.valuename = v; e.type = t; e.data = d; es.append(e)\n"
        "f.entries = es; f.num_entries = len(es)\nsys.stdout.buffer.write(ndr_pack(f))",
        "/usr/bin/python3");
    ASSERT_EQ(packed.substr(0, 4), "PReg") << packed;
    std::optional<PolicyFileRefusal> refusal;
    const PolicyFile file = PolicyFile::Read(packed, refusal);
    ASSERT_FALSE(refusal) << refusal->offset;
    const std::string x = "Software\\Policies\\X";
    const std::vector<std::tuple<std::string, std::string, uint32_t, std::string>> expected{
        {x, "Sz", 1, Units("C:\\x")},
        {x, "Ex", 2, Units("%TEMP%")},
        {x, "Bin", 3, "\1\2\3"},
        {x, "Multi", 7, std::string("a\0\0\0\0\0", 6)},
        {x, "Q", 11, std::string("\0\0\0\0\0\1\0\0", 8)},
        {x, "**del.Gone", 1, Units(" ")},
        {kKey, "Place0", 4, Le32(17)},
        {kKey, "Place1", 1, Units("D:\\Data\\")},
    };
    ASSERT_EQ(file.Entries().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const PolicyEntry& entry = file.Entries()[i];
        EXPECT_EQ(std::tie(entry.key, entry.value, entry.type, entry.data), expected[i]) << i;
    }

    std::string disk = packed;
    const auto registry = PolicyOver(disk);
    PlacesEditor editor(*registry);
    editor.Load();
    EXPECT_EQ(editor.Slot(0), (Place{"C:\\", 17, false, false}));  // a special folder keeps a path, unused
    EXPECT_EQ(editor.Slot(1), Place::Folder("D:\\Data\\"));
    EXPECT_EQ(editor.Slot(2), Place::NotSet());
    editor.Select(1);
    editor.SetPath("E:\\");
    editor.Select(3);
    editor.PickSpecialFolder(5);
    ASSERT_TRUE(editor.Save().Done());
    EXPECT_EQ(SambaReads(disk), "PReg 1\n"
                                "Software\\Policies\\X|Sz|1|C:\\x\n"
                                "Software\\Policies\\X|Ex|2|%TEMP%\n"
                                "Software\\Policies\\X|Bin|3|b'\\x01\\x02\\x03'\n"
                                "Software\\Policies\\X|Multi|7|b'a\\x00\\x00\\x00\\x00\\x00'\n"
                                "Software\\Policies\\X|Q|11|1099511627776\n"
                                "Software\\Policies\\X|**del.Gone|1| \n" +
                                    kKey + "|Place0|4|17\n" + kKey + "|Place1|1|E:\\\n" + kKey + "|Place3|4|5\n");
}

}  // namespace
}  // namespace quenmar::testing
