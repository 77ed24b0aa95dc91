#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "MemoryRegistry.h"
#include "PolicyBytes.h"
#include "places/PlacesEditor.h"

namespace quenmar::testing {
namespace {

// ASCII text as the UTF-16LE bytes of a registry script.
std::string Utf16(const std::string& ascii) {
    std::string bytes;
    for (char c : ascii) bytes += {c, '\0'};
    return bytes;
}

// The state every sequence starts from: a folder, a special folder, an
// unexpanded path, a special folder the catalogue does not list and a
// drive, with the bar shown.
void PutStart(MemoryRegistry& registry) {
    registry.PutString(kPlacesBarKey, "Place0", "D:\\Work\\");
    registry.PutDword(kPlacesBarKey, "Place1", 5);
    registry.PutString(kPlacesBarKey, "Place2", "%TEMP%\\x", kRegExpandSz);
    registry.PutDword(kPlacesBarKey, "Place3", 8);
    registry.PutString(kPlacesBarKey, "Place4", "E:\\");
    registry.PutDword(kComdlgPolicyKey, "NoPlacesBar", 0);
}

const Place kWork{"D:\\Work\\", 0, true, false};
const Place kDocuments{"C:\\", 5, false, false};
const Place kTemp{"%TEMP%\\x", 0, true, true};
const Place kUnlisted{"C:\\", 8, false, false};
const Place kDriveE{"E:\\", 0, true, false};

struct Step {
    const char* name;
    std::function<bool(PlacesEditor&)> act;
    bool accepted;
};

Step Select(std::optional<int> n) {
    return {"select", [n](PlacesEditor& e) { e.Select(n); return true; }, true};
}
Step Kind(PlaceKind kind) {
    return {"kind", [kind](PlacesEditor& e) { e.SetKind(kind); return true; }, true};
}
Step Path(std::string path, bool accepted = true) {
    return {"path", [path](PlacesEditor& e) { return e.SetPath(path); }, accepted};
}
Step Plain(std::string path) {
    return {"plain", [path](PlacesEditor& e) { return e.SetPlainPath(path); }, true};
}
Step Picked(std::string path, bool accepted = true) {
    return {"picked", [path](PlacesEditor& e) { return e.SetPickedFolder(path); }, accepted};
}
Step Drop(std::string name, PlacesEditor::Dropped found, bool accepted = true) {
    return {"drop", [name, found](PlacesEditor& e) { return e.DropName(name, found); }, accepted};
}
Step Pick(int32_t csidl, bool accepted = true) {
    return {"pick", [csidl](PlacesEditor& e) { return e.PickSpecialFolder(csidl); }, accepted};
}
Step Up(bool accepted = true) { return {"up", [](PlacesEditor& e) { return e.MoveUp(); }, accepted}; }
Step Down(bool accepted = true) { return {"down", [](PlacesEditor& e) { return e.MoveDown(); }, accepted}; }
Step Hide(bool hidden) {
    return {"hide", [hidden](PlacesEditor& e) { e.SetHidden(hidden); return true; }, true};
}
Step Save() { return {"save", [](PlacesEditor& e) { return e.Save().Done(); }, true}; }
Step Reload() { return {"reload", [](PlacesEditor& e) { return e.Load().empty(); }, true}; }

// The inputs, written as the letters of those usable: p(laces) k(inds)
// t(ext path) b(rowse) c(atalogue) u(p) d(own) f(older change).
std::string Letters(const UsableInputs& in) {
    std::string s;
    for (auto [on, letter] : {std::pair{in.places, 'p'}, {in.kinds, 'k'}, {in.path, 't'}, {in.browse, 'b'},
                              {in.catalogue, 'c'}, {in.moveUp, 'u'}, {in.moveDown, 'd'}, {in.changeFolder, 'f'}}) {
        if (on) s += letter;
    }
    return s;
}

// What a slot stands for: a folder's path and form, or a special folder's
// CSIDL; the other half is the editor's memory, which the store does not keep.
std::tuple<bool, std::string, int32_t, bool> Meaning(const Place& p) {
    return p.isFolder ? std::tuple{true, p.path, 0, p.keepUnexpanded} : std::tuple{false, std::string(), p.csidl, false};
}

struct Sequence {
    const char* what;
    std::vector<Step> steps;
    Places slots;
    std::optional<int> selected;
    PlaceKind shown;
    bool hidden;
    std::string inputs;
};

// Each sequence from the same start; the slots, selection, shown kind, hide
// flag and usable inputs it leaves; then a save, read back by a second
// editor, gives the same slots and flag.
TEST(PlacesEditor, SequencesLeaveTheStateTheRulesSay) {
    using K = PlaceKind;
    const Place workAsSpecial{"D:\\Work\\", 0, false, false};
    const Place documentsAsFolder{"C:\\", 5, true, false};
    const Place desktopAsRead{"C:\\", 0, false, false};  // a special folder is stored without its path
    const Sequence sequences[] = {
        {"loaded: slot 0 selected", {}, {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, 0, K::Folder, false, "pktbdf"},
        {"a special slot selected", {Select(1)}, {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, 1, K::SpecialFolder,
         false, "pkcud"},
        {"no slot: the kind stays, nothing to move",
         {Select(1), Select(std::nullopt)}, {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, std::nullopt,
         K::SpecialFolder, false, "pk"},
        {"no slot: a kind chosen changes no slot",
         {Select(std::nullopt), Kind(K::SpecialFolder), Path("F:\\", false), Pick(0x26, false)},
         {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, std::nullopt, K::SpecialFolder, false, "pk"},
        {"kind switched there and back loses nothing",
         {Kind(K::SpecialFolder), Kind(K::Folder), Select(2), Kind(K::SpecialFolder), Kind(K::Folder)},
         {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, 2, K::Folder, false, "pktbudf"},
        {"a folder made special keeps its path", {Kind(K::SpecialFolder)},
         {workAsSpecial, kDocuments, kTemp, kUnlisted, kDriveE}, 0, K::SpecialFolder, false, "pkcd"},
        {"a special slot made a folder keeps its CSIDL", {Select(1), Kind(K::Folder)},
         {kWork, documentsAsFolder, kTemp, kUnlisted, kDriveE}, 1, K::Folder, false, "pktbudf"},
        {"a path set on a special slot makes it a folder", {Select(3), Path("F:\\Music\\")},
         {kWork, kDocuments, kTemp, {"F:\\Music\\", 8, true, false}, kDriveE}, 3, K::Folder, false, "pktbudf"},
        {"a picked folder ends in a backslash, a typed path stays as typed",
         {Picked("F:\\Music"), Select(1), Path("G:\\Docs"), Select(3), Picked("H:\\")},
         {Place::Folder("F:\\Music\\"), {"G:\\Docs", 5, true, false}, kTemp, {"H:\\", 8, true, false}, kDriveE}, 3,
         K::Folder, false, "pktbudf"},
        {"a dropped folder ends in a backslash, a file gives its folder, nothing there nothing",
         {Drop("F:\\A", PlacesEditor::Dropped::Folder), Select(1), Drop("F:\\B\\f.txt", PlacesEditor::Dropped::File),
          Select(2), Drop("F:\\none", PlacesEditor::Dropped::Nothing, false), Select(3),
          Drop("f.txt", PlacesEditor::Dropped::File, false)},
         {Place::Folder("F:\\A\\"), {"F:\\B\\", 5, true, false}, kTemp, kUnlisted, kDriveE}, 3, K::SpecialFolder, false,
         "pkcud"},
        {"the same path keeps its unexpanded form", {Select(2), Path("%TEMP%\\x")},
         {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, 2, K::Folder, false, "pktbudf"},
        {"typed text is trimmed; naming a variable it is kept unexpanded, else plain",
         {Select(2), Path("%TEMP%\\y"), Select(3), Path(" \\\\server\\projects\\\t"), Select(4), Path("D:\\100%\\")},
         {kWork, kDocuments, {"%TEMP%\\y", 0, true, true}, {"\\\\server\\projects\\", 8, true, false},
          {"D:\\100%\\", 0, true, false}}, 4, K::Folder, false, "pktbuf"},
        {"a plain path is stored plain, the same text too", {Select(2), Plain("%TEMP%\\x")},
         {kWork, kDocuments, {"%TEMP%\\x", 0, true, false}, kUnlisted, kDriveE}, 2, K::Folder, false, "pktbudf"},
        {"a catalogue pick makes a folder slot special", {Pick(0x27)},
         {Place{"D:\\Work\\", 0x27, false, false}, kDocuments, kTemp, kUnlisted, kDriveE}, 0, K::SpecialFolder, false,
         "pkcd"},
        {"nothing above the top", {Up(false)}, {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, 0, K::Folder, false,
         "pktbdf"},
        {"moved to the bottom, then not further",
         {Down(), Down(), Down(), Down(), Down(false)}, {kDocuments, kTemp, kUnlisted, kDriveE, kWork}, 4, K::Folder,
         false, "pktbuf"},
        {"moved down and up again", {Select(1), Down(), Up()}, {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, 1,
         K::SpecialFolder, false, "pkcud"},
        {"nothing to move without a slot", {Select(std::nullopt), Up(false), Down(false)},
         {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, std::nullopt, K::Folder, false, "pk"},
        {"hidden: nothing usable, nothing changes",
         {Select(1), Hide(true), Kind(K::Folder), Path("F:\\", false), Pick(0, false), Down(false), Up(false),
          Picked("F:\\", false), Drop("F:\\", PlacesEditor::Dropped::Folder, false)},
         {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, 1, K::SpecialFolder, true, ""},
        {"shown again: the rules are back", {Select(4), Hide(true), Hide(false)},
         {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, 4, K::Folder, false, "pktbuf"},
        {"saved and read again: the same",
         {Select(2), Down(), Select(0), Kind(K::SpecialFolder), Save(), Reload(), Select(3)},
         {desktopAsRead, kDocuments, kUnlisted, kTemp, kDriveE}, 3, K::Folder, false, "pktbudf"},
    };
    for (const Sequence& s : sequences) {
        SCOPED_TRACE(s.what);
        MemoryRegistry registry;
        PutStart(registry);
        PlacesEditor editor(registry);
        EXPECT_TRUE(editor.Load().empty());
        for (const Step& step : s.steps) EXPECT_EQ(step.act(editor), step.accepted) << step.name;
        for (int n = 0; n < kSlotCount; ++n) EXPECT_EQ(editor.Slot(n), s.slots[n]) << "slot " << n;
        EXPECT_EQ(editor.Selected(), s.selected);
        EXPECT_EQ(editor.ShownKind(), s.shown);
        EXPECT_EQ(editor.Hidden(), s.hidden);
        EXPECT_EQ(Letters(editor.Inputs()), s.inputs);
        EXPECT_EQ(editor.TakesDrops(), !s.hidden) << "drops (and the word on a name too long) only while shown";

        ASSERT_TRUE(editor.Save().Done());
        PlacesEditor reader(registry);
        reader.Load();
        for (int n = 0; n < kSlotCount; ++n) EXPECT_EQ(Meaning(reader.Slot(n)), Meaning(s.slots[n])) << "read " << n;
        EXPECT_EQ(reader.Hidden(), s.hidden);
    }
}

// A slot is "changed" while it differs from what was last read or written;
// a move changes both slots it swaps, and only those.
TEST(PlacesEditor, ChangedSlotsAreThoseThatDifferFromTheStore) {
    MemoryRegistry registry;
    PutStart(registry);
    PlacesEditor editor(registry);
    const auto changed = [&] {
        std::string s;
        for (int n = 0; n < kSlotCount; ++n) s += editor.SlotChanged(n) ? 'x' : '.';
        return s + (editor.HiddenChanged() ? 'h' : '-');
    };
    EXPECT_EQ(changed(), ".....-") << "before loading";
    editor.Load();
    EXPECT_EQ(changed(), ".....-");
    editor.Select(1);
    editor.MoveDown();
    EXPECT_EQ(changed(), ".xx..-");
    editor.SetPath("F:\\");
    EXPECT_EQ(changed(), ".xx..-");
    editor.Select(4);
    editor.SetKind(PlaceKind::SpecialFolder);
    editor.SetHidden(true);
    EXPECT_EQ(changed(), ".xx.xh");
    editor.SetHidden(false);
    editor.SetKind(PlaceKind::Folder);
    EXPECT_EQ(changed(), ".xx..-") << "back as it was read";
    ASSERT_TRUE(editor.Save().Done());
    EXPECT_EQ(changed(), ".....-") << "written";
    editor.Select(0);
    editor.SetPath("G:\\");
    editor.RestoreDefaults();
    EXPECT_EQ(changed(), ".....-") << "the defaults are what an empty store reads as";
}

// Restore removes the stored places (and nothing else), shows the defaults
// and selects slot 0; the hide flag stays as the user left it.
TEST(PlacesEditor, RestoreDefaultsRemovesThePlacesOnly) {
    MemoryRegistry registry;
    PutStart(registry);
    registry.PutString(kComdlgPolicyKey, "Other", "kept");
    PlacesEditor editor(registry);
    editor.Load();
    editor.Select(3);
    editor.SetHidden(true);
    editor.RestoreDefaults();
    EXPECT_FALSE(registry.KeyExists(kPlacesBarKey));
    ASSERT_NE(registry.Find(kComdlgPolicyKey, "Other"), nullptr);
    const int32_t defaults[] = {0x22, 0x00, 0x05, 0x11, 0x12};
    for (int n = 0; n < kSlotCount; ++n) EXPECT_EQ(editor.Slot(n), (Place{"C:\\", defaults[n], false, false})) << n;
    EXPECT_EQ(editor.Selected(), 0);
    EXPECT_TRUE(editor.Hidden());
    EXPECT_EQ(registry.Find(kComdlgPolicyKey, "NoPlacesBar")->data, std::string("\0\0\0\0", 4))
        << "restoring writes no hide flag";
}

// The hide box's clicks: the user's settings shown and hidden in turn; a
// policy's as an automatic three-state box goes round, through not configured.
TEST(PlacesEditor, TheHideBoxGoesRoundItsStates) {
    MemoryRegistry registry;
    std::string disk;
    const auto policy = PolicyOver(disk);
    const std::pair<RegistryAccessor*, std::vector<HideFlag>> rows[] = {
        {&registry, {HideFlag::Show, HideFlag::Hide, HideFlag::Show}},
        {policy.get(), {HideFlag::NotSet, HideFlag::Show, HideFlag::Hide, HideFlag::NotSet}},
    };
    for (const auto& [store, round] : rows) {
        PlacesEditor editor(*store);
        editor.Load();
        for (const HideFlag expected : round) {
            EXPECT_EQ(editor.HideSetting(), expected) << (store == policy.get() ? "policy" : "user");
            editor.NextHideSetting();
        }
    }
}

// What cannot be read is told and shown as its default; nothing is written
// before the places were loaded, and a store that cannot be opened says so.
TEST(PlacesEditor, LoadingSavingAndTheirFailures) {
    MemoryRegistry registry;
    PutStart(registry);
    registry.PutRaw(kPlacesBarKey, "Place3", kRegBinary, "\x05");
    registry.PutDword(kComdlgPolicyKey, "NoPlacesBar", 1);
    PlacesEditor editor(registry);
    EXPECT_TRUE(editor.Save().Done()) << "nothing loaded, nothing to write";
    EXPECT_EQ(registry.writeCount, 0);
    EXPECT_FALSE(editor.ExportFile(ExportFormat::RegistryScript).has_value());
    editor.Select(0);
    EXPECT_EQ(editor.Selected(), std::nullopt) << "no slot before loading";

    EXPECT_EQ(editor.Load(), std::vector<std::string>{"Place3"});
    EXPECT_EQ(editor.Slot(3), (Place{"C:\\", 0x11, false, false})) << "slot 3's default";
    EXPECT_TRUE(editor.Hidden());
    EXPECT_EQ(Letters(editor.Inputs()), "");
    ASSERT_TRUE(editor.ExportFile(ExportFormat::RegistryScript).has_value());
    EXPECT_NE(editor.ExportFile(ExportFormat::RegistryScript)->find(Utf16("\"NoPlacesBar\"=dword:00000001")), std::string::npos);

    editor.SetHidden(false);
    editor.SetPath("Q:\\");
    registry.unopenableKeys = {"software\\microsoft\\windows\\currentversion\\policies\\comdlg32\\placesbar"};
    EXPECT_FALSE(editor.Save().Done());
    EXPECT_TRUE(editor.SlotChanged(0)) << "a failed save leaves the slot changed";
}

// What the user and another program do, in turn, to one editor and its store.
using Act = std::function<void(PlacesEditor&, MemoryRegistry&)>;
Act User(std::function<void(PlacesEditor&)> act) {
    return [act](PlacesEditor& e, MemoryRegistry&) { act(e); };
}
Act Other(std::function<void(MemoryRegistry&)> act) {
    return [act](PlacesEditor&, MemoryRegistry& r) { act(r); };
}
// The watch's word: what it tells of is checked where it is taken.
Act Take(std::vector<std::string> told = {}) {
    return [told](PlacesEditor& e, MemoryRegistry&) { EXPECT_EQ(e.TakeStoredChanges(), told) << "told"; };
}
Act Flag(uint32_t value) { return Other([value](MemoryRegistry& r) { r.PutDword(kComdlgPolicyKey, "NoPlacesBar", value); }); }

// Another program's writes against the user's own changes, each row from
// the same start: what the user has not changed since it was read or saved
// follows the store, what the user changed stays, and the editor's own
// save is told from another program's write by what it stored.
TEST(PlacesEditor, StoredChangesTakenInAgainstTheUsers) {
    struct Row {
        const char* what;
        std::function<void(MemoryRegistry&)> start;  // beside PutStart
        std::vector<Act> acts;
        std::array<Place, kSlotCount> slots;  // compared by Meaning
        bool hidden, hiddenChanged;
        PlaceKind shown;
    };
    const auto none = [](MemoryRegistry&) {};
    const auto unreadableFlag = [](MemoryRegistry& r) { r.PutString(kComdlgPolicyKey, "NoPlacesBar", "1"); };
    const auto unreadablePlace3 = [](MemoryRegistry& r) { r.PutRaw(kPlacesBarKey, "Place3", kRegBinary, "\x05"); };
    const Place dwordFive = Place::Special(5), desktop = Place::Special(0x11), fDrive = Place::Folder("F:\\");
    const Place defaultSlot3 = PlacesStore::DefaultEntry(3);
    using K = PlaceKind;
    const Row rows[] = {
        {"the user's hide flag stays when another writes one", unreadableFlag,
         {User([](PlacesEditor& e) { e.SetHidden(true); }), Flag(0), Take()},
         {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, true, true, K::Folder},
        {"another's flag, taken in, is then the one remembered", none,
         {Flag(1), Take(), Flag(0), Take()}, {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, false, false, K::Folder},
        {"the selected slot's kind follows another's write", none,
         {Other([](MemoryRegistry& r) { r.PutDword(kPlacesBarKey, "Place0", 5); }), Take()},
         {dwordFive, kDocuments, kTemp, kUnlisted, kDriveE}, false, false, K::SpecialFolder},
        {"a readable write is not told beside an unreadable value left as it was", unreadablePlace3,
         {Other([](MemoryRegistry& r) { r.PutString(kPlacesBarKey, "Place1", "F:\\"); }), Take()},
         {kWork, fDrive, kTemp, defaultSlot3, kDriveE}, false, false, K::Folder},
        {"a number's value and an unreadable number of that size are different writes", none,
         {Other([](MemoryRegistry& r) { r.PutDword(kPlacesBarKey, "Place1", 8); }), Take(),
          Other([](MemoryRegistry& r) { r.PutRaw(kPlacesBarKey, "Place1", kRegDword, std::string(8, '\0')); }),
          Take({"Place1"})},
         {kWork, PlacesStore::DefaultEntry(1), kTemp, kUnlisted, kDriveE}, false, false, K::Folder},
        {"another's flag after the editor's save, before the watch's word of it", none,
         {User([](PlacesEditor& e) { e.SetHidden(true); }), User([](PlacesEditor& e) { ASSERT_TRUE(e.Save().Done()); }),
          Flag(0), Take()},
         {kWork, kDocuments, kTemp, kUnlisted, kDriveE}, false, false, K::Folder},
        {"a save takes in what another wrote before the watch told of it", none,
         {User([](PlacesEditor& e) { e.Select(1); e.PickSpecialFolder(0x11); }),
          Other([](MemoryRegistry& r) { r.PutString(kPlacesBarKey, "Place4", "F:\\"); r.PutDword(kPlacesBarKey, "Place1", 0x26); }),
          User([](PlacesEditor& e) { ASSERT_TRUE(e.Save().Done()); }), Take()},
         {kWork, desktop, kTemp, kUnlisted, fDrive}, false, false, K::SpecialFolder},
        {"the user's slot stays, and is written; another's on an untouched slot is taken", none,
         {User([](PlacesEditor& e) { e.Select(2); e.SetPath("G:\\"); }),
          Other([](MemoryRegistry& r) { r.PutDword(kPlacesBarKey, "Place2", 0); r.PutDword(kPlacesBarKey, "Place3", 0x11); }),
          Take(), User([](PlacesEditor& e) { ASSERT_TRUE(e.Save().Done()); }), Take()},
         {kWork, kDocuments, Place::Folder("G:\\"), desktop, kDriveE}, false, false, K::Folder},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MemoryRegistry registry;
        PutStart(registry);
        row.start(registry);
        PlacesEditor editor(registry);
        editor.Load();
        for (const Act& act : row.acts) act(editor, registry);
        for (int n = 0; n < kSlotCount; ++n) EXPECT_EQ(Meaning(editor.Slot(n)), Meaning(row.slots[n])) << "slot " << n;
        EXPECT_EQ(editor.Hidden(), row.hidden);
        EXPECT_EQ(editor.HiddenChanged(), row.hiddenChanged);
        EXPECT_EQ(editor.ShownKind(), row.shown);
        // What is shown is what a save leaves stored.
        ASSERT_TRUE(editor.Save().Done());
        PlacesEditor reader(registry);
        reader.Load();
        for (int n = 0; n < kSlotCount; ++n) EXPECT_EQ(Meaning(reader.Slot(n)), Meaning(editor.Slot(n))) << "read " << n;
        EXPECT_EQ(reader.Hidden(), row.hidden);
    }
}

// A save, a preview and a restore each end done or with what failed, in
// the user's words; what failed stays the user's change, for the next save.
TEST(PlacesEditor, SaveOutcomes) {
    const std::string placesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar";
    const std::string lowerPlacesKey = "software\\microsoft\\windows\\currentversion\\policies\\comdlg32\\placesbar";
    enum class Op { Save, Preview, PreviewHidden, Restore };
    struct Row {
        const char* what;
        std::function<void(MemoryRegistry&)> fault;
        Op op;
        std::string failure;
        bool open;             // the preview's dialog
        std::string changed;   // slots the user changed after it, as x and .
    };
    const Row rows[] = {
        {"saved", [](MemoryRegistry&) {}, Op::Save, "", false, "....."},
        {"the places' key not opened", [&](MemoryRegistry& r) { r.unopenableKeys = {lowerPlacesKey}; }, Op::Save,
         "Failed to open the key '" + placesKey + "'", false, "x...."},
        {"a place's write failed", [](MemoryRegistry& r) { r.failingWrites = {"Place0"}; }, Op::Save,
         "Failed to set data for 'Place0'", false, "x...."},
        {"previewed after its save", [](MemoryRegistry&) {}, Op::Preview, "", true, "....."},
        {"hidden: previewed without the bar", [](MemoryRegistry&) {}, Op::PreviewHidden, "", true, "....."},
        {"no preview after a failed save", [](MemoryRegistry& r) { r.failingWrites = {"Place1"}; }, Op::Preview,
         "Failed to set data for 'Place1'", false, "x...."},
        {"restored", [](MemoryRegistry&) {}, Op::Restore, "", false, "....."},
        {"the stored places not removed: the defaults are the user's change",
         [](MemoryRegistry& r) { r.failDeletes = true; }, Op::Restore, "Failed to delete the key '" + placesKey + "'",
         false, "xxxxx"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MemoryRegistry registry;
        PutStart(registry);
        PlacesEditor editor(registry);
        editor.Load();
        editor.SetPath("Q:\\");
        row.fault(registry);
        StoreOutcome outcome;
        switch (row.op) {
        case Op::Save: outcome = editor.Save(); break;
        case Op::PreviewHidden: editor.SetHidden(true); [[fallthrough]];
        case Op::Preview: {
            const PlacesEditor::Preview preview = editor.PreparePreview();
            outcome = preview.saved;
            EXPECT_EQ(preview.Opens(), row.open);
            EXPECT_EQ(preview.noPlacesBar, row.op == Op::PreviewHidden);
            break;
        }
        case Op::Restore: outcome = editor.RestoreDefaults(); break;
        }
        // What failed leads the message; the store's words for why follow it.
        EXPECT_EQ(outcome.failure.substr(0, outcome.failure.find('\n')), row.failure) << row.what;
        std::string changed;
        for (int n = 0; n < kSlotCount; ++n) changed += editor.SlotChanged(n) ? 'x' : '.';
        EXPECT_EQ(changed, row.changed);
    }
}

}  // namespace
}  // namespace quenmar::testing
