#include "places/PlacesStore.h"

#include "places/Texts.h"

namespace quenmar {

std::string PlaceValueName(int slot) { return "Place" + std::to_string(slot); }

StoredValue StoredValueOf(const Place& entry) {
    if (!entry.isFolder) return {StoredValue::Presence::Value, kRegDword, {}, entry.csidl};
    return {StoredValue::Presence::Value, entry.keepUnexpanded ? kRegExpandSz : kRegSz, entry.path, 0};
}

Place PlacesStore::DefaultEntry(int n) {
    Place entry = Place::Special(kSpecialFolders.at(static_cast<size_t>(n)).csidl);
    entry.path = "C:\\";
    return entry;
}

Place PlacesStore::LoadSlot(int n, LoadedSlots& loaded) const {
    StoredValue& stored = loaded.stored[static_cast<size_t>(n)];
    std::optional<Place> entry;
    try {
        entry = ReadSlot(n, stored);
    } catch (const RegistryError&) {
        // Like a value of a foreign type: the default below.
    }
    if (entry) return *entry;
    loaded.replacedValues.push_back(PlaceValueName(n));
    return DefaultEntry(n);
}

// A slot's place as stored, with the value it was read from; nothing for a
// value that cannot stand for a place.
std::optional<Place> PlacesStore::ReadSlot(int n, StoredValue& stored) const {
    const std::string name = PlaceValueName(n);
    if (!registry_.ValueExists(name)) return Place::Special(kCsidlDesktop);
    const auto info = registry_.GetDataInfo(name);
    stored = {StoredValue::Presence::Unreadable, info ? info->type : kRegBinary, {},
              info ? static_cast<int32_t>(info->size) : 0};
    if (info && (info->type == kRegSz || info->type == kRegExpandSz)) {
        std::string text = registry_.ReadString(name);
        stored = {StoredValue::Presence::Value, info->type, text, 0};
        const bool expandable = info->type == kRegExpandSz && !text.empty();
        if (text.empty()) text = "C:\\";
        Place entry = Place::Folder(std::move(text));
        entry.keepUnexpanded = expandable;
        return entry;
    }
    if (info && info->type == kRegDword) {
        Place entry = Place::Special(registry_.ReadInteger(name));
        stored = {StoredValue::Presence::Value, kRegDword, {}, entry.csidl};
        entry.path = "C:\\";
        return entry;
    }
    return std::nullopt;
}

LoadedSlots PlacesStore::LoadSlots() const {
    LoadedSlots result;
    if (!registry_.OpenKeyReadOnly(kPlacesBarKey)) {
        for (int n = 0; n < kSlotCount; ++n) result.entries[n] = DefaultEntry(n);
        result.stored.fill(kNoPlacesKey);
        return result;
    }
    OpenKeyScope scope(registry_);
    for (int n = 0; n < kSlotCount; ++n) result.entries[n] = LoadSlot(n, result);
    return result;
}

HideFlag PlacesStore::LoadHideFlag() const {
    if (!registry_.OpenKeyReadOnly(kComdlgPolicyKey)) return HideFlag::None;
    OpenKeyScope scope(registry_);
    try {
        if (!registry_.ValueExists(kNoPlacesBarValue)) return HideFlag::Show;
        return registry_.ReadInteger(kNoPlacesBarValue) == 1 ? HideFlag::Hide : HideFlag::Show;
    } catch (...) {
        return HideFlag::None;
    }
}

StoreOutcome PlacesStore::Save(const Places& places, bool hidden) const {
    StoreOutcome outcome;
    if (registry_.OpenKey(kPlacesBarKey, true)) {
        OpenKeyScope scope(registry_);
        try {
            for (int n = 0; n < kSlotCount; ++n) {
                const std::string name = PlaceValueName(n);
                const StoredValue stored = StoredValueOf(places[n]);
                if (stored.type == kRegDword) {
                    registry_.WriteInteger(name, stored.number);
                } else if (stored.type == kRegExpandSz) {
                    registry_.WriteExpandString(name, stored.text);
                } else {
                    registry_.WriteString(name, stored.text);
                }
            }
        } catch (const RegistryError& error) {
            registry_.Commit();  // what was written stands, as in the registry
            return {error.what()};  // nothing more is written
        }
    } else {
        outcome.failure = KeyNotOpened(kPlacesBarKey);
    }

    if (registry_.OpenKey(kComdlgPolicyKey, true)) {
        OpenKeyScope scope(registry_);
        try {
            if (!hidden && registry_.StatesOnlyWhatItSets()) {
                registry_.DeleteValue(kNoPlacesBarValue);
            } else {
                registry_.WriteInteger(kNoPlacesBarValue, hidden ? 1 : 0);
            }
        } catch (const RegistryError&) {
            // The hide flag is best effort: the places themselves were saved.
        }
    }
    if (std::optional<std::string> failure = registry_.Commit(); failure && outcome.Done()) outcome.failure = *failure;
    return outcome;
}

StoreOutcome PlacesStore::DeleteCustomPlaces() const {
    if (!registry_.DeleteKey(kPlacesBarKey) && registry_.OpenKeyReadOnly(kPlacesBarKey)) {
        registry_.CloseKey();
        return {KeyNotDeleted(kPlacesBarKey)};
    }
    if (std::optional<std::string> failure = registry_.Commit()) return {*failure};
    return {};  // gone
}

std::string PlacesStore::ReplacedValuesMessage(const std::vector<std::string>& names) {
    const std::string separator = TextOf(IDS_LIST_SEPARATOR);
    std::string list;
    for (const auto& name : names) list += (list.empty() ? "" : separator) + name;
    return TextOf(IDS_UNREADABLE_PLACES, {list});
}

}  // namespace quenmar
