// The start-up peer with Quenmar's controls and nothing else (visual styles
// on, as in Quenmar), shown and idle.
#include "SameControlsWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    const HWND window = bench::BuildSameControlsWindow(instance, true);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
