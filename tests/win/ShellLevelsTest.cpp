#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "ShellOracle.h"
#include "folderpicker/FolderFacts.h"
#include "folderpicker/ShellLevels.h"
#include "folderpicker/ShellItem.h"
#include "win32/WideText.h"

namespace quenmar {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

constexpr const char* kRoot = "C:\\quenmar-levels";
constexpr SHCONTF kFolders = SHCONTF_FOLDERS;
constexpr SHCONTF kWithHidden = SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN;

Strings Labels(const std::vector<ShellListedItem>& items) {
    Strings labels;
    for (const auto& item : items) labels.push_back(item.label);
    return labels;
}

// The folder of an absolute item-ID list; null when it cannot be bound.
win::ComPtr<IShellFolder> Bound(LPCITEMIDLIST absolute) {
    win::ComPtr<IShellFolder> desktop, folder;
    SHGetDesktopFolder(desktop.put());
    if (pidl::IsEmpty(absolute)) return desktop;
    if (FAILED(desktop->BindToObject(absolute, nullptr, IID_IShellFolder, folder.put_void()))) return {};
    return folder;
}

// A folder's items as the shell lists them, put in order by the folder's own
// comparison over every pair: written here apart from the code under test.
Strings ShellsOwnListing(LPCITEMIDLIST absolute, SHCONTF flags) {
    win::ComPtr<IShellFolder> folder = Bound(absolute);
    if (!folder) return {"(cannot bind)"};
    win::ComPtr<IEnumIDList> items;
    if (folder->EnumObjects(nullptr, flags, items.put()) != S_OK) return {};
    std::vector<win::UniquePidl> children;
    for (;;) {
        win::UniquePidl child;
        ULONG fetched = 0;
        if (items->Next(1, child.put(), &fetched) != S_OK || !fetched) break;
        children.push_back(std::move(child));
    }
    std::stable_sort(children.begin(), children.end(), [&](const win::UniquePidl& a, const win::UniquePidl& b) {
        return static_cast<short>(HRESULT_CODE(folder->CompareIDs(0, a.get(), b.get()))) < 0;
    });
    Strings names;
    for (const auto& child : children) {
        STRRET name{};
        wchar_t text[MAX_PATH] = {};
        folder->GetDisplayNameOf(child.get(), SHGDN_INFOLDER | SHGDN_NORMAL, &name);
        StrRetToBufW(&name, child.get(), text, MAX_PATH);
        names.push_back(win::Utf8(text));
    }
    return names;
}

// What the code under test reads of a folder on this thread.
Strings ReadShellLevelHere(LPCITEMIDLIST absolute, SHCONTF flags) {
    win::ComPtr<IShellFolder> folder = Bound(absolute);
    if (!folder) return {"(cannot bind)"};
    std::vector<ShellListedItem> items;
    EXPECT_TRUE(ReadShellLevel(folder.get(), nullptr, flags, items));
    return Labels(items);
}

class ShellLevels : public ::testing::Test {
protected:
    void SetUp() override {
        std::error_code ignored;
        fs::remove_all(kRoot, ignored);
        for (const char* folder : {"\\b-two", "\\a-one\\inner\\deepest", "\\C-three", "\\hidden"}) {
            fs::create_directories(std::string(kRoot) + folder);
        }
        SetFileAttributesW(win::Wide(std::string(kRoot) + "\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
        target.SetPath(std::string(kRoot) + "\\a-one\\inner\\deepest");
        ASSERT_FALSE(target.IsNone());
        levels.SetPath(kRoot);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(kRoot, ignored);
    }
    ShellItem target, levels;
};

TEST_F(ShellLevels, EveryLevelDownToTheTargetsParentMatchesAReadingHere) {
    ShellLevelPrefetch prefetch(nullptr, target.IdList(), kFolders);
    const int depth = pidl::CountIds(target.IdList());
    // The Desktop and each ancestor below it, taken deepest first: each waits only for its own level.
    for (int ids = depth - 1; ids >= 0; --ids) {
        win::UniquePidl level = pidl::Clone(target.IdList());
        LPCITEMIDLIST cut = level.get();
        for (int i = 0; i < ids; ++i) cut = pidl::Next(cut);
        const_cast<SHITEMID&>(cut->mkid).cb = 0;
        std::vector<ShellListedItem> items;
        ASSERT_TRUE(prefetch.Take(level.get(), kFolders, items)) << ids << " IDs deep";
        EXPECT_EQ(Labels(items), ShellsOwnListing(level.get(), kFolders)) << ids << " IDs deep";
        EXPECT_FALSE(prefetch.Take(level.get(), kFolders, items)) << "a listing is taken once";
    }
    std::vector<ShellListedItem> items;
    EXPECT_FALSE(prefetch.Take(target.IdList(), kFolders, items)) << "the target itself is not read";
}

TEST_F(ShellLevels, OrderAttributesAndFlagsAreTheShells) {
    ShellLevelPrefetch prefetch(levels.IdList(), target.IdList(), kWithHidden);
    std::vector<ShellListedItem> items;
    EXPECT_FALSE(prefetch.Take(pidl::Empty(), kWithHidden, items)) << "above the root";
    EXPECT_FALSE(prefetch.Take(levels.IdList(), kFolders, items)) << "read with other flags";
    ASSERT_TRUE(prefetch.Take(levels.IdList(), kWithHidden, items));
    EXPECT_EQ(Labels(items), (Strings{"a-one", "b-two", "C-three", "hidden"})) << "the shell's order, hidden too";
    for (const auto& item : items) {
        EXPECT_TRUE(item.attributes & SFGAO_FOLDER) << item.label;
        EXPECT_TRUE(item.attributes & SFGAO_FILESYSTEM) << item.label;
    }
    for (const char* below : {"\\a-one", "\\a-one\\inner"}) {
        ShellItem level;
        level.SetPath(std::string(kRoot) + below);
        EXPECT_TRUE(prefetch.Take(level.IdList(), kWithHidden, items)) << below;
    }
    EXPECT_EQ(ReadShellLevelHere(levels.IdList(), kFolders), (Strings{"a-one", "b-two", "C-three"}));
}

TEST_F(ShellLevels, NamesWhoseOrderIsNotPlainAreStillInTheShellsOrder) {
    const std::string mixed = std::string(kRoot) + "\\mixed";
    for (const char* name : {"_under", "a", "B", "file10", "file9", "x-y", "xy", "~tilde", "1", "10", "2", "co-op",
                             "coop", "Zeta", "zeta two", "a.b", "a b", "\xc4rger", "Apfel"}) {
        fs::create_directories(mixed + "\\" + name);
    }
    // Numbered without padding: an order far from the names' own.
    const std::string numbered = std::string(kRoot) + "\\numbered";
    for (int n = 1; n <= 300; ++n) fs::create_directories(numbered + "\\" + std::to_string(n * 7 % 301));
    for (const std::string& path : {mixed, numbered}) {
        ShellItem place;
        place.SetPath(path);
        const Strings expected = ShellsOwnListing(place.IdList(), kFolders);
        ASSERT_GT(expected.size(), 15u);
        EXPECT_EQ(ReadShellLevelHere(place.IdList(), kFolders), expected) << path;
    }
}

TEST_F(ShellLevels, ATargetOutsideTheRootGetsTheRootAlone) {
    ShellItem elsewhere;
    elsewhere.SetPath("C:\\windows\\system32");
    ShellItem windows;
    windows.SetPath("C:\\windows");
    ShellLevelPrefetch prefetch(levels.IdList(), elsewhere.IdList(), kFolders);
    std::vector<ShellListedItem> items;
    EXPECT_FALSE(prefetch.Take(elsewhere.IdList(), kFolders, items));
    EXPECT_FALSE(prefetch.Take(windows.IdList(), kFolders, items)) << "the target's parent, outside the root";
    EXPECT_TRUE(prefetch.Take(levels.IdList(), kFolders, items));
    EXPECT_EQ(Labels(items), (Strings{"a-one", "b-two", "C-three"}));

    ShellLevelPrefetch rootOnly(levels.IdList(), nullptr, kFolders);
    EXPECT_TRUE(rootOnly.Take(levels.IdList(), kFolders, items));
}

// The disk's facts of the target's neighbours, read ahead for the tree: the
// same as the tree would read itself, for the folders nearest the target,
// with the listing's flags, and once.
TEST_F(ShellLevels, TheTargetsNeighboursFactsAreThoseOfTheDisk) {
    const std::string level = std::string(kRoot) + "\\many";
    for (int n = 0; n < 60; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "n-%02d", n);
        fs::create_directories(level + "\\" + name);
    }
    fs::create_directories(level + "\\n-48\\inner");
    fs::create_directories(level + "\\n-49\\secret");
    SetFileAttributesW(win::Wide(level + "\\n-49\\secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(win::Wide(level + "\\n-47").c_str(), FILE_ATTRIBUTE_SYSTEM);  // may carry its own icon
    ShellItem place, chosen;
    place.SetPath(level);
    chosen.SetPath(level + "\\n-50");
    const auto path = [&](int n) {
        wchar_t name[MAX_PATH];
        std::swprintf(name, MAX_PATH, L"C:\\quenmar-levels\\many\\n-%02d", n);
        return std::wstring(name);
    };
    for (const SHCONTF flags : {kFolders, kWithHidden}) {
        ShellLevelPrefetch prefetch(levels.IdList(), chosen.IdList(), flags);
        std::vector<ShellListedItem> items;
        ASSERT_TRUE(prefetch.Take(place.IdList(), flags, items));
        EXPECT_TRUE(prefetch.TakeFacts(flags == kFolders ? kWithHidden : kFolders, true).empty()) << "other flags";
        const DiskFacts facts = prefetch.TakeFacts(flags, true);
        // The target, the 40 above it and the 4 below it: 10 to 54.
        ASSERT_EQ(facts.size(), 45u);
        EXPECT_EQ(facts.count(path(9)), 0u);
        EXPECT_EQ(facts.count(path(55)), 0u);
        for (int n = 10; n <= 54; ++n) {
            const auto found = facts.find(path(n));
            ASSERT_NE(found, facts.end()) << n;
            EXPECT_EQ(found->second.plain, n != 47) << n;
            const bool holds = n == 48 || (n == 49 && flags == kWithHidden);
            EXPECT_EQ(found->second.subfolders,
                      n == 47 ? Subfolders::Unknown : holds ? Subfolders::Some : Subfolders::None) << n;
        }
        EXPECT_TRUE(prefetch.TakeFacts(flags, true).empty()) << "taken once";
    }
    SetFileAttributesW(win::Wide(level + "\\n-47").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ShellLevels, LeftBeforeItIsDoneItStopsAndIsWaitedFor) {
    const int before = testing::ThreadCount();
    for (int i = 0; i < 5; ++i) {
        ShellLevelPrefetch prefetch(nullptr, target.IdList(), kFolders);
    }
    EXPECT_EQ(testing::ThreadCount(), before) << "each one stopped reading and its thread was joined";
    ShellLevelPrefetch prefetch(nullptr, target.IdList(), kFolders);
    std::vector<ShellListedItem> items;
    EXPECT_TRUE(prefetch.Take(levels.IdList(), kFolders, items));
    EXPECT_EQ(Labels(items), (Strings{"a-one", "b-two", "C-three"}));
}

}  // namespace
}  // namespace quenmar
