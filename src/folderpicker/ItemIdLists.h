#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "win32/Handles.h"

namespace quenmar {

// Small helpers over item-ID lists.
namespace pidl {
UINT Size(LPCITEMIDLIST list);                        // bytes, with the terminator
LPITEMIDLIST Clone(LPCITEMIDLIST list);               // CoTaskMem copy; null in, null out
LPITEMIDLIST Append(LPCITEMIDLIST parent, LPCITEMIDLIST child);
LPCITEMIDLIST Next(LPCITEMIDLIST list);               // the list after its first ID
LPITEMIDLIST CloneFirst(LPCITEMIDLIST list);          // only its first ID
int CountIds(LPCITEMIDLIST list);
LPCITEMIDLIST Empty();                                // the empty list: the Desktop
int CompareAbsolute(LPCITEMIDLIST a, LPCITEMIDLIST b);  // by the Desktop's CompareIDs
// The part of the target below the root (inside the target) when the root is
// one of the target's ancestors; null otherwise.
LPCITEMIDLIST BelowRoot(LPCITEMIDLIST target, LPCITEMIDLIST root);
// An item's name as its folder gives it; empty when it gives none.
std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST relative, DWORD flags);
}  // namespace pidl

}  // namespace quenmar
