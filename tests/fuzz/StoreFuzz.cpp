// The store's load and save over the in-memory registry: arbitrary values
// (names, types, bytes up to 1 MB), text in any script or none, and the
// loaded places moved about between saves. Every save is held against a
// model of the storing rules written here from the rules themselves: the
// units of a text value up to its first zero unit, written back with one.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "FuzzInputs.h"
#include "MemoryRegistry.h"
#include "RawValue.h"
#include "places/PlacesStore.h"

using namespace quenmar;

namespace {

struct ModelSlot {
    bool isDir = false;
    uint32_t csidl = 0;
    std::string units;  // UTF-16LE bytes of the path, without a terminator
    bool expandable = false;
};

const std::string kDriveC("C\0:\0\\\0", 6);  // "C:\" in UTF-16LE

// The slot as the rules read the bytes the registry holds.
ModelSlot LoadModel(int n, const MemoryRegistry& registry) {
    static const uint32_t defaults[] = {34, 0, 5, 17, 18};
    const ModelSlot byDefault{false, defaults[n], kDriveC, false};
    if (!registry.KeyExists(kPlacesBarKey)) return byDefault;
    const MemoryRegistry::Value* value = registry.Find(kPlacesBarKey, "Place" + std::to_string(n));
    if (!value) return {false, 0, "", false};
    const uint32_t type = value->type;
    const std::string& bytes = value->data;
    if (type == kRegSz || type == kRegExpandSz) {
        std::string units;
        for (size_t i = 0; i + 1 < bytes.size() && (bytes[i] || bytes[i + 1]); i += 2) units += bytes.substr(i, 2);
        if (units.empty()) return {true, 0, kDriveC, false};
        return {true, 0, units, type == kRegExpandSz};
    }
    if (type == kRegDword && bytes.size() <= 4) {
        uint32_t csidl = 0;
        std::memcpy(&csidl, bytes.data(), bytes.size());
        return {false, csidl, kDriveC, false};
    }
    return byDefault;
}

// The hide flag as the rules read it: no policy key is no answer; no value
// shows the bar; a DWORD of at most four bytes hides it when it is 1;
// another type is no answer.
HideFlag HideFlagModel(const MemoryRegistry& registry) {
    if (!registry.KeyExists(kComdlgPolicyKey)) return HideFlag::None;
    const MemoryRegistry::Value* value = registry.Find(kComdlgPolicyKey, kNoPlacesBarValue);
    if (!value) return HideFlag::Show;
    if (value->type != kRegDword || value->data.size() > 4) return HideFlag::None;
    uint32_t flag = 0;
    std::memcpy(&flag, value->data.data(), value->data.size());
    return flag == 1 ? HideFlag::Hide : HideFlag::Show;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryRegistry registry;
    size_t used = 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    for (const testing::StoreValue& value : testing::DecodeStoreValues(input, used)) {
        registry.PutRaw(value.policyKey ? kComdlgPolicyKey : kPlacesBarKey, value.name, value.type, value.data);
    }
    FuzzedDataProvider in(data + std::min(used, size), size - std::min(used, size));
    // Every value Quenmar does not keep, in either key, to be kept by every save.
    std::vector<std::pair<const char*, MemoryRegistry::Value>> others;
    for (const char* key : {kPlacesBarKey, kComdlgPolicyKey}) {
        for (MemoryRegistry::Value value : registry.ValuesOf(key)) {
            bool ours = key == kComdlgPolicyKey && !strcasecmp(value.name.c_str(), kNoPlacesBarValue);
            for (int n = 0; n < kSlotCount && !ours; ++n) ours = key == kPlacesBarKey && !strcasecmp(value.name.c_str(), PlaceValueName(n).c_str());
            if (!ours) others.emplace_back(key, std::move(value));
        }
    }
    const PlacesStore store(registry);

    const LoadedSlots loaded = store.LoadSlots();  // reports what it cannot read; never throws
    CHECK(store.LoadHideFlag() == HideFlagModel(registry));
    std::array<Place, kSlotCount> entries;
    std::array<ModelSlot, kSlotCount> model;
    for (int n = 0; n < kSlotCount; ++n) {
        entries[n] = loaded.entries[n];
        model[n] = LoadModel(n, registry);
    }

    const int saves = in.ConsumeIntegralInRange(1, 4);
    for (int save = 0; save < saves; ++save) {
        // Any permutation, and a slot switched to the other kind and back.
        for (int n = kSlotCount - 1; n > 0; --n) {
            const int other = in.ConsumeIntegralInRange(0, n);
            std::swap(entries[n], entries[other]);
            std::swap(model[n], model[other]);
        }
        const int toggled = in.ConsumeIntegralInRange(0, kSlotCount - 1);
        const bool twice = in.ConsumeBool();
        entries[toggled].isFolder = twice ? entries[toggled].isFolder : !entries[toggled].isFolder;
        model[toggled].isDir = twice ? model[toggled].isDir : !model[toggled].isDir;

        const bool hidden = in.ConsumeBool();
        CHECK(store.Save(entries, hidden).Done());
        for (int n = 0; n < kSlotCount; ++n) {
            const MemoryRegistry::Value* stored = registry.Find(kPlacesBarKey, PlaceValueName(n));
            const ModelSlot& m = model[n];
            const MemoryRegistry::Value expected =
                m.isDir ? MemoryRegistry::Value{"", m.expandable ? kRegExpandSz : kRegSz, m.units + std::string(2, '\0')}
                        : MemoryRegistry::Value{"", kRegDword, testing::Dword(m.csidl)};
            CHECK(stored && stored->type == expected.type && stored->data == expected.data);
        }
        for (const auto& [key, value] : others) {
            const MemoryRegistry::Value* now = registry.Find(key, value.name);
            CHECK(now && now->type == value.type && now->data == value.data);
        }
        // Loaded again, every place is what was saved, and the model reads
        // it as it would any stored value.
        const LoadedSlots again = store.LoadSlots();
        CHECK(again.replacedValues.empty());
        for (int n = 0; n < kSlotCount; ++n) {
            entries[n] = again.entries[n];
            model[n] = LoadModel(n, registry);
        }
        const MemoryRegistry::Value* flag = registry.Find(kComdlgPolicyKey, kNoPlacesBarValue);
        CHECK(flag && flag->type == kRegDword && flag->data == testing::Dword(hidden ? 1 : 0));
    }
    return 0;
}
