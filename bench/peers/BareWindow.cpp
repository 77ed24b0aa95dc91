// The start-up peer: a bare Win32 window program, shown and idle.
#include "PeerWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    return bench::ShowAndRun(bench::CreatePeerWindow(instance, L"BareWindow", COLOR_WINDOW, true), show);
}
