#pragma once

#include <windows.h>

#include <string>

#include "win32/Handles.h"

namespace quenmar {

// One editor of the settings per user and session. The first start holds a
// named mutex of the session's namespace while it runs, and publishes its
// main window beside it; a later start finds that window, asks it to come
// forward and ends. A later start never waits long: when the first has shown
// no window within the limit, or does not answer, it starts all the same.
class SingleInstance {
public:
    // `name` tells programs apart (tests use their own).
    explicit SingleInstance(const std::string& name = "Quenmar.MainWindow");

    // True when this process is the first (or the first has ended meanwhile,
    // or it could not be waited for): it goes on to show its window.
    bool Claim(DWORD limitMs);
    // The first's window, for a later start to find.
    void Publish(HWND window);

private:
    bool BringFirstForward();

    std::wstring name_;
    win::UniqueHandle mutex_;
    win::UniqueHandle published_;
    bool owner_ = false;
};

// The message a later start posts to the first's window: restore, raise and
// activate yourself.
UINT ComeForwardMessage();
// What the first's window does on it.
void ComeForward(HWND window);

}  // namespace quenmar
