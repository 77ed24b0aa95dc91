#pragma once

// What the folder tree keeps with each node; shared by the tree's own units.

#include <optional>
#include <string>

#include "folderpicker/ShellFolderTree.h"
#include "win32/Handles.h"

namespace quenmar {

struct ShellFolderTree::NodeData {
    win::UniquePidl absolute;  // empty list for the Desktop
    win::UniquePidl relative;  // the last ID; null for the root
    ULONG attributes = 0;
    bool listed = false;
    Subfolders subfolders = Subfolders::Unknown;  // until the node is on screen
    // The node's own folder, kept once bound: its children's icons and
    // expand buttons are asked of it without walking from the Desktop again.
    win::ComPtr<IShellFolder> folder;
    // Its file-system path once asked for, empty when it has none.
    std::optional<std::wstring> path;
};

}  // namespace quenmar
