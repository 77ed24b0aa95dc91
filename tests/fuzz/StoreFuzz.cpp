// The store's load and save over the in-memory registry: arbitrary values
// (names, types, bytes up to 1 MB), some of them text the code page cannot
// hold, and the loaded places moved about between saves.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>

#include "MemoryRegistry.h"
#include "RawValue.h"
#include "places/PlacesStore.h"

using namespace quenmar;

#define CHECK(condition) \
    if (!(condition)) std::abort()

namespace {

// What a save must have written for an entry, as the registry holds it.
MemoryRegistry::Value Expected(const TDirInfo& entry) {
    if (entry.IsDir && entry.Kept) return {"", entry.Kept->type, entry.Kept->bytes};
    if (!entry.IsDir) return {"", kRegDword, testing::Dword(static_cast<uint32_t>(entry.CSIDL))};
    return {"", entry.DirExpandable ? kRegExpandSz : kRegSz, entry.Dir + '\0'};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    MemoryRegistry registry;
    // Characters beyond ASCII are the ones a code page may lack.
    for (char c : in.ConsumeBytesAsString(in.ConsumeIntegralInRange(0, 3))) {
        registry.unrepresentableBytes += static_cast<char>(c | 0x80);
    }
    const int values = in.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < values; ++i) {
        const int which = in.ConsumeIntegralInRange(0, 7);
        const std::string name = which < 5   ? PlaceValueName(which)
                                 : which == 5 ? "PLACE" + std::to_string(in.ConsumeIntegralInRange(0, 5))
                                              : in.ConsumeRandomLengthString(12);
        const uint32_t type = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 11) : in.ConsumeIntegral<uint32_t>();
        const size_t length = in.ConsumeBool() ? in.ConsumeIntegralInRange<size_t>(0, 300) : in.ConsumeIntegralInRange<size_t>(0, 1 << 20);
        std::string bytes = in.ConsumeBytesAsString(std::min(length, in.remaining_bytes()));
        if (bytes.size() < length && in.ConsumeBool()) bytes.resize(length, 'p');  // large values cost no input
        registry.PutRaw(in.ConsumeBool() ? kPlacesBarKey : kComdlgPolicyKey, name, type, bytes);
    }
    const PlacesStore store(registry);

    const LoadedSlots loaded = store.LoadSlots();  // reports what it cannot read; never throws
    store.LoadHideFlag();
    std::array<TDirInfo, kSlotCount> entries;
    for (int n = 0; n < kSlotCount; ++n) entries[n] = loaded.entries[n];

    const int saves = in.ConsumeIntegralInRange(1, 4);
    for (int save = 0; save < saves; ++save) {
        // Any permutation, and a slot switched to the other kind and back.
        for (int n = kSlotCount - 1; n > 0; --n) std::swap(entries[n], entries[in.ConsumeIntegralInRange(0, n)]);
        const int toggled = in.ConsumeIntegralInRange(0, kSlotCount - 1);
        entries[toggled].IsDir = !entries[toggled].IsDir;
        if (in.ConsumeBool()) entries[toggled].IsDir = !entries[toggled].IsDir;

        const bool hidden = in.ConsumeBool();
        CHECK(store.Save({&entries[0], &entries[1], &entries[2], &entries[3], &entries[4]}, hidden));
        for (int n = 0; n < kSlotCount; ++n) {
            const MemoryRegistry::Value* stored = registry.Find(kPlacesBarKey, PlaceValueName(n));
            const MemoryRegistry::Value expected = Expected(entries[n]);
            CHECK(stored && stored->type == expected.type && stored->data == expected.data);
        }
        // Loaded again, every place is what was saved.
        const LoadedSlots again = store.LoadSlots();
        CHECK(again.replacedValues.empty());
        for (int n = 0; n < kSlotCount; ++n) {
            TDirInfo saved = entries[n];
            if (saved.IsDir && saved.Dir.empty() && !saved.Kept) saved.Dir = "C:\\";
            CHECK(testing::StoredForm(again.entries[n]) == testing::StoredForm(saved));
        }
        CHECK(store.LoadHideFlag() == (hidden ? HideFlag::Hide : HideFlag::Show));
    }
    return 0;
}
