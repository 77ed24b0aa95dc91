#include "places/PlacesEditor.h"

#include "places/PathText.h"
#include "places/RegistryScript.h"

namespace quenmar {

namespace {

PlaceKind KindOf(const Place& place) { return place.isFolder ? PlaceKind::Folder : PlaceKind::SpecialFolder; }

}  // namespace

std::vector<std::string> PlacesEditor::Load() {
    LoadedSlots loaded = store_.LoadSlots();
    slots_ = loaded.entries;
    read_ = slots_;
    stored_ = loaded.stored;
    storedHidden_ = store_.LoadHideFlag();
    if (storedHidden_ != HideFlag::None) hide_ = storedHidden_;  // unreadable: shown as it was
    readHide_ = hide_;
    loaded_ = true;
    Select(0);
    return std::move(loaded.replacedValues);
}

void PlacesEditor::Select(std::optional<int> slot) {
    if (slot && (!loaded_ || *slot < 0 || *slot >= kSlotCount)) slot.reset();
    selected_ = slot;
    if (selected_) shownKind_ = KindOf(slots_[*selected_]);
}

void PlacesEditor::SetKind(PlaceKind kind) {
    if (Hidden()) return;
    shownKind_ = kind;
    if (selected_) slots_[*selected_].isFolder = kind == PlaceKind::Folder;
}

bool PlacesEditor::SetPath(const std::string& typed) {
    const std::string path = TrimControlsAndBlanks(typed);
    const bool samePath = CanEdit() && slots_[*selected_].isFolder && slots_[*selected_].path == path;
    if (path.empty() && IsPolicy() && CanEdit()) {
        Unset();  // a policy's path cleared: the place is not set
        return true;
    }
    if (!GivePath(path)) return false;
    if (!samePath) slots_[*selected_].keepUnexpanded = NamesEnvironmentVariable(path);
    return true;
}

bool PlacesEditor::SaysTheSelectedPath(const std::string& text) const {
    const Place* place = SelectedPlace();
    return TrimControlsAndBlanks(text) == (place && place->isFolder ? place->path : "");
}

bool PlacesEditor::SetPlainPath(const std::string& path) {
    if (!GivePath(path)) return false;
    slots_[*selected_].keepUnexpanded = false;
    return true;
}

bool PlacesEditor::UseInstead(const StandIn& standIn) {
    const auto* path = std::get_if<std::string>(&standIn);
    return path ? SetPlainPath(*path) : PickSpecialFolder(std::get<int32_t>(standIn));
}

bool PlacesEditor::SetPickedFolder(const std::string& path) { return GivePath(AddTrailingBackslash(path)); }

bool PlacesEditor::DropName(const std::string& name, Dropped found) {
    if (found == Dropped::Nothing) return false;
    const std::string folder = found == Dropped::Folder ? AddTrailingBackslash(name) : DirectoryPart(name);
    return !folder.empty() && GivePath(folder);
}

bool PlacesEditor::GivePath(const std::string& path) {
    if (!CanEdit()) return false;
    Place& place = slots_[*selected_];
    // A new path is stored as it is given; the same path keeps its form.
    if (place.path != path) place.keepUnexpanded = false;
    place.path = path;
    place.isFolder = true;
    place.set = true;
    shownKind_ = PlaceKind::Folder;
    return true;
}

bool PlacesEditor::PickSpecialFolder(int32_t csidl) {
    if (!CanEdit()) return false;
    Place& place = slots_[*selected_];
    place.csidl = csidl;
    place.isFolder = false;
    place.set = true;
    shownKind_ = PlaceKind::SpecialFolder;
    return true;
}

bool PlacesEditor::Move(int delta) {
    if (!CanEdit()) return false;
    const int target = *selected_ + delta;
    if (target < 0 || target >= kSlotCount) return false;
    std::swap(slots_[*selected_], slots_[target]);
    selected_ = target;
    return true;
}

void PlacesEditor::SetHidden(bool hidden) { hide_ = hidden ? HideFlag::Hide : HideFlag::Show; }

void PlacesEditor::SetHideSetting(HideFlag setting) {
    if (setting == HideFlag::None || (setting == HideFlag::NotSet && !IsPolicy())) return;
    hide_ = setting;
}

void PlacesEditor::NextHideSetting() {
    if (hide_ == HideFlag::Hide) return SetHideSetting(IsPolicy() ? HideFlag::NotSet : HideFlag::Show);
    SetHideSetting(hide_ == HideFlag::Show ? HideFlag::Hide : HideFlag::Show);
}

bool PlacesEditor::Unset() {
    if (!IsPolicy() || !CanEdit() || !slots_[*selected_].set) return false;
    slots_[*selected_] = Place::NotSet();
    shownKind_ = PlaceKind::Folder;
    return true;
}

StoreOutcome PlacesEditor::RestoreDefaults() {
    if (IsPolicy()) {
        // A policy that sets no places: written, as every change, by Save.
        if (loaded_) slots_.fill(Place::NotSet());
        Select(0);
        return {};
    }
    StoreOutcome outcome = store_.DeleteCustomPlaces();
    for (int n = 0; n < kSlotCount; ++n) slots_[n] = PlacesStore::DefaultEntry(n);
    if (outcome.Done()) {
        read_ = slots_;
        stored_.fill(kNoPlacesKey);
    }
    loaded_ = true;
    Select(0);
    return outcome;
}

StoreOutcome PlacesEditor::Save() {
    if (!loaded_) return {};  // never loaded: nothing of the user's to write
    store_.Reread(true);  // however it seems: another's change is not to be written over
    TakeStoredChanges();
    StoreChanges changes;
    for (int n = 0; n < kSlotCount; ++n) {
        // A policy is changed only where the user changed it.
        if (!IsPolicy() || (SlotChanged(n) && StoredValueOf(slots_[n]) != stored_[n])) changes.places[n] = slots_[n];
    }
    if (!IsPolicy() || HiddenChanged()) changes.hide = hide_;
    if (changes.Empty()) {
        read_ = slots_;
        return {};  // nothing changed: nothing written
    }
    StoreOutcome outcome = store_.Save(changes);
    if (!outcome.Done()) return outcome;  // what was written is another's write to the next look
    read_ = slots_;
    readHide_ = hide_;
    for (int n = 0; n < kSlotCount; ++n) {
        if (changes.places[n]) stored_[n] = StoredValueOf(slots_[n]);
    }
    if (changes.hide) storedHidden_ = hide_;
    return outcome;
}

PlacesEditor::Preview PlacesEditor::PreparePreview() {
    Preview preview{Save()};
    preview.noPlacesBar = Hidden();
    return preview;
}

std::vector<std::string> PlacesEditor::TakeStoredChanges() {
    if (!loaded_) return {};
    LoadedSlots loaded = store_.LoadSlots();
    std::vector<std::string> unreadable;
    for (int n = 0; n < kSlotCount; ++n) {
        if (loaded.stored[n] == stored_[n]) continue;
        stored_[n] = loaded.stored[n];
        if (!SlotChanged(n)) slots_[n] = loaded.entries[n];
        read_[n] = loaded.entries[n];
        const std::string name = PlaceValueName(n);
        for (const std::string& replaced : loaded.replacedValues) {
            if (replaced == name) unreadable.push_back(name);
        }
    }
    const HideFlag flag = store_.LoadHideFlag();
    if (flag != HideFlag::None && flag != storedHidden_) {  // an unreadable flag changes nothing
        if (!HiddenChanged()) hide_ = flag;
        readHide_ = flag;
        storedHidden_ = flag;
    }
    if (selected_) shownKind_ = KindOf(slots_[*selected_]);
    return unreadable;
}

std::optional<std::string> PlacesEditor::ExportFile(ExportFormat format, const PreferenceStamps& stamps,
                                                    std::string_view gpoGuid) const {
    if (!loaded_) return std::nullopt;
    return ExportedSettings(format, slots_, hide_, stamps, gpoGuid);
}

std::optional<std::variant<std::vector<IntuneSetting>, int32_t>> PlacesEditor::IntuneSettings() const {
    if (!loaded_) return std::nullopt;
    return PlacesForIntune(slots_, hide_);
}

UsableInputs PlacesEditor::Inputs() const {
    UsableInputs inputs;
    if (!loaded_ || Hidden()) return inputs;
    inputs.places = true;
    inputs.kinds = true;
    if (selected_) {
        inputs.path = inputs.browse = shownKind_ == PlaceKind::Folder;
        inputs.catalogue = shownKind_ == PlaceKind::SpecialFolder;
        inputs.moveUp = *selected_ > 0;
        inputs.moveDown = *selected_ < kSlotCount - 1;
        inputs.changeFolder = slots_[*selected_].isFolder;
        inputs.unset = IsPolicy() && slots_[*selected_].set;
    }
    return inputs;
}

}  // namespace quenmar
