#include <windows.h>

#include <gtest/gtest.h>

#include "RealRegistry.h"
#include "StoreScenarios.h"
#include "places/PlacesStore.h"
#include "win32/SystemMessage.h"
#include "win32/Win32Registry.h"

namespace quenmar::testing {
namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(Wine, StoreScenarios, RealRegistryBackend);

// Each operation says what it came to, with the system's own code; a key is
// opened with the rights its use needs, so one opened to read takes no write.
TEST(RealRegistry, ValueTypesAndTheSystemsStatuses) {
    RealRegistryBackend backend;
    backend.Reset();
    backend.Put(kPlacesBarKey, "Bin", REG_BINARY, Dword(3));
    backend.Put(kPlacesBarKey, "Expand", REG_EXPAND_SZ, Sz("%WINDIR%\\Temp"));
    win::Win32Registry registry;
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(registry.Open(kPlacesBarKey, KeyAccess::Read, key), kRegOk);
    std::string text;
    EXPECT_EQ(key->ReadText("Expand", text), kRegOk);
    EXPECT_EQ(text, "%WINDIR%\\Temp") << "read unexpanded";
    RegDataInfo info;
    EXPECT_EQ(key->Info("Bin", info), kRegOk);
    EXPECT_EQ(info.type, kRegBinary);
    EXPECT_EQ(key->Info("Missing", info), static_cast<RegStatus>(ERROR_FILE_NOT_FOUND));
    int32_t number = 0;
    EXPECT_EQ(key->ReadNumber("Bin", number), kRegWrongType);
    EXPECT_EQ(key->ReadNumber("Expand", number), kRegWrongType);
    EXPECT_EQ(key->ReadText("Bin", text), kRegWrongType);
    EXPECT_EQ(key->WriteNumber("Place0", 1), static_cast<RegStatus>(ERROR_ACCESS_DENIED))
        << "a key opened for reading takes no writes";
    EXPECT_EQ(registry.StatusText(ERROR_ACCESS_DENIED), win::SystemMessage(ERROR_ACCESS_DENIED));
    EXPECT_EQ(registry.Open(kPlacesBarKey + std::string("\\Missing"), KeyAccess::Read, key),
              static_cast<RegStatus>(ERROR_FILE_NOT_FOUND));
    ASSERT_EQ(registry.Open(kPlacesBarKey, KeyAccess::Write, key), kRegOk);
    EXPECT_EQ(key->WriteText("Place0", "x", false), kRegOk);
    EXPECT_EQ(key->DeleteValue("Missing"), kRegOk) << "no such value is no failure";
    key.reset();
    EXPECT_EQ(backend.Get(kPlacesBarKey, "Place0"), SzValue("x"));
    backend.Reset();
}

}  // namespace
}  // namespace quenmar::testing
