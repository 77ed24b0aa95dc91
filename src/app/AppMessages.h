#pragma once

#include <windows.h>

namespace quenmar {

// Every message, timer and command of the program's own, in one place.

// Posted to the main window.
constexpr UINT kStoredSettingsChanged = WM_APP + 3;  // another program (or a save) changed the settings
constexpr UINT kShellAnswered = WM_APP + 4;          // the shell's answers about places have come

// The main window's timers.
constexpr UINT_PTR kTypingPausedTimer = 1;  // the path box's text asked of the shell once typing pauses
constexpr UINT kTypingPauseMs = 200;
constexpr UINT_PTR kDrawnTimer = 2;  // every control drawn: a timer's message comes after every paint

// The main window's system menu commands: below the system's range, low
// four bits clear.
constexpr UINT kExportSettingsCommand = 0x0110;
constexpr UINT kCopyForPreferencesCommand = 0x0120;
constexpr UINT kCopyAsPowerShellCommand = 0x0130;
constexpr UINT kCopyForIntuneCommand = 0x0140;

// Registered: a later start asks the first to come forward
// (SingleInstance's ComeForwardMessage).

}  // namespace quenmar
