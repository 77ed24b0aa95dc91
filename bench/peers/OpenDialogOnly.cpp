// The start-up peer: a program that only opens the common Open dialog, in
// the style that shows a Places Bar.
#include <windows.h>
#include <commdlg.h>

namespace {

UINT_PTR CALLBACK Hook(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = L"All files (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_ENABLEHOOK;
    dialog.lpfnHook = Hook;
    GetOpenFileNameW(&dialog);
    return 0;
}
