#pragma once

#include <optional>
#include <string>
#include <vector>

#include "places/Captions.h"
#include "places/PlacesStore.h"
#include "places/PolicyDeployment.h"
#include "places/RegistryScript.h"

namespace quenmar {

enum class PlaceKind { Folder, SpecialFolder };

// Which of the editor's inputs the user can use at the moment: none while
// the Places Bar is hidden; with no slot selected, only the slots and the
// kinds (which then change the shown kind alone).
struct UsableInputs {
    bool places = false;        // the five slots
    bool kinds = false;         // the choice between a folder and a special folder
    bool path = false;          // the path box
    bool browse = false;        // the folder picker
    bool catalogue = false;     // the special folders
    bool moveUp = false;
    bool moveDown = false;
    bool changeFolder = false;  // the picker for the selected folder slot
    bool unset = false;         // the selected place removed from the policy

    bool operator==(const UsableInputs&) const = default;
};

// The editor's state and rules: the five slots, the hide flag, the selected
// slot and the kind shown for it. Its operations are the user's; it is the
// only code that reads or writes the stored settings.
class PlacesEditor {
public:
    explicit PlacesEditor(RegistryAccessor& registry) : store_(registry) {}

    // Reads the five slots and the hide flag and selects slot 0. Returns the
    // names of the values that could not be read (their slots hold defaults).
    std::vector<std::string> Load();
    bool Loaded() const { return loaded_; }

    const Place& Slot(int n) const { return slots_.at(static_cast<size_t>(n)); }
    std::optional<int> Selected() const { return selected_; }
    // The selected slot's place, or null.
    const Place* SelectedPlace() const { return selected_ ? &slots_[*selected_] : nullptr; }
    // The kind the editor shows: the selected slot's, or the last one chosen
    // when no slot is selected.
    PlaceKind ShownKind() const { return shownKind_; }
    bool Hidden() const { return hide_ == HideFlag::Hide; }
    // Shown, hidden, or (in a policy) not set.
    HideFlag HideSetting() const { return hide_; }
    // Whether a Group Policy is edited: its places may be not set, its hide
    // flag not configured, and a save writes only what the user changed.
    bool IsPolicy() const { return store_.IsPolicy(); }

    // Whether the user changed a slot, or the hide flag, since it was last
    // read or written.
    bool SlotChanged(int n) const {
        return loaded_ && slots_.at(static_cast<size_t>(n)) != read_.at(static_cast<size_t>(n));
    }
    bool HiddenChanged() const { return hide_ != readHide_; }

    // A slot, or none. Ignored before the slots are loaded or out of range.
    void Select(std::optional<int> slot);
    // The selected slot becomes a folder or a special folder; its path and
    // CSIDL are both kept.
    void SetKind(PlaceKind kind);
    // A path typed for the selected slot: the slot becomes a folder with that
    // path, as typed. Refused (false) with no slot selected or while the
    // Places Bar is hidden. In a policy, no text leaves the place not set.
    // A typed or pasted path: trimmed of blanks, and kept unexpanded (an
    // expandable value) when it names an environment variable; the same
    // path keeps the form it had.
    bool SetPath(const std::string& typed);
    // Whether text in the path box says what the selected slot holds: as
    // SetPath would take it (blanks around it are still being typed).
    bool SaysTheSelectedPath(const std::string& text) const;
    // A path given as plain text, never expanded (the standIn of an expandable
    // value the dialog skips).
    bool SetPlainPath(const std::string& path);
    // What the selected slot's place is left out of the Open dialog for:
    // a special folder, or a path as plain text.
    bool UseInstead(const StandIn& standIn);
    // A folder chosen in the folder picker: its path, ending in a backslash.
    bool SetPickedFolder(const std::string& path);
    // What the file system holds at a name dropped from the shell.
    using Dropped = FoundAtName;
    // A dropped folder gives its path, ending in a backslash; a file its
    // folder's; nothing there, nothing.
    bool DropName(const std::string& name, Dropped found);
    // Whether drops are taken: not while the Places Bar is hidden, and a
    // name too long to store is told only while they are.
    bool TakesDrops() const { return loaded_ && !Hidden(); }
    // A special folder for the selected slot, picked from the catalogue.
    bool PickSpecialFolder(int32_t csidl);
    // The selected slot swaps places with its neighbour and stays selected.
    bool MoveUp() { return Move(-1); }
    bool MoveDown() { return Move(+1); }
    void SetHidden(bool hidden);
    // Shown, hidden or, in a policy only, not set (the policy then leaves
    // the bar as the user's own settings say).
    void SetHideSetting(HideFlag setting);
    // The hide box clicked: shown and hidden in turn, or, in a policy, as an
    // automatic three-state box goes round: shown, hidden, not configured.
    void NextHideSetting();
    // The selected place is no longer set by the policy. Refused outside a
    // policy, for a place not set, and while the bar is hidden.
    bool Unset();
    // Removes the stored places; the slots show the defaults and slot 0 is
    // selected. The hide flag is left as it is. When the removal fails, the
    // defaults are the user's change, which Save writes. In a policy every
    // place becomes not set, which the next save writes.
    StoreOutcome RestoreDefaults();

    // Writes the five slots and the hide flag; nothing before the slots were
    // loaded. What another program stored meanwhile is taken in first (as
    // TakeStoredChanges does), so that only the user's changes overwrite it.
    // A policy is written only where the user changed it, and not at all
    // when nothing was changed.
    StoreOutcome Save();
    // The preview's Open dialog reads the store: the settings are saved
    // first, and the dialog opens only when that was done.
    struct Preview {
        StoreOutcome saved;
        bool noPlacesBar = false;  // the dialog without its Places Bar
        bool Opens() const { return saved.Done(); }
    };
    Preview PreparePreview();
    // Takes in what another program stored since the editor last read or
    // wrote: a slot (or the hide flag) whose stored value changed shows it,
    // read as Load reads it, unless the user has changed that slot (or flag)
    // since; then the user's value stays, and Save writes it. Returns the
    // names of changed values that could not be read, as Load does.
    std::vector<std::string> TakeStoredChanges();
    // A file of what the editor shows, in the format asked for (a registry
    // script or a policy file), or nothing before loading.
    // A script is for the Group Policy Object of this GUID when one is given.
    std::optional<std::string> ExportFile(ExportFormat format, const PreferenceStamps& stamps = {},
                                          std::string_view gpoGuid = {}) const;
    // The settings of an Intune profile that sets what the editor shows, or
    // the CSIDL of a special folder that cannot be set so; nothing before
    // loading.
    std::optional<std::variant<std::vector<IntuneSetting>, int32_t>> IntuneSettings() const;

    UsableInputs Inputs() const;

private:
    bool Move(int delta);
    bool GivePath(const std::string& path);
    bool CanEdit() const { return selected_.has_value() && !Hidden(); }

    PlacesStore store_;
    Places slots_{};
    Places read_{};  // as last read or written
    HideFlag hide_ = HideFlag::Show;
    HideFlag readHide_ = HideFlag::Show;
    // The stored values as last read or written: what tells another
    // program's write from the editor's own.
    std::array<StoredValue, kSlotCount> stored_{};
    HideFlag storedHidden_ = HideFlag::None;
    bool loaded_ = false;
    std::optional<int> selected_;
    PlaceKind shownKind_ = PlaceKind::Folder;
};

}  // namespace quenmar
