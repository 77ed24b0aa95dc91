#include "win32/ShellResolver.h"

#include <shlobj.h>
#include <shellapi.h>

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

#include "win32/Handles.h"
#include "win32/Waiting.h"
#include "win32/WideText.h"
#include "win32/Win32ShellLookups.h"

namespace quenmar::win {

// What the pool's threads share with the resolver, which may be gone by the
// time an answer comes.
struct ShellResolver::Inbox {
    explicit Inbox(Resolve r) : resolve(std::move(r)) {}
    const Resolve resolve;
    // Set when the resolver goes: questions not yet started are not asked.
    std::atomic<bool> closed{false};
    std::mutex lock;
    HWND window = nullptr;
    UINT message = 0;
    struct Arrived {
        PlaceQuery query;
        uint64_t asking;
        ShellAnswer answer;
    };
    std::vector<Arrived> arrived;
};

namespace {

using Work = std::function<void()>;

// A question's whole work, run on a thread of the pool with COM of its own,
// as the shell asks of any thread that calls it.
VOID CALLBACK RunOnPool(PTP_CALLBACK_INSTANCE, PVOID context) {
    const std::unique_ptr<Work> work(static_cast<Work*>(context));
    // A drive with no medium is a place not found, never a box asking for a
    // disk on a thread no one watches.
    const NoCriticalErrorBoxes quiet;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    (*work)();
    if (SUCCEEDED(com)) CoUninitialize();
}

// A folder's icons, without asking any disk: what a place not found shows.
void FolderIcons(ShellAnswer& answer) {
    FolderIconByAttributes(IconSize::Large, answer.largeIcon);
    FolderIconByAttributes(IconSize::Small, answer.smallIcon);
}

}  // namespace

ShellResolver::ShellResolver(Resolve resolve) : inbox_(std::make_shared<Inbox>(std::move(resolve))) {}

ShellResolver::~ShellResolver() {
    // Neither waits for a question the shell takes long over (a share out of
    // reach) nor is reached by its answer; one not yet started asks nothing.
    // (A cleanup group would cancel those, but closing one waits for every
    // callback running, even one that has disassociated itself.)
    inbox_->closed = true;
    Detach();
}

void ShellResolver::Attach(HWND window, UINT message) {
    const std::lock_guard<std::mutex> guard(inbox_->lock);
    inbox_->window = window;
    inbox_->message = message;
}

void ShellResolver::Detach() {
    const std::lock_guard<std::mutex> guard(inbox_->lock);
    inbox_->window = nullptr;
}

void ShellResolver::Release() {
    holding_ = false;
    for (const PlaceQuery& query : std::exchange(held_, {})) Ask(query);
}

const ShellAnswer* ShellResolver::AnswerFor(const PlaceQuery& query) {
    if (const auto known = answers_.find(query); known != answers_.end()) {
        // A forgotten answer still stands until the new one comes.
        if (stale_.erase(query) && !holding_ && !asked_.contains(query)) Ask(query);
        return &known->second;
    }
    if (holding_) {
        held_.insert(query);
    } else if (!asked_.contains(query)) {
        Ask(query);
    }
    return nullptr;
}

void ShellResolver::Ask(const PlaceQuery& query) {
    const uint64_t asking = ++askings_;
    asked_[query] = asking;
    auto work = std::make_unique<Work>([inbox = inbox_, query, asking] {
        if (inbox->closed) return;
        ShellAnswer answer;
        try {
            answer = inbox->resolve(query);
        } catch (...) {
            answer = {};  // not found: shown as a place the dialog leaves out
        }
        HWND window = nullptr;
        UINT message = 0;
        {
            const std::lock_guard<std::mutex> guard(inbox->lock);
            if (!inbox->window) return;
            inbox->arrived.push_back({query, asking, std::move(answer)});
            // One message for all that come before the window takes them in.
            if (inbox->arrived.size() == 1) window = inbox->window, message = inbox->message;
        }
        if (window) PostMessageW(window, message, 0, 0);
    });
    if (!TrySubmitThreadpoolCallback(RunOnPool, work.get(), nullptr)) {
        asked_.erase(query);  // no thread to be had now: asked again when next wanted
        return;
    }
    work.release();
}

ShellResolver::Arrived ShellResolver::TakeAnswers() {
    std::vector<Inbox::Arrived> arrived;
    {
        const std::lock_guard<std::mutex> guard(inbox_->lock);
        arrived.swap(inbox_->arrived);
    }
    Arrived taken;
    for (auto& [query, asking, answer] : arrived) {
        // An answer to a question asked before Forget is stale: the question
        // is asked again, and only that asking's answer is taken.
        const auto latest = asked_.find(query);
        if (latest == asked_.end() || latest->second != asking) continue;
        asked_.erase(latest);
        taken.some = true;
        taken.aboutSpecialFolders = taken.aboutSpecialFolders || query.special;
        answers_[query] = std::move(answer);
    }
    return taken;
}

void ShellResolver::Retain(const std::set<PlaceQuery>& held) {
    std::erase_if(answers_, [&](const auto& answer) { return !held.contains(answer.first); });
    std::erase_if(stale_, [&](const PlaceQuery& query) { return !held.contains(query); });
}

void ShellResolver::Forget() {
    for (const auto& [query, answer] : answers_) stale_.insert(query);
    asked_.clear();
}

ShellAnswer ShellResolver::AskShell(const PlaceQuery& query) {
    ShellAnswer answer;
    UniquePidl item;
    // As the dialog locates a place: a folder this system lacks, or text the
    // shell cannot parse, is not found. Empty text is parsed too, as the
    // dialog reads an empty value (Wine's shell finds My Computer).
    const HRESULT located = query.special ? SHGetSpecialFolderLocation(nullptr, query.csidl, item.put())
                                          : SHParseDisplayName(Wide(query.text).c_str(), nullptr, item.put(), 0, nullptr);
    if (FAILED(located) || !item) {
        FolderIcons(answer);
        return answer;
    }
    answer.found = true;
    SHFILEINFOW info{};
    if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item.get()), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_LARGEICON)) {
        info.szDisplayName[std::size(info.szDisplayName) - 1] = L'\0';
        answer.name = Utf8(info.szDisplayName);
        answer.largeIcon = info.iIcon;
    }
    SHFILEINFOW small{};
    if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item.get()), 0, &small, sizeof small,
                       SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) {
        answer.smallIcon = small.iIcon;
    }
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item.get(), path)) answer.location = Utf8(path);
    // A folder's location without the backslash some shells end it with;
    // a drive's root keeps its own.
    if (answer.location.size() > 3 && answer.location.back() == '\\') answer.location.pop_back();
    return answer;
}

}  // namespace quenmar::win
