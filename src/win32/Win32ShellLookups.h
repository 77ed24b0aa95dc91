#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <vector>

#include "places/ShellLookups.h"
#include "win32/Handles.h"
#include "win32/ShellWorker.h"

namespace quenmar::win {

// The shell lookups over shell32. Each icon query also yields the handle of
// the system image list of that size; it is reported whenever it differs from
// the one reported before, so that image lists can show it.
class Win32ShellLookups : public ShellLookups {
public:
    using ImageListChanged = std::function<void(IconSize, HIMAGELIST)>;

    Win32ShellLookups() = default;
    ~Win32ShellLookups() override;
    Win32ShellLookups(const Win32ShellLookups&) = delete;
    Win32ShellLookups& operator=(const Win32ShellLookups&) = delete;

    // Starts looking up, on a worker thread as the shell advises for its
    // icon queries: these special folders' items and icons, and the icons of
    // these paths (of every folder, and of the drives among them), of both
    // sizes. `finished` runs on the worker's thread when all is found. The
    // first lookup that needs them waits for the rest, unless icons are held.
    void Prefetch(std::vector<int32_t> csidls, const std::vector<std::string>& paths = {},
                  std::function<void()> finished = {});
    // From HoldIcons to ReleaseIcons every icon query answers kNoIcon at
    // once, asks the shell nothing and remembers nothing: a window can be
    // built, shown and drawn with its text meanwhile (the first use of the
    // system image list costs the shell tens of milliseconds in a new
    // process, and more on a busy machine). Releasing takes in what the
    // prefetch found, waiting for it if it still runs; the caller then asks
    // again for what it was refused.
    void HoldIcons() { iconsHeld_ = true; }
    void ReleaseIcons();
    bool RefusingIcons() const { return iconsHeld_; }

    void SetOwnerWindow(HWND owner) { owner_ = owner; }
    void SetImageListChanged(ImageListChanged handler) { imageListChanged_ = std::move(handler); }
    HIMAGELIST SystemImageList(IconSize size) const { return imageLists_[static_cast<int>(size)]; }

    int PathIconIndex(IconSize size, const std::string& path) override;
    int SpecialFolderIconIndex(IconSize size, int32_t csidl) override;
    std::string DriveDisplayName(const std::string& root) override;
    // Drives' names and icons are asked for again from now on: a medium, a
    // drive or a label may have changed.
    void ForgetDrives();
    std::string ExpandEnvironment(const std::string& text) override;

private:
    int Adopt(IconSize size, DWORD_PTR result, int icon);
    // What a path's icon is asked for by: a drive's root, or the Windows
    // directory for every folder (they all show the folder icon).
    static std::string IconQuery(const std::string& path);
    // Takes in what the worker found, once it is done.
    void CollectPrefetched();

    struct Prefetched {
        int32_t csidl = 0;
        UniquePidl item;
        int icons[2] = {kNoIcon, kNoIcon};
        HIMAGELIST lists[2] = {nullptr, nullptr};
    };
    struct PrefetchedPath {
        std::string query;  // IconQuery's
        int icons[2] = {kNoIcon, kNoIcon};
        HIMAGELIST lists[2] = {nullptr, nullptr};
    };
    ShellWorker worker_;
    // The worker's own until it has ended.
    std::vector<Prefetched> prefetched_;
    std::vector<PrefetchedPath> prefetchedPaths_;

    // Icons that cannot change while the program runs are looked up once:
    // special folders (some cost the shell several milliseconds each) and
    // the Windows directory, which stands for every folder.
    std::map<std::pair<int, int32_t>, int> specialIcons_;
    // A drive's name and icon follow its medium and label: they are kept
    // until ForgetDrives, since each query costs the shell a visit to the
    // volume (about 2 ms).
    std::map<std::pair<int, std::string>, int> driveIcons_;
    std::map<std::string, std::string> driveNames_;
    // The item of each special folder asked for, for its other size.
    std::map<int32_t, UniquePidl> specialItems_;
    int folderIcons_[2] = {kUnknownIcon, kUnknownIcon};
    static constexpr int kUnknownIcon = -2;

    bool iconsHeld_ = false;
    HWND owner_ = nullptr;
    HIMAGELIST imageLists_[2] = {nullptr, nullptr};
    ImageListChanged imageListChanged_;
};

}  // namespace quenmar::win
