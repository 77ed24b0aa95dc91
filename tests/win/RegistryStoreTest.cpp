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
    win::Win32Registry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(kPlacesBarKey));
    EXPECT_EQ(registry.ReadString("Expand"), "%WINDIR%\\Temp") << "read unexpanded";
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
