// Quenmar's window with the same kinds and number of common controls and
// nothing else: the lists filled with text, no shell, no registry, no
// pictures. What building such a window costs by itself; used by the launch
// peer and, in-process, by the start-up benchmark.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "PeerWindow.h"

namespace bench {

// Built hidden; `quitOnClose` makes closing it end the thread's loop.
inline HWND BuildSameControlsWindow(HINSTANCE instance, bool quitOnClose) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    const HWND window = CreatePeerWindow(instance, L"SameControls", COLOR_BTNFACE, quitOnClose);
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    const auto make = [&](const wchar_t* kind, const wchar_t* text, DWORD style, int x, int y, int width, int height) {
        const HWND control = CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, window,
                                             nullptr, instance, nullptr);
        SendMessageW(control, WM_SETFONT, font, TRUE);
        return control;
    };
    const HWND slots = make(WC_LISTVIEWW, L"", LVS_ICON | LVS_AUTOARRANGE | LVS_NOSCROLL, 8, 8, 81, 385);
    make(L"BUTTON", L"Use Drive or Folder", BS_RADIOBUTTON | WS_GROUP, 100, 60, 297, 17);
    make(L"BUTTON", L"Use Special Folder", BS_RADIOBUTTON, 100, 140, 297, 17);
    make(L"EDIT", L"", WS_BORDER | ES_AUTOHSCROLL, 120, 80, 373, 21);
    const HWND rows = make(WC_LISTVIEWW, L"", LVS_REPORT | LVS_NOCOLUMNHEADER | WS_BORDER, 120, 160, 333, 233);
    for (int n = 0; n < 8; ++n) make(L"BUTTON", L"Button", BS_OWNERDRAW, 461, 78 + 32 * n, 129, 25);
    make(L"BUTTON", L"Hide", BS_CHECKBOX, 100, 404, 250, 17);
    for (int n = 0; n < 5; ++n) make(L"STATIC", L"Text", SS_LEFT, 100, 4 + 20 * n, 221, 17);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 312;
    SendMessageW(rows, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    const auto add = [](HWND list, int count, const wchar_t* text) {
        for (int n = 0; n < count; ++n) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = n;
            item.pszText = const_cast<wchar_t*>(text);
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    };
    add(slots, 5, L"Place");
    add(rows, 13, L"Special Folder");
    return window;
}

}  // namespace bench
