#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "places/Catalogue.h"
#include "places/Place.h"
#include "places/RegistryAccessor.h"

namespace quenmar {

// Where the common dialogs read the Places Bar from, under HKEY_CURRENT_USER.
inline constexpr const char* kComdlgPolicyKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";
inline constexpr const char* kPlacesBarKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar";
inline constexpr const char* kNoPlacesBarValue = "NoPlacesBar";

// The five slots, top to bottom.
using Places = std::array<Place, kSlotCount>;

// "Place0" to "Place4".
std::string PlaceValueName(int slot);

// What a Place value holds, as far as the store reads it (enough to tell
// whether another program has written it since), and what it writes.
struct StoredValue {
    // A value that no place is read from (of another type, or a number
    // longer than four bytes) is told by its type and size.
    enum class Presence { NoKey, NoValue, Value, Unreadable };
    Presence presence = Presence::NoValue;
    uint32_t type = kRegNone;
    std::string text;    // of a string
    int32_t number = 0;  // of a number; the size of an unreadable value
    bool operator==(const StoredValue&) const = default;
};
// The value Save writes for a place: a special folder's CSIDL as a number,
// a folder's path as text, expandable where the place keeps it unexpanded;
// no value for a place not set.
StoredValue StoredValueOf(const Place& entry);
// Every value with no Placesbar key: told apart from a key without the value.
inline const StoredValue kNoPlacesKey{StoredValue::Presence::NoKey, kRegNone, {}, 0};

struct LoadedSlots {
    Places entries;
    std::array<StoredValue, kSlotCount> stored;
    // Values that could not be read and were replaced by their slot's default.
    std::vector<std::string> replacedValues;
};

// The hide flag as read: unreadable (None), shown, hidden, or not set (a
// policy that does not configure it; the user's settings read a missing
// flag as shown).
enum class HideFlag { None, Show, Hide, NotSet };

// What a save writes: the places given (a place not set removes its
// value), and the hide flag if given (NotSet removes it). What is not given
// is left as it is stored.
struct StoreChanges {
    std::array<std::optional<Place>, kSlotCount> places;
    std::optional<HideFlag> hide;
    bool Places() const {
        return std::any_of(places.begin(), places.end(), [](const std::optional<Place>& place) { return place.has_value(); });
    }
    bool Empty() const { return !Places() && !hide; }
};

// How a write to the store ended: done, or what failed, in the words the
// user reads ("Failed to set data for 'Place2'").
struct StoreOutcome {
    std::string failure;  // empty when done
    std::string notice;   // what a save that was done has to tell, if anything
    bool Done() const { return failure.empty(); }
};

// The Places Bar settings in the registry: five slots and the hide flag.
// Every operation opens the key it needs and closes it before returning.
class PlacesStore {
public:
    explicit PlacesStore(RegistryAccessor& registry) : registry_(registry) {}

    // Default slot n: the catalogue's row n, with "C:\" as its path.
    static Place DefaultEntry(int n);
    // Whether the store is a Group Policy (RegistryAccessor::IsPolicy).
    bool IsPolicy() const { return registry_.IsPolicy(); }

    // Takes in what another program wrote (RegistryAccessor::Reread). Each
    // read and write below does, where the store can tell a change.
    void Reread(bool evenIfUnchanged = false) const { registry_.Reread(evenIfUnchanged); }

    // The five slots; the defaults when the key cannot be read. Needs read
    // access only. A value that cannot be read gets its slot's default and is
    // listed in replacedValues. A policy's slot without a value is not set,
    // and so is every slot of a policy without the key.
    LoadedSlots LoadSlots() const;

    HideFlag LoadHideFlag() const;

    // Writes the five slots, then the hide flag, whose write is best effort.
    // When the Placesbar key cannot be opened, the hide flag is still
    // written; a slot's failed write ends the save there.
    StoreOutcome Save(const Places& places, bool hidden) const;
    // Writes what is given, in the same order and with the same failures.
    StoreOutcome Save(const StoreChanges& changes) const;

    // Removes the Placesbar key with everything below it; done also when
    // there was none.
    StoreOutcome DeleteCustomPlaces() const;

    // The user-facing warning for values replaced on load.
    static std::string ReplacedValuesMessage(const std::vector<std::string>& names);

private:
    std::optional<Place> ReadSlot(const RegistryKey& key, int n, StoredValue& stored) const;
    // A failure's message with the store's words for its status.
    std::string Failure(const std::string& message, RegStatus status) const;

    RegistryAccessor& registry_;
};

}  // namespace quenmar
