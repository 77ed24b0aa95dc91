#pragma once

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "folderpicker/FolderFacts.h"
#include "win32/Handles.h"
#include "win32/ShellWorker.h"

namespace quenmar {

// One item of a folder's listing: its own ID, the attributes the folder tree
// asks of it, and its name as shown.
struct ShellListedItem {
    win::UniquePidl relative;
    ULONG attributes = 0;
    std::string label;
};

// Reads a folder's items with the given enumeration flags, each with its
// attributes and display name, in the folder's own order (its CompareIDs).
// False when the folder cannot be read, or `stop` was set while reading;
// `owner` is the window for any prompt the folder needs (none when null).
bool ReadShellLevel(IShellFolder* folder, HWND owner, SHCONTF flags, std::vector<ShellListedItem>& items,
                    const std::atomic<bool>* stop = nullptr);

// Reads, on a worker thread, every level a folder tree lists on its way from
// its root to a target: the root and each of the target's ancestors below
// it. The tree takes each listing when it comes to that level instead of
// reading the folder itself, so that the reading goes on while its window
// is being built. A level that could not be read is left to the tree, which
// can ask the user (the worker never shows anything).
class ShellLevelPrefetch {
public:
    // root: the tree's root (null or empty for the Desktop); target: an
    // absolute list, or null for the root alone.
    ShellLevelPrefetch(LPCITEMIDLIST root, LPCITEMIDLIST target, SHCONTF flags);
    ~ShellLevelPrefetch();
    ShellLevelPrefetch(const ShellLevelPrefetch&) = delete;
    ShellLevelPrefetch& operator=(const ShellLevelPrefetch&) = delete;

    // The listing of a folder (absolute) read with these flags, waited for
    // if it is still being read; once only. False when it is not one of the
    // levels, was read with other flags, or could not be read.
    bool Take(LPCITEMIDLIST folder, SHCONTF flags, std::vector<ShellListedItem>& items);

    // The disk's facts of the folders around the target in its level, which
    // the tree shows first when it opens on the target: the worker reads them
    // once it has handed over that listing, nearest first, mostly those above
    // the target (a tree scrolled down to an item shows it at the bottom).
    // What has been read so far, with these flags (nothing for others);
    // once only. `wait` waits for all of them.
    DiskFacts TakeFacts(SHCONTF flags, bool wait = false);

    // The levels it reads, root first (for tests).

    static constexpr size_t kFactsAbove = 40;
    static constexpr size_t kFactsBelow = 4;

private:
    struct Level {
        win::UniquePidl absolute;
        win::UniquePidl relative;  // below the level before; null for the root
        std::vector<ShellListedItem> items;
        win::UniqueHandle doneEvent;  // set once the level is read or given up; none: never read
        bool read = false;
        bool taken = false;
    };
    // Reads levels [first, end), binding the first from the Desktop.
    void Work(size_t first, size_t end);
    void MarkDone(Level& level, std::vector<ShellListedItem> items, bool read);
    // The paths of the target's neighbours in its level's listing, nearest
    // first; then their facts, each kept as soon as it is read.
    std::vector<std::wstring> NeighbourPaths(IShellFolder* folder, LPCITEMIDLIST level,
                                             const std::vector<ShellListedItem>& items) const;
    void ReadFacts(const std::vector<std::wstring>& paths);

    SHCONTF flags_;
    std::vector<Level> levels_;  // the lists are fixed before the worker starts
    win::UniquePidl targetChild_;  // the target's own ID in the last level; none when it is the root
    DiskFacts facts_;               // under lock_
    win::UniqueHandle factsDone_;   // set once the worker has read all it will
    std::mutex lock_;
    std::atomic<bool> stop_{false};
    win::ShellWorker nearWorker_;  // the target's own level
    win::ShellWorker farWorker_;   // the levels above it
};

}  // namespace quenmar
