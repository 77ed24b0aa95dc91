#pragma once

#include <windows.h>

#include "places/PlacesStore.h"

namespace quenmar {

// What a save or a restore was for: how its failure is told.
enum class SaveFor { Closing, Preview, SessionContinuing, Restore };

// Tells a save's outcome in a box over the owner: what a save that was done
// has to tell (a policy's version not raised, when the local policy
// applies), or why it failed, in one place by what it was for; at closing it
// asks whether to close without saving. True when what the save was for may
// go ahead: it was done, or the user closes anyway.
bool TellSaveOutcome(HWND owner, const StoreOutcome& outcome, SaveFor reason);

}  // namespace quenmar
