#include "app/Session.h"

#include <set>

#include "app/AppTexts.h"
#include "app/ShellOpenLauncher.h"
#include "places/Catalogue.h"
#include "places/Captions.h"
#include "win32/Texts.h"
#include "win32/WideText.h"

namespace quenmar {

Session::Session(std::unique_ptr<EditedSettings> edited, win::ShellResolver::Resolve resolve)
    : edited_(edited ? std::move(edited) : EditedSettings::UsersOwn()),
      editor_(edited_->Store()),
      resolver_(std::move(resolve)) {}

Session::~Session() { Detach(); }

bool Session::ClaimFirstStart(DWORD limitMs) {
    guard_ = std::make_unique<SingleInstance>(edited_->InstanceName());
    return guard_->Claim(limitMs);
}

void Session::Attach(HWND window) {
    window_ = window;
    resolver_.Attach(window, kShellAnswered);
    if (guard_) guard_->Publish(window);
}

void Session::Detach() {
    edited_->StopWatching();
    resolver_.Detach();
    // Nothing the session keeps may reach the window once it is gone.
    shell_.SetImageListChanged({});
    window_ = nullptr;
}

std::optional<std::string> Session::Load() {
    const std::vector<std::string> replaced = editor_.Load();
    const std::optional<std::string> told = edited_->LoadNotice();
    if (replaced.empty()) return told;
    const std::string message = PlacesStore::ReplacedValuesMessage(replaced);
    return told ? *told + "\n\n" + message : message;
}

void Session::StartAskingTheShellAndWatching() {
    // The questions held since the window was made are asked now.
    resolver_.Release();
    if (edited_->Watching() || !window_) return;
    edited_->Watch(window_, kStoredSettingsChanged);
}

SlotDisplay Session::SlotShown(int index) {
    const Place& place = editor_.Slot(index);
    const bool beingTyped = typing_ && editor_.Selected() == index;
    const ShellAnswer* answer =
        beingTyped || !place.set ? nullptr : resolver_.AnswerFor(QueryOf(place, shell_, dialog_));
    return DisplayFor(place, answer, shell_, dialog_);
}

void Session::Typed() {
    typing_ = true;
    if (window_) SetTimer(window_, kTypingPausedTimer, kTypingPauseMs, nullptr);
}

void Session::TypingPaused() {
    if (window_) KillTimer(window_, kTypingPausedTimer);
    typing_ = false;
    KeepAnswersOfTheSlotsOnly();
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
        SlotNote note{LeftOutText(shown->leftOut), "", true, shown->standIn};
        if (const auto* path = shown->standIn ? std::get_if<std::string>(&*shown->standIn) : nullptr) {
            note.link = TextOf(IDS_USE_PATH_INSTEAD, {*path});
        } else if (shown->standIn) {
            note.link = TextOf(IDS_USE_SPECIAL_INSTEAD, {SpecialFolderShownName(std::get<int32_t>(*shown->standIn))});
        }
        return note;
    }
    if (edited_->LocalPolicySetsPlaces()) {
        return {TextOf(IDS_LOCAL_POLICY_SETS_PLACES), TextOf(IDS_EDIT_LOCAL_POLICY), false, std::nullopt, true};
    }
    return {};
}

bool Session::FollowLink(const SlotNote& note) {
    if (note.standIn) return editor_.UseInstead(*note.standIn);
    if (note.editsLocalPolicy) StartProgramAsAdministrator("/policy local");
    return false;
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

std::optional<StoreOutcome> Session::SessionEnds(bool ending) {
    if (!editor_.Loaded()) return std::nullopt;
    if (ending) {
        editor_.Save();  // nothing may be shown or waited for now
        return std::nullopt;
    }
    ShutdownBlockReasonDestroy(window_);
    return std::exchange(heldAtEnd_, std::nullopt);
}

}  // namespace quenmar
