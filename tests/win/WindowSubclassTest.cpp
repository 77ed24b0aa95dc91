#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "win32/WideText.h"
#include "win32/WindowSubclass.h"

namespace quenmar::win {
namespace {

constexpr UINT kProbe = WM_APP + 7;

struct Recorder {
    std::vector<UINT> seen;
    LRESULT answer = 0;
};

// Answers the probe itself; everything else goes on to the window.
LRESULT Record(void* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC next) {
    auto* recorder = static_cast<Recorder*>(context);
    recorder->seen.push_back(message);
    if (message == kProbe) return recorder->answer;
    return CallWindowProcW(next, window, message, wParam, lParam);
}

std::string TextOf(HWND window) { return win::WindowText(window); }

bool Saw(const Recorder& recorder, UINT message) {
    return std::find(recorder.seen.begin(), recorder.seen.end(), message) != recorder.seen.end();
}

HWND MakeEdit() {
    return CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

TEST(WindowSubclass, HandlerSeesMessagesFirstAndPassesThemOn) {
    const HWND edit = MakeEdit();
    ASSERT_TRUE(edit);
    Recorder recorder;
    recorder.answer = 42;
    const WNDPROC own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC));
    ASSERT_TRUE(WindowSubclass::Install(edit, Record, &recorder));
    Recorder other;
    EXPECT_FALSE(WindowSubclass::Install(edit, Record, &other)) << "one handler a window";

    EXPECT_EQ(SendMessageW(edit, kProbe, 0, 0), 42);
    SetWindowTextW(edit, L"passed on");
    EXPECT_EQ(TextOf(edit), "passed on") << "the edit's own procedure still ran";
    EXPECT_TRUE(Saw(recorder, WM_SETTEXT));
    EXPECT_TRUE(other.seen.empty());

    // Uninstalled, the window is as it was and can be given a handler again.
    WindowSubclass::Uninstall(edit);
    EXPECT_EQ(SendMessageW(edit, kProbe, 0, 0), 0) << "the probe reaches the edit, which ignores it";
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC)), own);
    ASSERT_TRUE(WindowSubclass::Install(edit, Record, &recorder));
    EXPECT_EQ(SendMessageW(edit, kProbe, 0, 0), 42);

    recorder.seen.clear();
    DestroyWindow(edit);
    EXPECT_TRUE(Saw(recorder, WM_NCDESTROY));
    EXPECT_FALSE(WindowSubclass::Install(edit, Record, &recorder)) << "no window, no handler";
}

LRESULT CALLBACK CountTextChanges(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR calls) {
    if (message == WM_SETTEXT) ++*reinterpret_cast<int*>(calls);
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST(WindowSubclass, RemovedHandlerIsNotCalledAndTheChainHolds) {
    const HWND edit = MakeEdit();
    Recorder recorder;
    ASSERT_TRUE(WindowSubclass::Install(edit, Record, &recorder));
    // The platform's subclass in front of ours, as a tooltip would put it.
    int platformCalls = 0;
    ASSERT_TRUE(SetWindowSubclass(edit, CountTextChanges, 1, reinterpret_cast<DWORD_PTR>(&platformCalls)));

    WindowSubclass::Remove(edit);
    recorder.seen.clear();
    SetWindowTextW(edit, L"still works");
    EXPECT_EQ(TextOf(edit), "still works");
    EXPECT_EQ(platformCalls, 1);
    EXPECT_TRUE(recorder.seen.empty()) << "a removed handler is never called";
    EXPECT_EQ(SendMessageW(edit, kProbe, 0, 0), 0) << "the probe reaches the edit, which ignores it";

    // A handler can be installed again behind the platform's.
    ASSERT_TRUE(WindowSubclass::Install(edit, Record, &recorder));
    recorder.answer = 7;
    EXPECT_EQ(SendMessageW(edit, kProbe, 0, 0), 7);
    RemoveWindowSubclass(edit, CountTextChanges, 1);
    DestroyWindow(edit);
}

}  // namespace
}  // namespace quenmar::win
