// Quenmar's benchmarks. Each figure is a ratio against a peer measured in the
// same run, so that the speed of the machine cancels out.

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/QuenmarForm.h"
#include "places/PlacesStore.h"
#include "widgets/Application.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs the queue until nothing is waiting: the loop's first idle moment.
void RunUntilIdle() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        quenmar::widgets::Application::Instance().Dispatch(msg);
    }
}

void ResetPlaces() { RegDeleteTreeA(HKEY_CURRENT_USER, quenmar::kComdlgPolicyKey); }

double MainWindowToIdle() {
    const auto start = Clock::now();
    auto form = std::make_unique<quenmar::TfrmQuenmar>();
    form->Show();
    RunUntilIdle();
    const double elapsed = MillisecondsSince(start);
    form.reset();
    RunUntilIdle();
    return elapsed;
}

// The common Open dialog reaches idle when its modal loop first tells its
// owner so (WM_ENTERIDLE); it is then cancelled.
Clock::time_point dialogStart;
double dialogElapsed = 0;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && dialogElapsed == 0) {
        dialogElapsed = MillisecondsSince(dialogStart);
        PostMessageA(reinterpret_cast<HWND>(lParam), WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

UINT_PTR CALLBACK NoHook(HWND, UINT, WPARAM, LPARAM) { return 0; }

double OpenDialogToIdle(HWND owner) {
    char fileName[MAX_PATH] = "This is only a test. Test the Items to the Left";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "All files (*.*)\0*.*\0";
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = sizeof fileName;
    dialog.lpstrTitle = "Test Dialog";
    dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_ENABLEHOOK;
    dialog.lpfnHook = NoHook;
    dialogElapsed = 0;
    dialogStart = Clock::now();
    GetOpenFileNameA(&dialog);
    return dialogElapsed;
}

struct Resources {
    DWORD gdi, user;
    SIZE_T privateBytes;
};

Resources Measure() {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
            memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage};
}

void StartupBenchmark() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuenmarBenchOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowA("QuenmarBenchOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ShowWindow(owner, SW_SHOW);

    MainWindowToIdle();  // warm-up of both, so that neither pays for first loads
    OpenDialogToIdle(owner);
    std::vector<double> ours, dialog;
    for (int i = 0; i < 7; ++i) {
        ResetPlaces();
        ours.push_back(MainWindowToIdle());
        dialog.push_back(OpenDialogToIdle(owner));
    }
    DestroyWindow(owner);
    const double a = Median(ours), b = Median(dialog);
    std::printf("start-up: main window to idle %.1f ms, common Open dialog to idle %.1f ms: ratio %.3f (goal <= 0.5)\n",
                a, b, a / b);
}

void EditLeakBenchmark() {
    ResetPlaces();
    auto form = std::make_unique<quenmar::TfrmQuenmar>();
    form->Show();
    RunUntilIdle();
    auto edit = [&](int i) {
        form->lstvwPlaces.SetSelected(i % 5, true);
        if (i % 3 == 0) {
            SendMessageA(form->optUseFolder.Handle(), BM_CLICK, 0, 0);
        } else {
            SendMessageA(form->optUseSpecial.Handle(), BM_CLICK, 0, 0);
            form->lstvwSelectFolders.SetSelected(i % 13, true);
        }
        if (i % 7 == 0 && form->btnMoveDn.Enabled()) SendMessageA(form->btnMoveDn.Handle(), BM_CLICK, 0, 0);
        RunUntilIdle();
    };
    for (int i = 0; i < 50; ++i) edit(i);  // settle caches
    const Resources before = Measure();
    const auto start = Clock::now();
    for (int i = 0; i < 1000; ++i) edit(i);
    const double elapsed = MillisecondsSince(start);
    const Resources after = Measure();
    form.reset();
    RunUntilIdle();
    ResetPlaces();
    std::printf("1,000 slot edits in %.0f ms: private bytes %+lld KB (%llu KB before)\n", elapsed,
                (static_cast<long long>(after.privateBytes) - static_cast<long long>(before.privateBytes)) / 1024,
                static_cast<unsigned long long>(before.privateBytes / 1024));
    if (before.gdi == 0 && after.gdi == 0) {
        std::printf("  GDI and USER object counts: not reported by this system (GetGuiResources gives 0)\n");
    } else {
        std::printf("  GDI objects %lu -> %lu, USER objects %lu -> %lu\n", before.gdi, after.gdi, before.user,
                    after.user);
    }
}

}  // namespace

int main(int argc, char** argv) {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    quenmar::widgets::Application::Instance().SetTitle(quenmar::kApplicationTitle);
    const std::string only = argc > 1 ? argv[1] : "";
    if (only.empty() || only == "startup") StartupBenchmark();
    if (only.empty() || only == "edits") EditLeakBenchmark();
    OleUninitialize();
    return 0;
}
