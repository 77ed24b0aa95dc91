#include "win32/WindowSubclass.h"

#include <mutex>
#include <unordered_map>

namespace quenmar::win {

namespace {

struct Entry {
    WNDPROC next = nullptr;
    WindowSubclass::Handler handler = nullptr;
    void* context = nullptr;
};

std::mutex tableLock;

std::unordered_map<HWND, Entry>& Table() {
    static std::unordered_map<HWND, Entry> table;
    return table;
}

bool Find(HWND window, Entry& entry) {
    std::lock_guard<std::mutex> lock(tableLock);
    const auto found = Table().find(window);
    if (found == Table().end()) return false;
    entry = found->second;
    return true;
}

}  // namespace

bool WindowSubclass::Install(HWND window, Handler handler, void* context) {
    if (!IsWindow(window) || !handler) return false;
    {
        std::lock_guard<std::mutex> lock(tableLock);
        auto [slot, added] = Table().try_emplace(window);
        if (!added) {
            if (slot->second.handler) return false;
            // Installed before and removed: the procedure is still in the chain.
            slot->second.handler = handler;
            slot->second.context = context;
            return true;
        }
        slot->second.handler = handler;
        slot->second.context = context;
        slot->second.next = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    }
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
    return true;
}

void WindowSubclass::Detach(HWND window, bool restore) {
    std::lock_guard<std::mutex> lock(tableLock);
    const auto found = Table().find(window);
    if (found == Table().end()) return;
    found->second.handler = nullptr;
    found->second.context = nullptr;
    if (restore && IsWindow(window) &&
        GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowSubclass::Proc)) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.next));
        Table().erase(found);
    }
}

LRESULT CALLBACK WindowSubclass::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Entry entry;
    if (!Find(window, entry)) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    if (entry.handler) {
        result = entry.handler(entry.context, window, message, wParam, lParam, entry.next);
    } else {
        result = CallWindowProcW(entry.next, window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        std::lock_guard<std::mutex> lock(tableLock);
        Table().erase(window);
    }
    return result;
}

}  // namespace quenmar::win
