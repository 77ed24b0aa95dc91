// The start-up peer with Quenmar's controls and nothing else (visual styles
// on, as in Quenmar), shown and idle.
#include "SameControlsWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    return bench::ShowAndRun(bench::BuildSameControlsWindow(instance, true), show);
}
