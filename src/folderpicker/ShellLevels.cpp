#include "folderpicker/ShellLevels.h"

#include <shlwapi.h>

#include <algorithm>

#include "folderpicker/ShellLocator.h"

namespace quenmar {

namespace {

const USHORT kEmptyList = 0;

std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST relative) {
    STRRET name{};
    if (FAILED(folder->GetDisplayNameOf(relative, SHGDN_INFOLDER | SHGDN_NORMAL, &name))) return {};
    char text[MAX_PATH * 2] = {};
    StrRetToBufA(&name, relative, text, sizeof text);
    return text;
}

bool Stopped(const std::atomic<bool>* stop) { return stop && stop->load(std::memory_order_relaxed); }

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
        item.label = DisplayName(folder, relative.get());
        item.attributes = attributes;
        item.relative = std::move(relative);
        items.push_back(std::move(item));
    }
    std::sort(items.begin(), items.end(), [folder](const ShellListedItem& a, const ShellListedItem& b) {
        const HRESULT result = folder->CompareIDs(0, a.relative.get(), b.relative.get());
        return SUCCEEDED(result) && static_cast<short>(HRESULT_CODE(result)) < 0;
    });
    return !Stopped(stop);
}

ShellLevelPrefetch::ShellLevelPrefetch(LPCITEMIDLIST root, LPCITEMIDLIST target, SHCONTF flags) : flags_(flags) {
    if (!root) root = reinterpret_cast<LPCITEMIDLIST>(&kEmptyList);
    levels_.push_back({win::UniquePidl(pidl::Clone(root)), {}});
    // The target's ancestors below the root, when the root is one of them.
    const int rootDepth = pidl::CountIds(root);
    const int targetDepth = target ? pidl::CountIds(target) : 0;
    if (targetDepth > rootDepth + 1) {
        win::UniquePidl prefix(pidl::Clone(target));
        LPCITEMIDLIST cut = prefix.get();
        for (int i = 0; i < rootDepth; ++i) cut = pidl::Next(cut);
        const_cast<SHITEMID&>(cut->mkid).cb = 0;
        if (rootDepth == 0 || pidl::CompareAbsolute(prefix.get(), root) == 0) {
            LPCITEMIDLIST rest = target;
            for (int i = 0; i < rootDepth; ++i) rest = pidl::Next(rest);
            for (int depth = rootDepth + 1; depth < targetDepth; ++depth) {
                win::UniquePidl relative(pidl::CloneFirst(rest));
                win::UniquePidl absolute(pidl::Append(levels_.back().absolute.get(), relative.get()));
                levels_.push_back({std::move(absolute), std::move(relative)});
                rest = pidl::Next(rest);
            }
        }
    }
    try {
        worker_ = std::thread([this] { Work(); });
    } catch (const std::system_error&) {
        for (Level& level : levels_) level.done = true;  // no thread to spare: the tree reads for itself
    }
}

ShellLevelPrefetch::~ShellLevelPrefetch() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
}

void ShellLevelPrefetch::Work() {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    // Reading a folder must never bring up the system's critical-error prompts.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    win::ComPtr<IShellFolder> folder;
    bool bound = SUCCEEDED(SHGetDesktopFolder(folder.put()));
    for (Level& level : levels_) {
        if (bound && !stop_) {
            win::ComPtr<IShellFolder> next;
            if (!level.relative) {
                if (pidl::Size(level.absolute.get()) > 2) {
                    bound = SUCCEEDED(folder->BindToObject(level.absolute.get(), nullptr, IID_IShellFolder,
                                                           next.put_void()));
                    folder = std::move(next);
                }
            } else {
                bound = SUCCEEDED(
                    folder->BindToObject(level.relative.get(), nullptr, IID_IShellFolder, next.put_void()));
                folder = std::move(next);
            }
        }
        std::vector<ShellListedItem> items;
        const bool read = bound && !stop_ && folder && ReadShellLevel(folder.get(), nullptr, flags_, items, &stop_);
        {
            std::lock_guard<std::mutex> guard(lock_);
            level.items = std::move(items);
            level.read = read;
            level.done = true;
        }
        levelDone_.notify_all();
    }
    folder.reset();
    SetThreadErrorMode(previousMode, nullptr);
    if (SUCCEEDED(com)) CoUninitialize();
}

bool ShellLevelPrefetch::Take(LPCITEMIDLIST folder, SHCONTF flags, std::vector<ShellListedItem>& items) {
    if (flags != flags_ || !folder) return false;
    for (Level& level : levels_) {
        if (pidl::CountIds(level.absolute.get()) != pidl::CountIds(folder) ||
            pidl::CompareAbsolute(level.absolute.get(), folder) != 0) {
            continue;
        }
        std::unique_lock<std::mutex> guard(lock_);
        levelDone_.wait(guard, [&] { return level.done; });
        if (!level.read || level.taken) return false;
        level.taken = true;
        items = std::move(level.items);
        return true;
    }
    return false;
}

}  // namespace quenmar
