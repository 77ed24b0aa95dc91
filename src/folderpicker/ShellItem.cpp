#include "folderpicker/ShellItem.h"

#include "win32/WideText.h"

namespace quenmar {

void ShellItem::SetIdList(LPCITEMIDLIST list) {
    if (pidl::IsEmpty(list)) list = nullptr;
    if (!list && !pidl_) return;
    pidl_ = pidl::Clone(list);
    if (OnChange) OnChange();
}

void ShellItem::SetPath(const std::string& path) {
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

std::string ShellItem::Path() const { return win::Utf8(pidl::FileSystemPath(pidl_.get())); }

bool ShellItem::Equals(LPCITEMIDLIST other) const {
    if (pidl::IsEmpty(other)) other = nullptr;
    if (!other && !pidl_) return true;
    if (!other || !pidl_) return false;
    if (other == pidl_.get()) return true;
    return pidl::SameItem(pidl_.get(), other);
}

void ShellItem::Assign(const ShellItem& other) {
    if (&other == this || Equals(other.IdList())) return;
    SetIdList(other.IdList());
}

}  // namespace quenmar
