#include <gtest/gtest.h>

#include "../fuzz/FuzzInputs.h"
#include "StoreScenarios.h"
#include "MemoryRegistry.h"

namespace quenmar::testing {
namespace {

struct MemoryBackend {
    MemoryRegistry registry;

    RegistryAccessor& Accessor() { return registry; }
    void Reset() {
        EXPECT_EQ(registry.openKeys, 0) << "an operation left its key open";
        registry = MemoryRegistry();
    }
    void CreateKey(const std::string& key) { registry.CreateKey(key); }
    void Put(const std::string& key, const std::string& name, uint32_t type, const std::string& data) {
        registry.PutRaw(key, name, type, data);
    }
    std::optional<RawValue> Get(const std::string& key, const std::string& name) {
        const auto* value = registry.Find(key, name);
        if (!value) return std::nullopt;
        return RawValue{value->type, value->data};
    }
    bool KeyExists(const std::string& key) { return registry.KeyExists(key); }
    std::vector<std::string> ValueNames(const std::string& key) {
        std::vector<std::string> names;
        for (const auto& value : registry.ValuesOf(key)) names.push_back(value.name);
        return names;
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, StoreScenarios, MemoryBackend);

// The store fuzz target's seeds read as their names say.
TEST(StoreFuzzSeeds, AreWhatTheirNamesSay) {
    const auto values = [](const char* seed) {
        size_t used = 0;
        std::vector<std::pair<std::string, uint32_t>> read;
        for (const StoreValue& v : DecodeStoreValues(Seed("StoreFuzz", seed), used)) {
            read.emplace_back((v.policyKey ? "policy " : "") + v.name, v.type);
        }
        return read;
    };
    EXPECT_TRUE(values("empty").empty());
    EXPECT_EQ(values("places"), (std::vector<std::pair<std::string, uint32_t>>{
                                    {"Place0", kRegSz}, {"Place1", kRegExpandSz}, {"Place2", kRegDword},
                                    {"Place3", kRegBinary}, {"Place4", kRegMultiSz}, {"policy NoPlacesBar", kRegDword}}));
}

class StoreFaults : public ::testing::Test {
protected:
    PlacesStore Store() { return PlacesStore(registry); }
    void TearDown() override { EXPECT_EQ(registry.openKeys, 0) << "an operation left its key open"; }
    const Places& Entries() const { return entries; }

    MemoryRegistry registry;
    FakeShell shell;
    Places entries{Place::Folder("A:\\"), Place::Special(5), Place::Folder("C:\\x"), Place::Special(0),
                                    Place::Folder("D:\\")};
};

TEST_F(StoreFaults, FailedWriteOfPlace2StopsTheSave) {
    registry.PutDword(kComdlgPolicyKey, kNoPlacesBarValue, 7);
    registry.failingWrites = {"Place2"};
    EXPECT_EQ(Store().Save(Entries(), true).failure, "Failed to set data for 'Place2'\nError 5")
        << "what failed, then the store's words for why";
    EXPECT_EQ(registry.writeCount, 2);
    EXPECT_NE(registry.Find(kPlacesBarKey, "Place0"), nullptr);
    EXPECT_NE(registry.Find(kPlacesBarKey, "Place1"), nullptr);
    for (const char* name : {"Place2", "Place3", "Place4"}) EXPECT_EQ(registry.Find(kPlacesBarKey, name), nullptr);
    EXPECT_EQ(registry.Find(kComdlgPolicyKey, kNoPlacesBarValue)->data, Dword(7)) << "hide flag untouched";
}

TEST_F(StoreFaults, UnopenablePlacesKeyStillWritesHideFlag) {
    registry.PutDword(kPlacesBarKey, "Place0", 17);
    registry.unopenableKeys = {"software\\microsoft\\windows\\currentversion\\policies\\comdlg32\\placesbar"};
    const LoadedSlots loaded = Store().LoadSlots();
    EXPECT_EQ(loaded.entries[0].csidl, 34) << "an unreadable key shows the defaults";
    EXPECT_EQ(Store().Save(Entries(), true).failure,
              "Failed to open the key 'Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar'\nError 5");
    EXPECT_EQ(registry.Find(kComdlgPolicyKey, kNoPlacesBarValue)->data, Dword(1));
    EXPECT_EQ(registry.Find(kPlacesBarKey, "Place0")->data, Dword(17));
}

TEST_F(StoreFaults, ReadOnlyKeysLoadAsStored) {
    registry.PutString(kPlacesBarKey, "Place0", "E:\\Shared");
    registry.PutDword(kComdlgPolicyKey, kNoPlacesBarValue, 1);
    registry.readOnlyKeys = {"software\\microsoft\\windows\\currentversion\\policies\\comdlg32\\placesbar",
                             "software\\microsoft\\windows\\currentversion\\policies\\comdlg32"};
    EXPECT_EQ(Store().LoadSlots().entries[0].path, "E:\\Shared");
    EXPECT_EQ(Store().LoadHideFlag(), HideFlag::Hide);
    EXPECT_FALSE(Store().Save(Entries(), false).Done());
    EXPECT_EQ(registry.Find(kComdlgPolicyKey, kNoPlacesBarValue)->data, Dword(1)) << "could not be written";
}

TEST_F(StoreFaults, UnopenablePolicyKeyIsSilent) {
    registry.unopenableKeys = {"software\\microsoft\\windows\\currentversion\\policies\\comdlg32"};
    EXPECT_EQ(Store().LoadHideFlag(), HideFlag::None);
    EXPECT_TRUE(Store().Save(Entries(), true).Done());
    EXPECT_EQ(registry.Find(kPlacesBarKey, "Place0")->data, Sz("A:\\"));
}

TEST_F(StoreFaults, FailedHideFlagWriteIsSwallowed) {
    registry.failingWrites = {kNoPlacesBarValue};
    EXPECT_TRUE(Store().Save(Entries(), true).Done());
    EXPECT_EQ(registry.Find(kComdlgPolicyKey, kNoPlacesBarValue), nullptr);
    EXPECT_EQ(registry.writeCount, 5);
}

TEST_F(StoreFaults, FailedTypeQueryGetsTheDefault) {
    registry.PutString(kPlacesBarKey, "Place1", "D:\\");
    registry.PutString(kPlacesBarKey, "Place3", "E:\\");
    registry.failingTypeQueries = {"Place1"};
    const LoadedSlots loaded = Store().LoadSlots();
    EXPECT_EQ(loaded.replacedValues, std::vector<std::string>{"Place1"});
    EXPECT_EQ(loaded.entries[1].csidl, 0);
    EXPECT_FALSE(loaded.entries[1].isFolder);
    EXPECT_EQ(loaded.entries[1].path, "C:\\");
    EXPECT_EQ(loaded.entries[3].path, "E:\\");
}

TEST_F(StoreFaults, FailedDeleteIsReported) {
    registry.CreateKey(kPlacesBarKey);
    registry.failDeletes = true;
    EXPECT_EQ(Store().DeleteCustomPlaces().failure,
              "Failed to delete the key 'Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar'\nError 5");
    EXPECT_TRUE(registry.KeyExists(kPlacesBarKey));
}

}  // namespace
}  // namespace quenmar::testing
