#include "app/SingleInstance.h"

#include <lmcons.h>

#include <chrono>
#include <cstdint>

#include "win32/WideText.h"

namespace quenmar {

namespace {

// What the first publishes: its window and its process.
struct Published {
    uint64_t window;
    uint32_t process;
};

// The name of an object of this user in the session's namespace.
std::wstring SessionName(const std::string& name) {
    wchar_t user[UNLEN + 1] = {};
    DWORD size = UNLEN + 1;
    if (!GetUserNameW(user, &size)) user[0] = L'\0';
    std::wstring result = win::Wide(name) + L"." + user;
    for (wchar_t& c : result) {
        if (c == L'\\') c = L'_';
    }
    return L"Local\\" + result;
}

}  // namespace

SingleInstance::SingleInstance(const std::string& name) : name_(SessionName(name)) {
    mutex_.reset(CreateMutexW(nullptr, FALSE, name_.c_str()));
}

bool SingleInstance::Claim(DWORD limitMs) {
    if (!mutex_) return true;  // no guard to be had: as if alone
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        // Free, or left behind by a first that ended: this one is the first.
        const DWORD state = WaitForSingleObject(mutex_.get(), 0);
        if (state == WAIT_OBJECT_0 || state == WAIT_ABANDONED) return owner_ = true;
        if (BringFirstForward()) return false;
        const auto waited = std::chrono::steady_clock::now() - start;
        if (waited > std::chrono::milliseconds(limitMs)) return true;  // not found in time: start all the same
        if (WaitForSingleObject(mutex_.get(), 50) != WAIT_TIMEOUT) return owner_ = true;
    }
}

void SingleInstance::Publish(HWND window) {
    if (!owner_) return;
    published_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Published),
                                        (name_ + L".Window").c_str()));
    if (!published_) return;
    if (void* view = MapViewOfFile(published_.get(), FILE_MAP_WRITE, 0, 0, sizeof(Published))) {
        *static_cast<Published*>(view) = {reinterpret_cast<uint64_t>(window), GetCurrentProcessId()};
        UnmapViewOfFile(view);
    }
}

bool SingleInstance::BringFirstForward() {
    const win::UniqueHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, (name_ + L".Window").c_str()));
    if (!mapping) return false;
    Published first{};
    if (const void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof(Published))) {
        first = *static_cast<const Published*>(view);
        UnmapViewOfFile(view);
    }
    const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(first.window));
    DWORD process = 0;
    if (!window || !GetWindowThreadProcessId(window, &process) || process != first.process) return false;
    // A first that does not answer is stuck: this start does not wait on it.
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &answer)) return false;
    AllowSetForegroundWindow(first.process);
    return PostMessageW(window, ComeForwardMessage(), 0, 0) != FALSE;
}

UINT ComeForwardMessage() {
    static const UINT message = RegisterWindowMessageW(L"Quenmar.ComeForward");
    return message;
}

void ComeForward(HWND window) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    // A dialog of the window's (the preview, the picker) comes with it, on top.
    const HWND top = GetLastActivePopup(window);
    // Under a bare X server only the window's own process may raise it.
    BringWindowToTop(window);
    if (top && top != window) BringWindowToTop(top);
    SetForegroundWindow(top ? top : window);
}

}  // namespace quenmar
