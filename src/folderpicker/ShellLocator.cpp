#include "folderpicker/ShellLocator.h"

#include <cstring>

#include "win32/AnsiText.h"

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

int CompareAbsolute(LPCITEMIDLIST a, LPCITEMIDLIST b) {
    static const USHORT empty = 0;
    const auto* none = reinterpret_cast<LPCITEMIDLIST>(&empty);
    win::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put()))) return -1;
    const HRESULT result = desktop->CompareIDs(0, a ? a : none, b ? b : none);
    if (FAILED(result)) return -1;
    return static_cast<short>(HRESULT_CODE(result));
}

}  // namespace pidl

void TShellLocator::SetIdList(LPCITEMIDLIST list) {
    if (list && pidl::Size(list) <= 2) list = nullptr;
    if (!list && !pidl_) return;
    pidl_.reset(pidl::Clone(list));
    if (OnChange) OnChange();
}

void TShellLocator::SetPath(const std::string& path) {
    if (path.empty()) return Clear();
    std::wstring wide = win::AnsiToWide(path);
    if (wide.size() > MAX_PATH - 1) wide.resize(MAX_PATH - 1);
    win::ComPtr<IShellFolder> desktop;
    win::UniquePidl parsed;
    if (FAILED(SHGetDesktopFolder(desktop.put())) ||
        FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, parsed.put(), nullptr))) {
        return Clear();
    }
    if (!Equals(parsed.get())) SetIdList(parsed.get());
}

namespace {

std::wstring WidePath(LPCITEMIDLIST list) {
    static const USHORT empty = 0;
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(list ? list : reinterpret_cast<LPCITEMIDLIST>(&empty), path)) return {};
    return path;
}

}  // namespace

std::string TShellLocator::Path() const {
    const auto ansi = win::WideToAnsi(WidePath(pidl_.get()));
    return ansi ? *ansi : std::string();
}

bool TShellLocator::PathIsUnrepresentable() const {
    const std::wstring wide = WidePath(pidl_.get());
    return !wide.empty() && !win::WideToAnsi(wide);
}

bool TShellLocator::Equals(LPCITEMIDLIST other) const {
    if (other && pidl::Size(other) <= 2) other = nullptr;
    if (!other && !pidl_) return true;
    if (!other || !pidl_) return false;
    if (other == pidl_.get()) return true;
    return pidl::CompareAbsolute(pidl_.get(), other) == 0;
}

void TShellLocator::Assign(const TShellLocator& other) {
    if (&other == this || Equals(other.IdList())) return;
    SetIdList(other.IdList());
}

}  // namespace quenmar
