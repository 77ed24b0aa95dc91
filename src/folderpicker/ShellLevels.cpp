#include "folderpicker/ShellLevels.h"

#include <shlwapi.h>

#include <algorithm>
#include <utility>

#include "folderpicker/FolderFacts.h"
#include "folderpicker/ShellItem.h"
#include "win32/Waiting.h"
#include "win32/WideText.h"

namespace quenmar {

namespace {

bool Stopped(const std::atomic<bool>* stop) { return stop && stop->load(std::memory_order_relaxed); }

// Puts items in the folder's own order (its CompareIDs). Sorting with that
// comparison alone takes about as long as reading a large folder does, and
// its order is nearly always that of the names without regard to case. So
// the items are first put in that order, cheaply, and then checked pair by
// pair with the folder's comparison, which moves any item that is out of
// place; should too many be, the folder's comparison sorts them all.
void SortByFolder(IShellFolder* folder, std::vector<ShellListedItem>& items) {
    auto before = [folder](const ShellListedItem& a, const ShellListedItem& b) {
        return pidl::Compare(folder, a.relative.get(), b.relative.get()).value_or(0) < 0;
    };
    if (items.size() < 2) return;

    std::vector<std::pair<std::wstring, size_t>> keys;
    keys.reserve(items.size());
    for (size_t n = 0; n < items.size(); ++n) {
        std::wstring key = win::Wide(items[n].label);
        if (!key.empty()) CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
        keys.emplace_back(std::move(key), n);
    }
    std::sort(keys.begin(), keys.end());
    std::vector<ShellListedItem> ordered;
    ordered.reserve(items.size());
    for (const auto& key : keys) ordered.push_back(std::move(items[key.second]));
    items = std::move(ordered);

    const size_t allowedMoves = 4 * items.size();
    size_t moves = 0;
    for (size_t i = 1; i < items.size(); ++i) {
        if (!before(items[i], items[i - 1])) continue;
        ShellListedItem moving = std::move(items[i]);
        size_t j = i;
        do {
            items[j] = std::move(items[j - 1]);
            --j;
            ++moves;
        } while (j > 0 && before(moving, items[j - 1]));
        items[j] = std::move(moving);
        if (moves > allowedMoves) {
            std::sort(items.begin(), items.end(), before);
            return;
        }
    }
}

}  // namespace

bool ReadShellLevel(IShellFolder* folder, HWND owner, SHCONTF flags, std::vector<ShellListedItem>& items,
                    const std::atomic<bool>* stop) {
    items.clear();
    win::ComPtr<IEnumIDList> enumerator;
    if (folder->EnumObjects(owner, flags, enumerator.put()) != S_OK || !enumerator) return false;
    for (;;) {
        if (Stopped(stop)) return false;
        win::UniquePidl relative;
        ULONG fetched = 0;
        if (enumerator->Next(1, relative.put(), &fetched) != S_OK || fetched == 0) break;
        ULONG attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER;
        LPCITEMIDLIST one = relative.get();
        if (FAILED(folder->GetAttributesOf(1, &one, &attributes))) continue;
        ShellListedItem item;
        item.label = pidl::DisplayName(folder, relative.get(), SHGDN_INFOLDER | SHGDN_NORMAL);
        item.attributes = attributes;
        item.relative = std::move(relative);
        items.push_back(std::move(item));
    }
    SortByFolder(folder, items);
    return !Stopped(stop);
}

ShellLevelPrefetch::ShellLevelPrefetch(LPCITEMIDLIST root, LPCITEMIDLIST target, SHCONTF flags) : flags_(flags) {
    if (!root) root = pidl::Empty();
    levels_.push_back({pidl::Clone(root), {}});
    // The target's ancestors below the root, when the root is one of them.
    LPCITEMIDLIST rest = pidl::BelowRoot(target, root);
    for (; !pidl::IsEmpty(rest) && !pidl::IsEmpty(pidl::Next(rest)); rest = pidl::Next(rest)) {
        win::UniquePidl relative = pidl::CloneFirst(rest);
        win::UniquePidl absolute = pidl::Append(levels_.back().absolute.get(), relative.get());
        levels_.push_back({std::move(absolute), std::move(relative)});
    }
    if (!pidl::IsEmpty(rest)) targetChild_ = pidl::CloneFirst(rest);
    factsDone_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    for (Level& level : levels_) {
        level.doneEvent.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!level.doneEvent || !factsDone_) {
            // Nothing to wait on: the tree reads every level for itself.
            for (Level& each : levels_) each.doneEvent.reset();
            factsDone_.reset();
            return;
        }
    }
    // The level the target is in is the one that may hold thousands of
    // items: it is read on a thread of its own, beside the levels above it.
    const size_t count = levels_.size();
    const size_t split = count - 1;
    // No thread to spare: what was not started is left to the tree.
    if (!nearWorker_.Start([this, split, count] { Work(split, count); })) {
        for (size_t n = split; n < count; ++n) MarkDone(levels_[n], {}, false);
        SetEvent(factsDone_.get());
    }
    if (split > 0 && !farWorker_.Start([this, split] { Work(0, split); })) {
        for (size_t n = 0; n < split; ++n) MarkDone(levels_[n], {}, false);
    }
}

ShellLevelPrefetch::~ShellLevelPrefetch() {
    stop_ = true;
    // Every level is marked done, read or not, before its worker ends.
    for (Level& level : levels_) {
        if (level.doneEvent) win::WaitTakingSentMessages(level.doneEvent.get());
    }
    if (factsDone_) win::WaitTakingSentMessages(factsDone_.get());
    nearWorker_.Join();
    farWorker_.Join();
}

void ShellLevelPrefetch::MarkDone(Level& level, std::vector<ShellListedItem> items, bool read) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        level.items = std::move(items);
        level.read = read;
    }
    SetEvent(level.doneEvent.get());
}

void ShellLevelPrefetch::Work(size_t first, size_t end) {
    // However the work ends, every level it was given ends marked done, and
    // the facts with the last level: nobody waits for what will not come.
    const win::ScopeExit finish([&] {
        for (size_t n = first; n < end; ++n) {
            if (WaitForSingleObject(levels_[n].doneEvent.get(), 0) != WAIT_OBJECT_0) MarkDone(levels_[n], {}, false);
        }
        if (end == levels_.size()) SetEvent(factsDone_.get());
    });
    win::ComPtr<IShellFolder> folder;
    bool bound = SUCCEEDED(SHGetDesktopFolder(folder.put()));
    for (size_t n = first; n < end; ++n) {
        Level& level = levels_[n];
        if (bound && !stop_) {
            // The first level of the run is bound from the Desktop, each
            // next one from the level before.
            LPCITEMIDLIST id = n == first ? level.absolute.get() : level.relative.get();
            if (!pidl::IsEmpty(id)) {
                win::ComPtr<IShellFolder> next;
                bound = SUCCEEDED(folder->BindToObject(id, nullptr, IID_IShellFolder, next.put_void()));
                folder = std::move(next);
            }
        }
        std::vector<ShellListedItem> items;
        const bool read = bound && !stop_ && folder && ReadShellLevel(folder.get(), nullptr, flags_, items, &stop_);
        const bool last = n + 1 == levels_.size();
        std::vector<std::wstring> neighbours;
        if (last && read) neighbours = NeighbourPaths(folder.get(), level.absolute.get(), items);
        MarkDone(level, std::move(items), read);
        if (last) ReadFacts(neighbours);
    }
    folder.reset();  // released on this thread, before its apartment ends
}

std::vector<std::wstring> ShellLevelPrefetch::NeighbourPaths(IShellFolder* folder, LPCITEMIDLIST level,
                                                             const std::vector<ShellListedItem>& items) const {
    const std::wstring base = targetChild_ ? pidl::FileSystemPath(level) : std::wstring();
    if (base.empty()) return {};
    // The listing is in the folder's own order: the target is found by halves.
    const LPCITEMIDLIST child = targetChild_.get();
    const auto before = [folder](const ShellListedItem& item, LPCITEMIDLIST id) {
        return pidl::Compare(folder, item.relative.get(), id).value_or(0) < 0;
    };
    const auto found = std::lower_bound(items.begin(), items.end(), child, before);
    if (found == items.end() || pidl::Compare(folder, found->relative.get(), child) != 0) return {};
    const size_t index = static_cast<size_t>(found - items.begin());
    std::vector<size_t> order{index};
    for (size_t k = 1; k <= kFactsAbove && k <= index; ++k) order.push_back(index - k);
    for (size_t k = 1; k <= kFactsBelow && index + k < items.size(); ++k) order.push_back(index + k);

    // Made as the tree makes a child's path, so that the tree finds them.
    std::vector<std::wstring> paths;
    for (const size_t n : order) {
        const ShellListedItem& item = items[n];
        if (!(item.attributes & SFGAO_FILESYSTEM) || !(item.attributes & SFGAO_FOLDER)) continue;
        std::wstring path = pidl::ChildPath(base, folder, item.relative.get());
        if (!path.empty()) paths.push_back(std::move(path));
    }
    return paths;
}

void ShellLevelPrefetch::ReadFacts(const std::vector<std::wstring>& paths) {
    // The worker's thread shows no critical-error prompts of its own.
    const bool hidden = flags_ & SHCONTF_INCLUDEHIDDEN;
    const bool files = flags_ & SHCONTF_NONFOLDERS;
    for (const std::wstring& path : paths) {
        if (stop_) break;
        const DiskFact fact = ReadDiskFact(path, hidden, files);
        std::lock_guard<std::mutex> guard(lock_);
        facts_[path] = fact;
    }
    SetEvent(factsDone_.get());
}

DiskFacts ShellLevelPrefetch::TakeFacts(SHCONTF flags, bool wait) {
    if (flags != flags_ || !factsDone_) return {};
    if (wait) win::WaitTakingSentMessages(factsDone_.get());
    std::lock_guard<std::mutex> guard(lock_);
    return std::exchange(facts_, {});
}

bool ShellLevelPrefetch::Take(LPCITEMIDLIST folder, SHCONTF flags, std::vector<ShellListedItem>& items) {
    if (flags != flags_ || !folder) return false;
    for (Level& level : levels_) {
        if (pidl::CountIds(level.absolute.get()) != pidl::CountIds(folder) ||
            !pidl::SameItem(level.absolute.get(), folder)) {
            continue;
        }
        if (!level.doneEvent) return false;
        win::WaitTakingSentMessages(level.doneEvent.get());
        std::lock_guard<std::mutex> guard(lock_);
        if (!level.read || level.taken) return false;
        level.taken = true;
        items = std::move(level.items);
        return true;
    }
    return false;
}

}  // namespace quenmar
