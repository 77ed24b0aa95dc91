#include "ModalBoxes.h"

#include <algorithm>
#include <memory>

#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include "widgets/Application.h"
#include "win32/WideText.h"

namespace quenmar::testing {

namespace {

thread_local ModalBoxes* current = nullptr;

std::string StripAmpersand(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

}  // namespace

ModalBoxes::ModalBoxes(Answer answer) : answer_(std::move(answer)) {
    current = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

ModalBoxes::~ModalBoxes() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (timer_) KillTimer(nullptr, timer_);
    current = nullptr;
}

LRESULT CALLBACK ModalBoxes::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && wParam && current) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        const bool known = std::find(current->pending_.begin(), current->pending_.end(), window) !=
                           current->pending_.end();
        const bool seenBefore = std::any_of(current->seen.begin(), current->seen.end(),
                                            [&](const SeenBox& box) { return box.window == window; });
        if (std::wstring_view(className) == L"#32770" && !known && !seenBefore) {
            current->pending_.push_back(window);
            if (!current->timer_) current->timer_ = SetTimer(nullptr, 0, 30, Timer);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ModalBoxes::Timer(HWND, UINT, UINT_PTR, DWORD) {
    if (!current) return;
    KillTimer(nullptr, current->timer_);
    current->timer_ = 0;
    auto pending = std::move(current->pending_);
    current->pending_.clear();
    for (HWND box : pending) {
        if (IsWindow(box)) current->Read(box);
    }
}

void ModalBoxes::Read(HWND box) {
    SeenBox seenBox;
    seenBox.window = box;
    wchar_t className[64] = {};
    GetClassNameW(box, className, 64);
    seenBox.className = win::Utf8(className);
    seenBox.caption = win::WindowText(box);
    GetWindowRect(box, &seenBox.rect);
    if (HWND text = GetDlgItem(box, 0xFFFF)) seenBox.text = win::WindowText(text);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t childClass[64] = {};
        GetClassNameW(child, childClass, 64);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (lstrcmpiW(childClass, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
            seenBox.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        } else if (lstrcmpiW(childClass, L"Button") == 0 && IsWindowVisible(child)) {
            seenBox.buttons.push_back(win::WindowText(child));
        }
    }
    seen.push_back(seenBox);
    const int id = answer_ ? answer_(seen.back()) : IDCANCEL;
    if (id) PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

int ModalBoxes::ButtonId(HWND box, const std::string& caption) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (StripAmpersand(win::WindowText(child)) == StripAmpersand(caption)) return GetDlgCtrlID(child);
    }
    return 0;
}

void PumpMessages() {
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            widgets::Application::Instance().Dispatch(msg);
        }
    }
}

namespace {
thread_local std::vector<std::pair<UINT_PTR, std::function<void()>>> soonSteps;

void CALLBACK RunSoonStep(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    for (auto it = soonSteps.begin(); it != soonSteps.end(); ++it) {
        if (it->first == id) {
            auto step = std::move(it->second);
            soonSteps.erase(it);
            step();
            return;
        }
    }
}
}  // namespace

void Soon(std::function<void()> step, UINT delayMs) {
    const UINT_PTR id = SetTimer(nullptr, 0, delayMs, RunSoonStep);
    soonSteps.emplace_back(id, std::move(step));
}

namespace {

void CloseWhenOpenedBy(HWND from, DWORD deadline) {
    const HWND active = GetActiveWindow();
    if (active && active != from && IsWindowVisible(active)) {
        PostMessageW(active, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    if (GetTickCount() > deadline) {
        ADD_FAILURE() << "no window opened";
        return;
    }
    Soon([from, deadline] { CloseWhenOpenedBy(from, deadline); });
}

}  // namespace

void SoonWhen(std::function<bool()> ready, std::function<void()> step, DWORD limitMs) {
    const DWORD deadline = GetTickCount() + limitMs;
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [ready = std::move(ready), step = std::move(step), deadline, poll]() mutable {
        if (ready() || GetTickCount() > deadline) {
            step();
            *poll = nullptr;  // breaks the cycle
            return;
        }
        Soon([poll] { if (*poll) (*poll)(); });
    };
    Soon([poll] { (*poll)(); });
}

void CloseWhenOpened(HWND from) { CloseWhenOpenedBy(from, GetTickCount() + 30000); }

}  // namespace quenmar::testing
