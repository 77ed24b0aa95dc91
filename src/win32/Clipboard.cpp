#include "win32/Clipboard.h"

#include <cstring>

#include "win32/WideText.h"

namespace quenmar::win {

bool CopyTextToClipboard(HWND owner, const std::string& text) {
    const std::wstring wide = Wide(text);
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return false;
    if (void* locked = GlobalLock(block)) {
        std::memcpy(locked, wide.c_str(), bytes);
        GlobalUnlock(block);
    }
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    // The clipboard owns the block once it takes it.
    const bool taken = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    if (!taken) GlobalFree(block);
    return taken;
}

}  // namespace quenmar::win
