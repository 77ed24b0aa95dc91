#pragma once

#include <windows.h>

#include <string>
#include <thread>

#include "win32/Handles.h"

namespace quenmar::win {

// Tells a window, by posting it a message, when a file may have changed: a
// write to it, or a file made, replaced or removed beside it. The folder is
// watched, or while it does not exist its nearest ancestor that does, with
// everything below. The watch has a thread of its own, armed again before
// the window is told; the window is told once when it is first armed, for
// what was written before.
class FileWatch {
public:
    FileWatch(const std::string& path, HWND window, UINT message);
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

private:
    void Run();

    std::wstring folder_;
    HWND window_;
    UINT message_;
    UniqueHandle stop_;
    std::thread thread_;
};

}  // namespace quenmar::win
