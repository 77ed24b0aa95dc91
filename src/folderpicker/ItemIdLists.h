#pragma once

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "win32/Handles.h"

namespace quenmar {

// Item-ID lists: what a list is made of, copies that own themselves, and the
// shell's order and names of the items they point at.
namespace pidl {
UINT Size(LPCITEMIDLIST list);                    // bytes, with the terminator
bool IsEmpty(LPCITEMIDLIST list);                 // null, or the Desktop's empty list
LPCITEMIDLIST Empty();                            // the empty list: the Desktop
win::UniquePidl Clone(LPCITEMIDLIST list);        // null in, null out
win::UniquePidl Append(LPCITEMIDLIST parent, LPCITEMIDLIST child);
LPCITEMIDLIST Next(LPCITEMIDLIST list);           // the list after its first ID
win::UniquePidl CloneFirst(LPCITEMIDLIST list);   // only its first ID
int CountIds(LPCITEMIDLIST list);

// The folder's order of two of its items: negative, zero or positive; nothing
// when the folder cannot say. Each caller decides what nothing means to it.
std::optional<int> Compare(IShellFolder* folder, LPCITEMIDLIST a, LPCITEMIDLIST b);
// Whether two lists from the Desktop name the same item.
bool SameItem(LPCITEMIDLIST a, LPCITEMIDLIST b);
// The part of the target below the root (inside the target) when the root is
// one of the target's ancestors; null otherwise.
LPCITEMIDLIST BelowRoot(LPCITEMIDLIST target, LPCITEMIDLIST root);

// An item's name as its folder gives it; empty when it gives none.
std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST relative, DWORD flags);
// The file-system path of a list from the Desktop (null: the Desktop's);
// empty when it has none.
std::wstring FileSystemPath(LPCITEMIDLIST list);
// A child's file-system path, made of its parent's path and the name the
// parent parses it by: no walk from the Desktop. Empty when the parent has no
// path, the child gives no plain name (a drive's is "C:\\", a shell item's
// "::{...}") or the path would be too long.
std::wstring ChildPath(const std::wstring& parentPath, IShellFolder* parent, LPCITEMIDLIST child);
}  // namespace pidl

}  // namespace quenmar
