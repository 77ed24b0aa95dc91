#include "folderpicker/ShellLocator.h"

#include "win32/WideText.h"

namespace quenmar {

void TShellLocator::SetIdList(LPCITEMIDLIST list) {
    if (list && pidl::Size(list) <= 2) list = nullptr;
    if (!list && !pidl_) return;
    pidl_.reset(pidl::Clone(list));
    if (OnChange) OnChange();
}

void TShellLocator::SetPath(const std::string& path) {
    if (path.empty()) return Clear();
    std::wstring wide = win::Wide(path);
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

std::string TShellLocator::Path() const { return win::Utf8(WidePath(pidl_.get())); }

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
