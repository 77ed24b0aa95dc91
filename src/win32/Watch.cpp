#include "win32/Watch.h"

#include <string>
#include <system_error>

#include "win32/FileContents.h"
#include "win32/WideText.h"

namespace quenmar::win {

Watch::Watch(std::unique_ptr<ChangeSource> source, HWND window, UINT message)
    : source_(std::move(source)), window_(window), message_(message), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!stop_ || !source_) return;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to spare: the window does without the watch.
    }
}

Watch::~Watch() {
    if (!thread_.joinable()) return;
    SetEvent(stop_.get());
    thread_.join();
}

void Watch::Run() {
    for (;;) {
        const std::optional<ChangeSource::Armed> armed = source_->Arm();
        if (!armed) return;
        // Told after arming, so that nothing written after the window reads
        // goes unseen.
        if (armed->tell) PostMessageW(window_, message_, 0, 0);
        const HANDLE events[] = {stop_.get(), armed->changed};
        DWORD woken = WAIT_TIMEOUT;
        while (woken == WAIT_TIMEOUT) {
            woken = WaitForMultipleObjects(2, events, FALSE, armed->lookAgainMs);
            if (woken == WAIT_TIMEOUT && source_->ChangedMeanwhile()) woken = WAIT_OBJECT_0 + 1;
        }
        source_->Disarm();
        if (woken != WAIT_OBJECT_0 + 1) return;
    }
}

namespace {

std::wstring ParentOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// How often a key held is compared with the one at its path, and a watch of
// a file's ancestor looks whether its folder has come.
constexpr DWORD kLookAgainMs = 500;

class RegistryKeySource : public ChangeSource {
public:
    explicit RegistryKeySource(const std::string& path)
        : parent_(ParentOf(Wide(path))), changed_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

    std::optional<Armed> Arm() override {
        if (!changed_) return std::nullopt;
        for (;;) {
            if (!OpenNearest()) return std::nullopt;
            const LONG armed = RegNotifyChangeKeyValue(key_.get(), TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                                       changed_.get(), TRUE);
            // Deleted between its opening and the arming: the next nearest.
            if (armed == ERROR_KEY_DELETED) continue;
            if (armed != ERROR_SUCCESS) return std::nullopt;
            const bool atParent = watched_ == parent_;
            const bool tell = atParent || wasAtParent_;
            wasAtParent_ = atParent;
            return Armed{changed_.get(), kLookAgainMs, tell};
        }
    }
    // The watched key deleted (a whole tree above ours removed) is not
    // always told: looked for now and then.
    bool ChangedMeanwhile() override {
        FILETIME held{}, now{};
        if (RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, &held) != ERROR_SUCCESS) {
            return true;
        }
        UniqueKey fresh;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, watched_.c_str(), 0, KEY_QUERY_VALUE, fresh.put()) != ERROR_SUCCESS) return true;
        return RegQueryInfoKeyW(fresh.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr, &now) != ERROR_SUCCESS ||
               CompareFileTime(&held, &now) != 0;
    }
    void Disarm() override { key_.reset(); }

private:
    // The nearest of the parent and its ancestors that can be opened for
    // watching; the hive's root at the last.
    bool OpenNearest() {
        key_.reset();
        for (std::wstring path = parent_;; path = ParentOf(path)) {
            if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_NOTIFY | KEY_QUERY_VALUE, key_.put()) == ERROR_SUCCESS) {
                watched_ = path;
                return true;
            }
            if (path.empty()) return false;
        }
    }

    const std::wstring parent_;
    UniqueHandle changed_;
    UniqueKey key_;
    std::wstring watched_;
    bool wasAtParent_ = true;
};

class FileSource : public ChangeSource {
public:
    explicit FileSource(std::wstring folder) : folder_(std::move(folder)) {}

    std::optional<Armed> Arm() override {
        std::wstring watched = folder_;
        while (!watched.empty() && !IsFolder(watched)) watched = ParentOf(watched);
        if (watched.empty()) return std::nullopt;
        atFolder_ = watched == folder_;
        changed_.reset(FindFirstChangeNotificationW(
            watched.c_str(), !atFolder_,
            FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE));
        if (!changed_) return std::nullopt;
        return Armed{changed_.get(), atFolder_ ? INFINITE : kLookAgainMs, true};
    }
    // Watching an ancestor, whether the folder itself has come.
    bool ChangedMeanwhile() override { return !atFolder_ && IsFolder(folder_); }
    void Disarm() override { changed_.reset(); }

private:
    const std::wstring folder_;
    UniqueChangeNotification changed_;
    bool atFolder_ = false;
};

}  // namespace

std::unique_ptr<ChangeSource> RegistryKeyChanges(const std::string& path) {
    return std::make_unique<RegistryKeySource>(path);
}

std::unique_ptr<ChangeSource> FileChanges(const std::string& path) {
    wchar_t full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameW(Wide(path).c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return std::make_unique<FileSource>(ParentOf(full));
}

}  // namespace quenmar::win
