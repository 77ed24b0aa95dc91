#include <windows.h>

#include <gtest/gtest.h>

#include "StoreScenarios.h"
#include "win32/Win32Registry.h"

namespace quenmar::testing {
namespace {

// The same scenarios against Wine's real registry.
struct RealRegistryBackend {
    win::Win32Registry registry;

    RegistryAccessor& Accessor() { return registry; }
    void Reset() { RegDeleteTreeA(HKEY_CURRENT_USER, kComdlgPolicyKey); }
    void CreateKey(const std::string& key) {
        HKEY handle = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                                  nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(handle);
    }
    void Put(const std::string& key, const std::string& name, uint32_t type, const std::string& data) {
        CreateKey(key);
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), type, data.data(),
                                  static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    std::optional<RawValue> Get(const std::string& key, const std::string& name) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr,
                         &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::string data(size, '\0');
        if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                         data.data(), &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        data.resize(size);
        return RawValue{type, data};
    }
    bool KeyExists(const std::string& key) {
        HKEY handle = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
        RegCloseKey(handle);
        return true;
    }
    std::vector<std::string> ValueNames(const std::string& key) {
        std::vector<std::string> names;
        HKEY handle = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return names;
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (RegEnumValueA(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            names.emplace_back(name, length);
        }
        RegCloseKey(handle);
        return names;
    }
};

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
