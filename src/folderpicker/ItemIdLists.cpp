#include "folderpicker/ItemIdLists.h"
#include "win32/WideText.h"

#include <shlwapi.h>

#include <cstring>

namespace quenmar {

namespace pidl {

UINT Size(LPCITEMIDLIST list) {
    if (!list) return 0;
    UINT size = sizeof(USHORT);
    for (auto* id = reinterpret_cast<const BYTE*>(list); reinterpret_cast<const SHITEMID*>(id)->cb;) {
        const USHORT cb = reinterpret_cast<const SHITEMID*>(id)->cb;
        size += cb;
        id += cb;
    }
    return size;
}

LPITEMIDLIST Clone(LPCITEMIDLIST list) {
    if (!list) return nullptr;
    const UINT size = Size(list);
    auto* copy = static_cast<LPITEMIDLIST>(CoTaskMemAlloc(size));
    if (copy) std::memcpy(copy, list, size);
    return copy;
}

LPITEMIDLIST Append(LPCITEMIDLIST parent, LPCITEMIDLIST child) {
    const UINT parentSize = parent ? Size(parent) - sizeof(USHORT) : 0;
    const UINT childSize = child ? Size(child) : sizeof(USHORT);
    auto* joined = static_cast<BYTE*>(CoTaskMemAlloc(parentSize + childSize));
    if (!joined) return nullptr;
    if (parentSize) std::memcpy(joined, parent, parentSize);
    if (child) {
        std::memcpy(joined + parentSize, child, childSize);
    } else {
        std::memset(joined + parentSize, 0, sizeof(USHORT));
    }
    return reinterpret_cast<LPITEMIDLIST>(joined);
}

LPCITEMIDLIST Next(LPCITEMIDLIST list) {
    if (!list || !list->mkid.cb) return list;
    return reinterpret_cast<LPCITEMIDLIST>(reinterpret_cast<const BYTE*>(list) + list->mkid.cb);
}

LPITEMIDLIST CloneFirst(LPCITEMIDLIST list) {
    if (!list || !list->mkid.cb) return Clone(list);
    const USHORT cb = list->mkid.cb;
    auto* copy = static_cast<BYTE*>(CoTaskMemAlloc(cb + sizeof(USHORT)));
    if (!copy) return nullptr;
    std::memcpy(copy, list, cb);
    std::memset(copy + cb, 0, sizeof(USHORT));
    return reinterpret_cast<LPITEMIDLIST>(copy);
}

int CountIds(LPCITEMIDLIST list) {
    int count = 0;
    for (; list && list->mkid.cb; list = Next(list)) ++count;
    return count;
}

LPCITEMIDLIST Empty() {
    static const USHORT terminator = 0;
    return reinterpret_cast<LPCITEMIDLIST>(&terminator);
}

int CompareAbsolute(LPCITEMIDLIST a, LPCITEMIDLIST b) {
    win::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put()))) return -1;
    const HRESULT result = desktop->CompareIDs(0, a ? a : Empty(), b ? b : Empty());
    if (FAILED(result)) return -1;
    return static_cast<short>(HRESULT_CODE(result));
}

LPCITEMIDLIST BelowRoot(LPCITEMIDLIST target, LPCITEMIDLIST root) {
    const int rootDepth = CountIds(root);
    if (!target || CountIds(target) <= rootDepth) return nullptr;
    LPCITEMIDLIST rest = target;
    for (int i = 0; i < rootDepth; ++i) rest = Next(rest);
    if (rootDepth == 0) return rest;
    // The target cut to the root's depth, compared with the root.
    const UINT prefixSize = static_cast<UINT>(reinterpret_cast<const BYTE*>(rest) - reinterpret_cast<const BYTE*>(target));
    win::UniquePidl prefix(static_cast<LPITEMIDLIST>(CoTaskMemAlloc(prefixSize + sizeof(USHORT))));
    if (!prefix) return nullptr;
    std::memcpy(prefix.get(), target, prefixSize);
    std::memset(reinterpret_cast<BYTE*>(prefix.get()) + prefixSize, 0, sizeof(USHORT));
    return CompareAbsolute(prefix.get(), root) == 0 ? rest : nullptr;
}

std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST relative, DWORD flags) {
    STRRET name{};
    if (FAILED(folder->GetDisplayNameOf(relative, flags, &name))) return {};
    wchar_t text[MAX_PATH * 2] = {};
    StrRetToBufW(&name, relative, text, static_cast<UINT>(std::size(text)));
    return win::Utf8(text);
}

}  // namespace pidl

}  // namespace quenmar
