#include "places/PlacesStore.h"

#include "places/Texts.h"

namespace quenmar {

std::string PlaceValueName(int slot) { return "Place" + std::to_string(slot); }

StoredValue StoredValueOf(const Place& entry) {
    if (!entry.set) return {StoredValue::Presence::NoValue, kRegNone, {}, 0};
    if (!entry.isFolder) return {StoredValue::Presence::Value, kRegDword, {}, entry.csidl};
    return {StoredValue::Presence::Value, entry.keepUnexpanded ? kRegExpandSz : kRegSz, entry.path, 0};
}

Place PlacesStore::DefaultEntry(int n) {
    Place entry = Place::Special(kSpecialFolders.at(static_cast<size_t>(n)).csidl);
    entry.path = "C:\\";
    return entry;
}

std::string PlacesStore::Failure(const std::string& message, RegStatus status) const {
    return message + "\n" + registry_.StatusText(status);
}

// A slot's place as stored, with the value it was read from; nothing for a
// value that cannot stand for a place (a foreign type, or one that could not
// be read), which loads as the slot's default.
std::optional<Place> PlacesStore::ReadSlot(const RegistryKey& key, int n, StoredValue& stored) const {
    const std::string name = PlaceValueName(n);
    RegDataInfo info;
    const RegStatus found = key.Info(name, info);
    if (found == kRegNotFound) return registry_.IsPolicy() ? Place::NotSet() : Place::Special(kCsidlDesktop);
    if (found != kRegOk) info = {kRegBinary, 0};
    stored = {StoredValue::Presence::Unreadable, info.type, {}, static_cast<int32_t>(info.size)};
    if (found != kRegOk) return std::nullopt;
    if (info.type == kRegSz || info.type == kRegExpandSz) {
        std::string text;
        if (key.ReadText(name, text) != kRegOk) return std::nullopt;
        stored = {StoredValue::Presence::Value, info.type, text, 0};
        const bool expandable = info.type == kRegExpandSz && !text.empty();
        if (text.empty()) text = "C:\\";
        Place entry = Place::Folder(std::move(text));
        entry.keepUnexpanded = expandable;
        return entry;
    }
    if (info.type == kRegDword) {
        int32_t csidl = 0;
        if (key.ReadNumber(name, csidl) != kRegOk) return std::nullopt;
        Place entry = Place::Special(csidl);
        stored = {StoredValue::Presence::Value, kRegDword, {}, csidl};
        entry.path = "C:\\";
        return entry;
    }
    return std::nullopt;
}

LoadedSlots PlacesStore::LoadSlots() const {
    registry_.Reread();
    LoadedSlots result;
    std::unique_ptr<RegistryKey> key;
    if (registry_.Open(kPlacesBarKey, KeyAccess::Read, key) != kRegOk) {
        for (int n = 0; n < kSlotCount; ++n) result.entries[n] = registry_.IsPolicy() ? Place::NotSet() : DefaultEntry(n);
        result.stored.fill(kNoPlacesKey);
        return result;
    }
    for (int n = 0; n < kSlotCount; ++n) {
        std::optional<Place> entry = ReadSlot(*key, n, result.stored[static_cast<size_t>(n)]);
        if (!entry) {
            result.replacedValues.push_back(PlaceValueName(n));
            entry = DefaultEntry(n);
        }
        result.entries[n] = *entry;
    }
    return result;
}

HideFlag PlacesStore::LoadHideFlag() const {
    registry_.Reread();
    std::unique_ptr<RegistryKey> key;
    const HideFlag missing = registry_.IsPolicy() ? HideFlag::NotSet : HideFlag::Show;
    if (const RegStatus opened = registry_.Open(kComdlgPolicyKey, KeyAccess::Read, key); opened != kRegOk) {
        return registry_.IsPolicy() && opened == kRegNotFound ? missing : HideFlag::None;
    }
    int32_t flag = 0;
    const RegStatus read = key->ReadNumber(kNoPlacesBarValue, flag);
    if (read == kRegNotFound) return missing;
    if (read != kRegOk) return HideFlag::None;
    return flag == 1 ? HideFlag::Hide : HideFlag::Show;
}

StoreOutcome PlacesStore::Save(const Places& places, bool hidden) const {
    StoreChanges changes;
    for (int n = 0; n < kSlotCount; ++n) changes.places[n] = places[n];
    changes.hide = hidden ? HideFlag::Hide : HideFlag::Show;
    return Save(changes);
}

StoreOutcome PlacesStore::Save(const StoreChanges& changes) const {
    registry_.Reread();
    StoreOutcome outcome;
    std::unique_ptr<RegistryKey> key;
    if (!changes.Places()) {
        // No place to write: the key is neither opened nor made.
    } else if (const RegStatus opened = registry_.Open(kPlacesBarKey, KeyAccess::Write, key); opened == kRegOk) {
        for (int n = 0; n < kSlotCount; ++n) {
            if (!changes.places[n]) continue;
            const std::string name = PlaceValueName(n);
            const StoredValue stored = StoredValueOf(*changes.places[n]);
            const RegStatus written = stored.presence == StoredValue::Presence::NoValue ? key->DeleteValue(name)
                                      : stored.type == kRegDword
                                          ? key->WriteNumber(name, stored.number)
                                          : key->WriteText(name, stored.text, stored.type == kRegExpandSz);
            if (written != kRegOk) {
                registry_.Commit();  // what was written stands, as in the registry
                return {Failure(FailedToSetData(name), written), {}};  // nothing more is written
            }
        }
    } else {
        outcome.failure = Failure(KeyNotOpened(kPlacesBarKey), opened);
    }

    // The hide flag is best effort: the places themselves were saved.
    key.reset();
    if (changes.hide && registry_.Open(kComdlgPolicyKey, KeyAccess::Write, key) == kRegOk) {
        if (*changes.hide == HideFlag::NotSet) {
            key->DeleteValue(kNoPlacesBarValue);
        } else {
            key->WriteNumber(kNoPlacesBarValue, *changes.hide == HideFlag::Hide ? 1 : 0);
        }
    }
    key.reset();
    if (std::optional<std::string> failure = registry_.Commit(); failure && outcome.Done()) outcome.failure = *failure;
    if (std::optional<std::string> notice = registry_.TakeNotice()) outcome.notice = *notice;
    return outcome;
}

StoreOutcome PlacesStore::DeleteCustomPlaces() const {
    registry_.Reread();
    const RegStatus deleted = registry_.DeleteKey(kPlacesBarKey);
    std::unique_ptr<RegistryKey> left;
    if (deleted != kRegOk && deleted != kRegNotFound && registry_.Open(kPlacesBarKey, KeyAccess::Read, left) == kRegOk) {
        return {Failure(KeyNotDeleted(kPlacesBarKey), deleted), {}};
    }
    if (std::optional<std::string> failure = registry_.Commit()) return {*failure, {}};
    return {};  // gone
}

std::string PlacesStore::ReplacedValuesMessage(const std::vector<std::string>& names) {
    const std::string separator = TextOf(IDS_LIST_SEPARATOR);
    std::string list;
    for (const auto& name : names) list += (list.empty() ? "" : separator) + name;
    return TextOf(IDS_UNREADABLE_PLACES, {list});
}

}  // namespace quenmar
