#include "folderpicker/ItemIdLists.h"

#include <shlwapi.h>

#include <cstring>
#include <cwchar>

#include "win32/WideText.h"

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

bool IsEmpty(LPCITEMIDLIST list) { return !list || !list->mkid.cb; }

LPCITEMIDLIST Empty() {
    static const USHORT terminator = 0;
    return reinterpret_cast<LPCITEMIDLIST>(&terminator);
}

namespace {

// The first bytes of one list, then those of another, terminated.
win::UniquePidl Joined(LPCITEMIDLIST first, UINT firstBytes, LPCITEMIDLIST second = nullptr, UINT secondBytes = 0) {
    win::UniquePidl joined(static_cast<LPITEMIDLIST>(CoTaskMemAlloc(firstBytes + secondBytes + sizeof(USHORT))));
    if (!joined) return {};
    auto* bytes = reinterpret_cast<BYTE*>(joined.get());
    if (firstBytes) std::memcpy(bytes, first, firstBytes);
    if (secondBytes) std::memcpy(bytes + firstBytes, second, secondBytes);
    std::memset(bytes + firstBytes + secondBytes, 0, sizeof(USHORT));
    return joined;
}

}  // namespace

win::UniquePidl Clone(LPCITEMIDLIST list) {
    if (!list) return {};
    return Joined(list, Size(list) - sizeof(USHORT));
}

win::UniquePidl Append(LPCITEMIDLIST parent, LPCITEMIDLIST child) {
    const UINT parentSize = parent ? Size(parent) - sizeof(USHORT) : 0;
    const UINT childSize = child ? Size(child) - sizeof(USHORT) : 0;
    return Joined(parent, parentSize, child, childSize);
}

LPCITEMIDLIST Next(LPCITEMIDLIST list) {
    if (!list || !list->mkid.cb) return list;
    return reinterpret_cast<LPCITEMIDLIST>(reinterpret_cast<const BYTE*>(list) + list->mkid.cb);
}

win::UniquePidl CloneFirst(LPCITEMIDLIST list) {
    if (IsEmpty(list)) return Clone(list);
    return Joined(list, list->mkid.cb);
}

int CountIds(LPCITEMIDLIST list) {
    int count = 0;
    for (; !IsEmpty(list); list = Next(list)) ++count;
    return count;
}

std::optional<int> Compare(IShellFolder* folder, LPCITEMIDLIST a, LPCITEMIDLIST b) {
    const HRESULT result = folder->CompareIDs(0, a ? a : Empty(), b ? b : Empty());
    if (FAILED(result)) return std::nullopt;
    return static_cast<short>(HRESULT_CODE(result));
}

bool SameItem(LPCITEMIDLIST a, LPCITEMIDLIST b) {
    win::ComPtr<IShellFolder> desktop;
    return SUCCEEDED(SHGetDesktopFolder(desktop.put())) && Compare(desktop.get(), a, b) == 0;
}

LPCITEMIDLIST BelowRoot(LPCITEMIDLIST target, LPCITEMIDLIST root) {
    const int rootDepth = CountIds(root);
    if (!target || CountIds(target) <= rootDepth) return nullptr;
    LPCITEMIDLIST rest = target;
    for (int i = 0; i < rootDepth; ++i) rest = Next(rest);
    if (rootDepth == 0) return rest;
    // The target cut to the root's depth, compared with the root.
    const UINT prefixSize = static_cast<UINT>(reinterpret_cast<const BYTE*>(rest) - reinterpret_cast<const BYTE*>(target));
    const win::UniquePidl prefix = Joined(target, prefixSize);
    return prefix && SameItem(prefix.get(), root) ? rest : nullptr;
}

std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST relative, DWORD flags) {
    STRRET name{};
    if (FAILED(folder->GetDisplayNameOf(relative, flags, &name))) return {};
    wchar_t text[MAX_PATH * 2] = {};
    StrRetToBufW(&name, relative, text, static_cast<UINT>(std::size(text)));
    return win::Utf8(text);
}

std::wstring FileSystemPath(LPCITEMIDLIST list) {
    wchar_t path[MAX_PATH] = {};
    return SHGetPathFromIDListW(list ? list : Empty(), path) ? path : L"";
}

std::wstring ChildPath(const std::wstring& parentPath, IShellFolder* parent, LPCITEMIDLIST child) {
    STRRET name{};
    wchar_t text[MAX_PATH] = {};
    if (parentPath.empty() || FAILED(parent->GetDisplayNameOf(child, SHGDN_INFOLDER | SHGDN_FORPARSING, &name)) ||
        FAILED(StrRetToBufW(&name, child, text, MAX_PATH)) || !text[0] || std::wcspbrk(text, L"\\:")) {
        return {};  // a drive ("C:\\") or a shell item ("::{...}") is no name in its parent's folder
    }
    std::wstring path = parentPath.back() == L'\\' ? parentPath + text : parentPath + L"\\" + text;
    if (path.size() >= MAX_PATH) path.clear();
    return path;
}

}  // namespace pidl

}  // namespace quenmar
