#pragma once

#include <windows.h>

#include <string>
#include <thread>

#include "win32/Handles.h"

namespace quenmar::win {

// Tells a window, by posting it a message, when anything changes in a key of
// the current user's hive or below it, the key's own deletion and
// re-creation included. The watch is held on the key's parent, or while that
// does not exist on its nearest ancestor that does, and armed again at once
// after each change, before the window is told. The window is told once when
// the watch is first armed, for what was written before. A registration ends
// with the thread that made it: the watch has a thread of its own.
class RegistryWatch {
public:
    RegistryWatch(const std::string& path, HWND window, UINT message);
    ~RegistryWatch();
    RegistryWatch(const RegistryWatch&) = delete;
    RegistryWatch& operator=(const RegistryWatch&) = delete;

private:
    void Run();

    std::wstring path_;
    HWND window_;
    UINT message_;
    UniqueHandle stop_;
    std::thread thread_;
};

}  // namespace quenmar::win
