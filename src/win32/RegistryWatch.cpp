#include "win32/RegistryWatch.h"

#include <system_error>

#include "win32/WideText.h"

namespace quenmar::win {

namespace {

constexpr DWORD kDeletedKeyCheckMs = 500;

std::wstring ParentOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The nearest of the path and its ancestors that can be opened for
// watching, and which one it is; the hive's root at the last.
HKEY OpenNearest(std::wstring path, std::wstring& opened) {
    for (;;) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_NOTIFY | KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
            opened = path;
            return key;
        }
        if (path.empty()) return nullptr;
        path = ParentOf(path);
    }
}

// Whether the key held is no longer the one at its path: deleted (and
// perhaps made anew), which not every system tells the watch of.
bool Stale(HKEY key, const std::wstring& path) {
    FILETIME held{}, now{};
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &held) != ERROR_SUCCESS) {
        return true;
    }
    HKEY fresh = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &fresh) != ERROR_SUCCESS) return true;
    const LONG read = RegQueryInfoKeyW(fresh, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, &now);
    RegCloseKey(fresh);
    return read != ERROR_SUCCESS || CompareFileTime(&held, &now) != 0;
}

}  // namespace

RegistryWatch::RegistryWatch(const std::string& path, HWND window, UINT message)
    : path_(Wide(path)),
      window_(window),
      message_(message),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!stop_) return;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to spare: the window does without the watch.
    }
}

RegistryWatch::~RegistryWatch() {
    if (!thread_.joinable()) return;
    SetEvent(stop_.get());
    thread_.join();
}

void RegistryWatch::Run() {
    const std::wstring parent = ParentOf(path_);
    const UniqueHandle changed(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!changed) return;
    // Told once as soon as it is first armed: whatever was written between
    // the window's reading and then is taken in.
    bool tell = true;
    bool wasAtParent = true;
    for (;;) {
        std::wstring watched;
        const HKEY key = OpenNearest(parent, watched);
        if (!key) return;
        const bool atParent = watched == parent;
        const LONG armed = RegNotifyChangeKeyValue(key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                                   changed.get(), TRUE);
        // Told after arming again, so that nothing written after the window
        // reads goes unseen. Changes far above the key are none of its own,
        // until its parent is there.
        if (tell && (atParent || wasAtParent)) PostMessageW(window_, message_, 0, 0);
        wasAtParent = atParent;
        if (armed != ERROR_SUCCESS) {
            RegCloseKey(key);
            // Deleted between its opening and the arming: the next nearest.
            if (armed == ERROR_KEY_DELETED && WaitForSingleObject(stop_.get(), 0) == WAIT_TIMEOUT) {
                tell = true;
                continue;
            }
            return;
        }
        const HANDLE events[] = {stop_.get(), changed.get()};
        DWORD woken = WAIT_TIMEOUT;
        while (woken == WAIT_TIMEOUT) {
            woken = WaitForMultipleObjects(2, events, FALSE, kDeletedKeyCheckMs);
            // The watched key deleted (a whole tree above ours removed) is
            // not always told: looked for now and then.
            if (woken == WAIT_TIMEOUT && Stale(key, watched)) woken = WAIT_OBJECT_0 + 1;
        }
        RegCloseKey(key);
        if (woken != WAIT_OBJECT_0 + 1) return;
        tell = true;
    }
}

}  // namespace quenmar::win
