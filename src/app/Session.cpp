#include "app/Session.h"

#include <cstdio>
#include <set>

#include "app/AppTexts.h"
#include "app/GroupPolicyTarget.h"
#include "places/Catalogue.h"
#include "places/Captions.h"
#include "win32/FileContents.h"
#include "win32/Texts.h"
#include "win32/Win32Registry.h"
#include "win32/WideText.h"

namespace quenmar {

namespace {

// The single-instance guard's name for what a session edits: one policy
// file is one, whatever letters its path is written in.
std::string InstanceName(const std::optional<EditedPolicy>& policy) {
    const std::string name = "Quenmar.MainWindow";
    if (!policy) return name;
    std::wstring path = win::Wide(policy->file);
    CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const wchar_t unit : path) hash = (hash ^ unit) * 1099511628211ull;
    char hex[17] = {};
    snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return name + ".Policy." + hex;
}

}  // namespace

Session::Session(std::unique_ptr<RegistryAccessor> registry, win::ShellResolver::Resolve resolve,
                 std::optional<EditedPolicy> policy)
    : registry_(registry ? std::move(registry) : std::make_unique<win::Win32Registry>()),
      policy_(std::move(policy)),
      editor_(*registry_),
      resolver_(std::move(resolve)) {}

Session::~Session() { Detach(); }

bool Session::ClaimFirstStart(DWORD limitMs) {
    guard_ = std::make_unique<SingleInstance>(InstanceName(policy_));
    return guard_->Claim(limitMs);
}

void Session::Attach(HWND window) {
    window_ = window;
    resolver_.Attach(window, kShellAnswered);
    if (guard_) guard_->Publish(window);
}

void Session::Detach() {
    watch_.reset();
    fileWatch_.reset();
    resolver_.Detach();
    // Nothing the session keeps may reach the window once it is gone.
    shell_.SetImageListChanged({});
    window_ = nullptr;
}

std::optional<std::string> Session::Load() {
    const std::vector<std::string> replaced = editor_.Load();
    if (!policy_) {
        std::string bytes;
        std::optional<PolicyFileRefusal> refusal;
        const std::string local = ResolveGroupPolicyTarget("local").policyFile;
        const PolicyFile file = win::ReadFileContents(local, PolicyFile::kLargestFile, bytes)
                                    ? PolicyFile()
                                    : PolicyFile::Read(bytes, refusal);
        localPolicySetsPlaces_ = file.HasValues(kPlacesBarKey) || file.Find(kComdlgPolicyKey, kNoPlacesBarValue);
    }
    std::optional<std::string> told = policy_ ? policy_->notice : std::nullopt;
    if (replaced.empty()) return told;
    const std::string message = PlacesStore::ReplacedValuesMessage(replaced);
    return told ? *told + "\n\n" + message : message;
}

void Session::LookUpShell() {
    // The questions held since the window was made are asked now.
    resolver_.Release();
    if (watch_ || fileWatch_ || !window_) return;
    if (policy_) {
        fileWatch_ = std::make_unique<win::FileWatch>(policy_->file, window_, kStoredSettingsChanged);
    } else {
        watch_ = std::make_unique<win::RegistryWatch>(kComdlgPolicyKey, window_, kStoredSettingsChanged);
    }
}

SlotDisplay Session::DisplayOf(const Place& place, bool beingTyped) {
    const ShellAnswer* answer =
        beingTyped || !place.set ? nullptr : resolver_.AnswerFor(QueryOf(place, shell_, dialog_));
    return DisplayFor(place, answer, shell_, dialog_);
}

Session::CatalogueRows Session::Catalogue() {
    std::array<const ShellAnswer*, kSpecialFolders.size()> answers{};
    CatalogueRows rows;
    for (size_t row = 0; row < kSpecialFolders.size(); ++row) {
        answers[row] = resolver_.AnswerFor({true, kSpecialFolders[row].csidl, {}});
        rows.icons[row] = answers[row] ? answers[row]->smallIcon : kNoIcon;
    }
    rows.names = CatalogueNames(answers);
    return rows;
}

std::string Session::SpecialFolderShownName(int32_t csidl) {
    const ShellAnswer* answer = resolver_.AnswerFor({true, csidl, {}});
    return answer && answer->found && !answer->name.empty() ? answer->name : SpecialFolderName(csidl);
}

SlotNote Session::NoteOf(const std::optional<SlotDisplay>& shown) {
    if (shown && shown->leftOut != LeftOut::No) {
        SlotNote note{LeftOutText(shown->leftOut), "", true, shown->mend};
        if (const auto* path = shown->mend ? std::get_if<std::string>(&*shown->mend) : nullptr) {
            note.link = TextOf(IDS_USE_PATH_INSTEAD, {*path});
        } else if (shown->mend) {
            note.link = TextOf(IDS_USE_SPECIAL_INSTEAD, {SpecialFolderShownName(std::get<int32_t>(*shown->mend))});
        }
        return note;
    }
    if (localPolicySetsPlaces_) return {TextOf(IDS_LOCAL_POLICY_SETS_PLACES), TextOf(IDS_EDIT_LOCAL_POLICY)};
    return {};
}

std::string Session::PathOf(const Place& place) { return EffectivePath(place, shell_); }

win::ShellResolver::Arrived Session::TakeShellAnswers() {
    const win::ShellResolver::Arrived arrived = resolver_.TakeAnswers();
    // The shell's icons are in its image lists from its first answer.
    if (arrived.some && !shell_.SystemImageList(IconSize::Large)) shell_.AdoptImageLists();
    return arrived;
}

void Session::KeepAnswersOfTheSlotsOnly() {
    std::set<PlaceQuery> held;
    for (const SpecialFolder& row : kSpecialFolders) held.insert({true, row.csidl, {}});
    for (int n = 0; n < kSlotCount && editor_.Loaded(); ++n) {
        const Place& place = editor_.Slot(n);
        held.insert(QueryOf(place, shell_, dialog_));
        if (const std::optional<int32_t> named = place.isFolder ? PolicyNameFolder(place.path) : std::nullopt) {
            held.insert({true, *named, {}});
        }
    }
    resolver_.Retain(held);
}

bool Session::MayEnd(bool critical) {
    if (!editor_.Loaded()) return true;
    const StoreOutcome saved = editor_.Save();
    heldAtEnd_.reset();
    if (saved.Done() || critical) return true;
    heldAtEnd_ = saved;
    ShutdownBlockReasonCreate(window_, win::Wide(TextOf(IDS_SAVE_FAILED)).c_str());
    return false;
}

void Session::SaveAtSessionEnd() {
    // Nothing may be shown or waited for now.
    if (editor_.Loaded()) editor_.Save();
}

std::optional<StoreOutcome> Session::SessionContinues() {
    if (!editor_.Loaded()) return std::nullopt;
    ShutdownBlockReasonDestroy(window_);
    return std::exchange(heldAtEnd_, std::nullopt);
}

}  // namespace quenmar
