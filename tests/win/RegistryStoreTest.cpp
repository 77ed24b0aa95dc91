#include <windows.h>

#include <gtest/gtest.h>

#include "RealRegistry.h"
#include "StoreScenarios.h"
#include "places/PlacesStore.h"

namespace quenmar::testing {
namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(Wine, StoreScenarios, RealRegistryBackend);

TEST(RealRegistry, ValueTypesAndErrorTexts) {
    RealRegistryBackend backend;
    backend.Reset();
    backend.Put(kPlacesBarKey, "Bin", REG_BINARY, Dword(3));
    backend.Put(kPlacesBarKey, "Expand", REG_EXPAND_SZ, Sz("%WINDIR%\\Temp"));
    backend.Put(kPlacesBarKey, "Unterminated", REG_SZ, "abc");
    win::Win32Registry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(kPlacesBarKey));
    EXPECT_EQ(registry.ReadString("Expand"), "%WINDIR%\\Temp") << "read unexpanded";
    EXPECT_EQ(registry.ReadString("Unterminated"), "abc");
    EXPECT_EQ(registry.GetDataInfo("Bin")->type, kRegBinary);
    EXPECT_FALSE(registry.GetDataInfo("Missing").has_value());
    auto message = [&](auto call) {
        try {
            call();
        } catch (const RegistryError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { registry.ReadInteger("Bin"); }), "Invalid data type for 'Bin'");
    EXPECT_EQ(message([&] { registry.ReadInteger("Expand"); }), "Failed to get data for 'Expand'");
    EXPECT_EQ(message([&] { registry.ReadString("Bin"); }), "Invalid data type for 'Bin'");
    EXPECT_EQ(message([&] { registry.WriteInteger("Place0", 1); }), "Failed to set data for 'Place0'")
        << "a key opened for reading takes no writes";
    registry.CloseKey();
    EXPECT_EQ(message([&] { registry.WriteString("Place0", "x"); }), "Failed to set data for 'Place0'");
    backend.Reset();
}

}  // namespace
}  // namespace quenmar::testing

namespace quenmar::testing {
namespace {

TEST(RealRegistry, AUnicodePathSurvivesASave) {
    if (GetACP() == 1251 || GetACP() == 65001) GTEST_SKIP() << "this code page can hold the name";
    RealRegistryBackend backend;
    backend.Reset();
    const std::wstring path = L"C:\\\x041F\x0430\x043F\x043A\x0430";  // Cyrillic "folder"
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kPlacesBarKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"Place2", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);

    FakeShell shell;
    PlacesStore store(backend.Accessor());
    const LoadedSlots loaded = store.LoadSlots();
    EXPECT_EQ(loaded.keptValues, std::vector<std::string>{"Place2"});
    EXPECT_EQ(loaded.entries[2].Dir.substr(0, 3), "C:\\");
    std::array<const TDirInfo*, kSlotCount> entries{};
    for (int n = 0; n < kSlotCount; ++n) entries[n] = &loaded.entries[n];
    ASSERT_TRUE(store.Save(entries, false));

    wchar_t stored[MAX_PATH] = {};
    DWORD size = sizeof stored;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar",
                           L"Place2", RRF_RT_REG_SZ, nullptr, stored, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(stored), path) << "not a question mark in it";
    backend.Reset();
}

}  // namespace
}  // namespace quenmar::testing
