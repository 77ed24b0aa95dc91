#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <thread>

#include "win32/Handles.h"

namespace quenmar::win {

// What a watch waits on: armed on what it watches, it gives a handle that is
// set when that may have changed.
class ChangeSource {
public:
    virtual ~ChangeSource() = default;
    struct Armed {
        HANDLE changed = nullptr;      // set when what is watched may have changed
        DWORD lookAgainMs = INFINITE;  // how often ChangedMeanwhile is asked meanwhile
        bool tell = true;              // whether this arming is told (a change that is the target's own)
    };
    // Arms the watch on what can be watched now; nothing when nothing can,
    // and the watch ends.
    virtual std::optional<Armed> Arm() = 0;
    // Asked every lookAgainMs while nothing is told: whether to arm again as
    // after a change (a change the system does not tell of).
    virtual bool ChangedMeanwhile() { return false; }
    // After waking, before arming again: what Arm held is let go.
    virtual void Disarm() {}
};

// Tells a window, by posting it a message, of each change its source sees:
// once when first armed (for what was written before), then after each
// change, each time once armed again, so that nothing written meanwhile goes
// unseen. The watch has a thread of its own (a registry registration ends
// with the thread that made it); without one to spare the window does
// without the watch.
class Watch {
public:
    Watch(std::unique_ptr<ChangeSource> source, HWND window, UINT message);
    ~Watch();
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

private:
    void Run();

    std::unique_ptr<ChangeSource> source_;
    HWND window_;
    UINT message_;
    UniqueHandle stop_;
    std::thread thread_;
};

// The registry: anything in a key of the current user's hive or below it,
// the key's own deletion and re-creation included. The watch is held on the
// key's parent, or while that does not exist on its nearest ancestor that
// does; changes far above the key are none of its own until its parent is
// there.
std::unique_ptr<ChangeSource> RegistryKeyChanges(const std::string& path);

// A file: a write to it, or a file made, replaced or removed beside it. Its
// folder is watched, or while it does not exist its nearest ancestor that
// does, with everything below.
std::unique_ptr<ChangeSource> FileChanges(const std::string& path);

}  // namespace quenmar::win
