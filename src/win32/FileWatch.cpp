#include "win32/FileWatch.h"

#include <system_error>

#include "win32/WideText.h"

namespace quenmar::win {

namespace {

// How long a watch of an ancestor waits before looking again whether the
// folder itself has come.
constexpr DWORD kMissingFolderCheckMs = 500;

std::wstring ParentOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

FileWatch::FileWatch(const std::string& path, HWND window, UINT message)
    : window_(window), message_(message), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    wchar_t full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameW(Wide(path).c_str(), MAX_PATH, full, nullptr);
    if (!stop_ || length == 0 || length >= MAX_PATH) return;
    folder_ = ParentOf(full);
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to spare: the window does without the watch.
    }
}

FileWatch::~FileWatch() {
    if (!thread_.joinable()) return;
    SetEvent(stop_.get());
    thread_.join();
}

void FileWatch::Run() {
    // Told once as soon as it is first armed: whatever was written between
    // the window's reading and then is taken in.
    bool tell = true;
    for (;;) {
        std::wstring watched = folder_;
        while (!watched.empty() && !IsFolder(watched)) watched = ParentOf(watched);
        if (watched.empty()) return;
        const bool atFolder = watched == folder_;
        const UniqueChangeNotification changed(FindFirstChangeNotificationW(
            watched.c_str(), !atFolder,
            FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                FILE_NOTIFY_CHANGE_SIZE));
        if (!changed) return;
        // Told after arming, so that nothing written after the window reads goes unseen.
        if (tell) PostMessageW(window_, message_, 0, 0);
        const HANDLE events[] = {stop_.get(), changed.get()};
        DWORD woken = WAIT_TIMEOUT;
        while (woken == WAIT_TIMEOUT) {
            woken = WaitForMultipleObjects(2, events, FALSE, atFolder ? INFINITE : kMissingFolderCheckMs);
            if (woken == WAIT_TIMEOUT && IsFolder(folder_)) woken = WAIT_OBJECT_0 + 1;
        }
        if (woken != WAIT_OBJECT_0 + 1) return;
        tell = true;
    }
}

}  // namespace quenmar::win
