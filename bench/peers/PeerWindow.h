// What the start-up peers share: a top-level window of Quenmar's size and the
// thread's message loop.
#pragma once

#include <windows.h>

namespace bench {

inline LRESULT CALLBACK PeerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && GetWindowLongPtrW(window, GWLP_USERDATA)) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

// Made hidden; `quitOnClose` makes closing it end the thread's loop.
inline HWND CreatePeerWindow(HINSTANCE instance, const wchar_t* className, int backgroundColour, bool quitOnClose) {
    WNDCLASSW type{};
    type.lpfnWndProc = PeerProcedure;
    type.hInstance = instance;
    type.hCursor = LoadCursor(nullptr, IDC_ARROW);
    type.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(backgroundColour + 1));
    type.lpszClassName = className;
    RegisterClassW(&type);  // fails harmlessly once registered
    const HWND window = CreateWindowW(className, className, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 606,
                                      458, nullptr, nullptr, instance, nullptr);
    if (quitOnClose) SetWindowLongPtrW(window, GWLP_USERDATA, 1);
    return window;
}

// Shows and draws the window, then runs the loop until it is closed.
inline int ShowAndRun(HWND window, int show) {
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace bench
