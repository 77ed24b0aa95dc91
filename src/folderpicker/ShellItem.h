#pragma once

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>

#include "folderpicker/ItemIdLists.h"
#include "win32/Handles.h"

namespace quenmar {

// One place of the shell namespace: an absolute item-ID list it owns, or
// none, which stands for the Desktop.
class ShellItem {
public:
    ShellItem() = default;
    ShellItem(const ShellItem&) = delete;
    ShellItem& operator=(const ShellItem&) = delete;

    // Told of every real change.
    std::function<void()> OnChange;

    bool IsNone() const { return !pidl_; }
    // The list, or null for none.
    LPCITEMIDLIST IdList() const { return pidl_.get(); }

    // Takes a copy of an absolute list; an empty list (the Desktop) is none.
    void SetIdList(LPCITEMIDLIST pidl);
    void Clear() { SetIdList(nullptr); }

    // Parsed by the Desktop folder; text the shell cannot parse, or empty
    // text, gives none. Nothing is reported.
    void SetPath(const std::string& path);
    // The file-system path: empty for items without one (My Computer and
    // the like) and for paths the ANSI code page cannot hold; the Desktop's
    // directory for none.
    std::string Path() const;

    // Copies another locator unless both name the same item.
    void Assign(const ShellItem& other);
    bool Equals(LPCITEMIDLIST other) const;

private:
    win::UniquePidl pidl_;
};


}  // namespace quenmar
