#pragma once

#include "CatalogueTable.h"

// Store scenarios run against any registry: each test binary instantiates
// them with a backend that can put, read and remove raw values.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "FakeShell.h"
#include "RawValue.h"
#include "places/Captions.h"
#include "places/PlacesStore.h"

namespace quenmar::testing {

template <typename Backend>
class StoreScenarios : public ::testing::Test {
protected:
    void SetUp() override { backend.Reset(); }
    void TearDown() override { backend.Reset(); }

    PlacesStore Store() { return PlacesStore(backend.Accessor()); }
    // What the window shows for a loaded entry before the shell answers
    // about it (its icon is the shell's, which the caption tests cover).
    SlotDisplay Shown(const Place& entry) { return DisplayFor(entry, nullptr, shell, OpenDialog::Wine); }
    void PutPlace(int n, uint32_t type, const std::string& data) {
        backend.Put(kPlacesBarKey, PlaceValueName(n), type, data);
    }
    std::optional<RawValue> Stored(int n) { return backend.Get(kPlacesBarKey, PlaceValueName(n)); }
    std::optional<RawValue> NoPlacesBar() { return backend.Get(kComdlgPolicyKey, kNoPlacesBarValue); }

    void ExpectDefaults(const LoadedSlots& loaded) {
        const int32_t csidls[] = {34, 0, 5, 17, 18};
        const std::vector<std::string> captions = DefaultCaptions();
        for (int n = 0; n < kSlotCount; ++n) {
            const Place& entry = loaded.entries[n];
            EXPECT_FALSE(entry.isFolder) << n;
            EXPECT_EQ(entry.csidl, csidls[n]) << n;
            EXPECT_EQ(entry.path, "C:\\") << n;
            EXPECT_EQ(Shown(entry).caption, captions[n]) << n;
        }
    }

    Backend backend;
    FakeShell shell;
};

TYPED_TEST_SUITE_P(StoreScenarios);

TYPED_TEST_P(StoreScenarios, NoKeyGivesDefaultsWhichSaveAsFiveCsidls) {
    const LoadedSlots loaded = this->Store().LoadSlots();
    this->ExpectDefaults(loaded);
    EXPECT_TRUE(loaded.replacedValues.empty());
    EXPECT_FALSE(this->backend.KeyExists(kPlacesBarKey)) << "loading must not create the key";
    EXPECT_EQ(this->Store().LoadHideFlag(), HideFlag::None);
    EXPECT_FALSE(this->backend.KeyExists(kComdlgPolicyKey)) << "loading must not create the key";

    ASSERT_TRUE(this->Store().Save(loaded.entries, false).Done());
    const uint32_t csidls[] = {34, 0, 5, 17, 18};
    for (int n = 0; n < kSlotCount; ++n) EXPECT_EQ(this->Stored(n), DwordValue(csidls[n])) << n;
    EXPECT_EQ(this->NoPlacesBar(), DwordValue(0));
    EXPECT_EQ(this->backend.ValueNames(kPlacesBarKey).size(), 5u);
}

TYPED_TEST_P(StoreScenarios, MissingValuesAreDesktopWithEmptyPath) {
    this->PutPlace(2, kRegSz, Sz("D:\\Data\\"));
    const LoadedSlots loaded = this->Store().LoadSlots();
    for (int n : {0, 1, 3, 4}) {
        EXPECT_FALSE(loaded.entries[n].isFolder) << n;
        EXPECT_EQ(loaded.entries[n].csidl, 0) << n;
        EXPECT_EQ(loaded.entries[n].path, "") << n;
        EXPECT_EQ(this->Shown(loaded.entries[n]).caption, "Desktop") << n;
    }
    EXPECT_TRUE(loaded.entries[2].isFolder);
    EXPECT_EQ(loaded.entries[2].path, "D:\\Data\\");
    EXPECT_EQ(this->Shown(loaded.entries[2]).caption, "Data");
    EXPECT_TRUE(loaded.replacedValues.empty());

    ASSERT_TRUE(this->Store().Save(loaded.entries, false).Done());
    EXPECT_EQ(this->Stored(2), SzValue("D:\\Data\\")) << "a path is saved as the user left it";
    EXPECT_EQ(this->Stored(0), DwordValue(0));
}

// Empty text of either kind is drive C:, stored as plain text: "C:\" has
// nothing to expand.
TYPED_TEST_P(StoreScenarios, EmptyTextLoadsAsDriveC) {
    this->PutPlace(1, kRegSz, Sz(""));
    this->PutPlace(3, kRegExpandSz, Sz(""));
    const LoadedSlots loaded = this->Store().LoadSlots();
    for (int n : {1, 3}) {
        EXPECT_TRUE(loaded.entries[n].isFolder) << n;
        EXPECT_FALSE(loaded.entries[n].keepUnexpanded) << n;
        EXPECT_EQ(loaded.entries[n].path, "C:\\") << n;
        EXPECT_EQ(this->Shown(loaded.entries[n]).caption, "C:") << n;
    }
    ASSERT_TRUE(this->Store().Save(loaded.entries, false).Done());
    EXPECT_EQ(this->Stored(1), SzValue("C:\\"));
    EXPECT_EQ(this->Stored(3), SzValue("C:\\"));
}

TYPED_TEST_P(StoreScenarios, DwordSlotsKeepTheirCsidlAndGetDriveC) {
    this->PutPlace(0, kRegDword, Dword(8));
    this->PutPlace(3, kRegDword, Dword(0x26));
    const LoadedSlots loaded = this->Store().LoadSlots();
    EXPECT_EQ(loaded.entries[0].csidl, 8);
    EXPECT_EQ(loaded.entries[0].path, "C:\\");
    EXPECT_EQ(this->Shown(loaded.entries[0]).caption, "Unknown");
    EXPECT_EQ(this->Shown(loaded.entries[3]).caption, "Program Files");
    ASSERT_TRUE(this->Store().Save(loaded.entries, false).Done());
    EXPECT_EQ(this->Stored(0), DwordValue(8));
    EXPECT_EQ(this->Stored(3), DwordValue(0x26));
}

TYPED_TEST_P(StoreScenarios, ExpandableTextStaysExpandable) {
    this->PutPlace(4, kRegExpandSz, Sz("%USERPROFILE%\\Downloads"));
    const LoadedSlots loaded = this->Store().LoadSlots();
    const Place& entry = loaded.entries[4];
    EXPECT_TRUE(entry.isFolder);
    EXPECT_TRUE(entry.keepUnexpanded);
    EXPECT_EQ(entry.path, "%USERPROFILE%\\Downloads");
    EXPECT_EQ(this->Shown(entry).caption, "Downloads");
    EXPECT_TRUE(loaded.replacedValues.empty());
    ASSERT_TRUE(this->Store().Save(loaded.entries, false).Done());
    EXPECT_EQ(this->Stored(4), (RawValue{kRegExpandSz, Sz("%USERPROFILE%\\Downloads")}));
}

// Values of a type that is neither text nor a number get their slot's
// default; the other slots and the hide flag load as usual.
TYPED_TEST_P(StoreScenarios, UnreadableValuesGetTheirSlotsDefault) {
    this->PutPlace(0, kRegBinary, Dword(5));
    this->PutPlace(1, kRegSz, Sz("E:\\Music"));
    this->PutPlace(2, kRegMultiSz, std::string("a\0b\0\0", 5));
    this->PutPlace(3, kRegQword, std::string(8, '\1'));
    this->PutPlace(4, kRegBinary, std::string(12, '\7'));
    this->backend.Put(kComdlgPolicyKey, kNoPlacesBarValue, kRegDword, Dword(1));

    const LoadedSlots loaded = this->Store().LoadSlots();
    EXPECT_EQ(loaded.replacedValues, (std::vector<std::string>{"Place0", "Place2", "Place3", "Place4"}));
    const int32_t defaults[] = {34, 0, 5, 17, 18};
    for (int n : {0, 2, 3, 4}) {
        EXPECT_FALSE(loaded.entries[n].isFolder) << n;
        EXPECT_EQ(loaded.entries[n].csidl, defaults[n]) << n;
        EXPECT_EQ(loaded.entries[n].path, "C:\\") << n;
    }
    EXPECT_EQ(loaded.entries[1].path, "E:\\Music");
    EXPECT_EQ(this->Store().LoadHideFlag(), HideFlag::Hide);

    const std::string message = PlacesStore::ReplacedValuesMessage(loaded.replacedValues);
    EXPECT_NE(message.find("Place0, Place2, Place3, Place4"), std::string::npos) << message;

    ASSERT_TRUE(this->Store().Save(loaded.entries, true).Done());
    EXPECT_EQ(this->Stored(0), DwordValue(34));
    EXPECT_EQ(this->Stored(1), SzValue("E:\\Music"));
    EXPECT_EQ(this->Stored(4), DwordValue(18));
    EXPECT_EQ(this->NoPlacesBar(), DwordValue(1));
}

TYPED_TEST_P(StoreScenarios, HideFlagValues) {
    struct Case {
        std::optional<RawValue> stored;
        HideFlag expected;
    };
    const Case cases[] = {
        {DwordValue(1), HideFlag::Hide},
        {DwordValue(0), HideFlag::Show},
        {DwordValue(2), HideFlag::Show},
        {DwordValue(0xFFFFFFFF), HideFlag::Show},
        {std::nullopt, HideFlag::Show},
        {SzValue("1"), HideFlag::None},
        {RawValue{kRegBinary, std::string(8, '\0')}, HideFlag::None},
    };
    for (const Case& c : cases) {
        this->backend.Reset();
        this->backend.CreateKey(kComdlgPolicyKey);
        if (c.stored) this->backend.Put(kComdlgPolicyKey, kNoPlacesBarValue, c.stored->type, c.stored->data);
        EXPECT_EQ(this->Store().LoadHideFlag(), c.expected)
            << "stored " << ::testing::PrintToString(c.stored);
    }
}

TYPED_TEST_P(StoreScenarios, SaveWritesHideFlagOverAnyType) {
    this->backend.Put(kComdlgPolicyKey, kNoPlacesBarValue, kRegDword, Dword(2));
    EXPECT_EQ(this->Store().LoadHideFlag(), HideFlag::Show);
    const LoadedSlots loaded = this->Store().LoadSlots();
    ASSERT_TRUE(this->Store().Save(loaded.entries, false).Done());
    EXPECT_EQ(this->NoPlacesBar(), DwordValue(0));
    this->backend.Put(kComdlgPolicyKey, kNoPlacesBarValue, kRegSz, Sz("yes"));
    ASSERT_TRUE(this->Store().Save(loaded.entries, true).Done());
    EXPECT_EQ(this->NoPlacesBar(), DwordValue(1));
}

TYPED_TEST_P(StoreScenarios, SaveLeavesOtherValuesAndDeleteKeepsHideFlag) {
    this->backend.Put(kPlacesBarKey, "Place7", kRegSz, Sz("Z:\\"));
    this->backend.Put(std::string(kPlacesBarKey) + "\\Sub", "x", kRegDword, Dword(1));
    const LoadedSlots loaded = this->Store().LoadSlots();
    ASSERT_TRUE(this->Store().Save(loaded.entries, true).Done());
    EXPECT_EQ(this->backend.Get(kPlacesBarKey, "Place7"), SzValue("Z:\\"));

    EXPECT_TRUE(this->Store().DeleteCustomPlaces().Done());
    EXPECT_FALSE(this->backend.KeyExists(kPlacesBarKey));
    EXPECT_FALSE(this->backend.KeyExists(std::string(kPlacesBarKey) + "\\Sub"));
    EXPECT_EQ(this->NoPlacesBar(), DwordValue(1));
    EXPECT_TRUE(this->Store().DeleteCustomPlaces().Done()) << "nothing left to delete: done";
    this->ExpectDefaults(this->Store().LoadSlots());
}

TYPED_TEST_P(StoreScenarios, FolderSlotsSaveTheirTextAndSpecialSlotsTheirNumber) {
    LoadedSlots loaded = this->Store().LoadSlots();
    loaded.entries[0].isFolder = true;  // a switched slot keeps its "C:\"
    loaded.entries[1] = Place::Folder("\\\\server\\share");
    loaded.entries[2] = Place::Folder("");
    loaded.entries[3].csidl = -7;
    ASSERT_TRUE(this->Store().Save(loaded.entries, false).Done());
    EXPECT_EQ(this->Stored(0), SzValue("C:\\"));
    EXPECT_EQ(this->Stored(1), SzValue("\\\\server\\share"));
    EXPECT_EQ(this->Stored(2), SzValue(""));
    EXPECT_EQ(this->Stored(3), DwordValue(static_cast<uint32_t>(-7)));
    const LoadedSlots again = this->Store().LoadSlots();
    EXPECT_EQ(again.entries[3].csidl, -7);
    EXPECT_EQ(again.entries[2].path, "C:\\");
}

// Names in any script load as UTF-8 and are written back byte for byte,
// whichever slot they move to, across kind switches and repeated saves; a
// surrogate without its partner, which names may hold, survives as well.
TYPED_TEST_P(StoreScenarios, NamesInAnyScriptAreWrittenBackByteForByte) {
    struct Case {
        uint32_t type;
        std::u16string stored;
        std::string loaded, caption;
    };
    const Case cases[] = {
        {kRegSz, u"C:\\uni\\Папка\\", "C:\\uni\\Папка\\", "Папка"},
        {kRegExpandSz, u"%SystemDrive%\\文件夹", "%SystemDrive%\\文件夹", "文件夹"},
        {kRegSz, u"D:\\Проект 😀 Ω", "D:\\Проект 😀 Ω", "Проект 😀 Ω"},
        {kRegSz, u"E:\\x\xD800y", "E:\\x\xED\xA0\x80y", "x\xED\xA0\x80y"},
        {kRegExpandSz, u"F:\\\xDC01", "F:\\\xED\xB0\x81", "\xED\xB0\x81"},
    };
    for (int n = 0; n < kSlotCount; ++n) this->PutPlace(n, cases[n].type, Sz(cases[n].stored));
    const LoadedSlots loaded = this->Store().LoadSlots();
    EXPECT_TRUE(loaded.replacedValues.empty());
    for (int n = 0; n < kSlotCount; ++n) {
        EXPECT_TRUE(loaded.entries[n].isFolder) << n;
        EXPECT_EQ(loaded.entries[n].keepUnexpanded, cases[n].type == kRegExpandSz) << n;
        EXPECT_EQ(loaded.entries[n].path, cases[n].loaded) << n;
        if (cases[n].type == kRegSz) {
            EXPECT_EQ(this->Shown(loaded.entries[n]).caption, cases[n].caption) << n;
        }
    }

    // Rotated by one slot, the first switched to a special folder and back
    // between the saves.
    Places moved;
    for (int n = 0; n < kSlotCount; ++n) moved[n] = loaded.entries[(n + 1) % kSlotCount];
    for (int save = 0; save < 3; ++save) {
        moved[0].isFolder = save != 1;
        ASSERT_TRUE(this->Store().Save(moved, false).Done());
    }
    for (int n = 0; n < kSlotCount; ++n) {
        const Case& c = cases[(n + 1) % kSlotCount];
        EXPECT_EQ(this->Stored(n), (RawValue{c.type, Sz(c.stored)})) << n;
    }
    const LoadedSlots again = this->Store().LoadSlots();
    for (int n = 0; n < kSlotCount; ++n) EXPECT_EQ(StoredForm(again.entries[n]), StoredForm(moved[n])) << n;
}

REGISTER_TYPED_TEST_SUITE_P(StoreScenarios, NoKeyGivesDefaultsWhichSaveAsFiveCsidls,
                            NamesInAnyScriptAreWrittenBackByteForByte,
                            MissingValuesAreDesktopWithEmptyPath, EmptyTextLoadsAsDriveC,
                            DwordSlotsKeepTheirCsidlAndGetDriveC, ExpandableTextStaysExpandable,
                            UnreadableValuesGetTheirSlotsDefault, HideFlagValues, SaveWritesHideFlagOverAnyType,
                            SaveLeavesOtherValuesAndDeleteKeepsHideFlag,
                            FolderSlotsSaveTheirTextAndSpecialSlotsTheirNumber);

}  // namespace quenmar::testing
