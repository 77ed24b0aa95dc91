#include "folderpicker/ShellLocator.h"

#include "win32/WideText.h"

namespace quenmar {

void TShellLocator::SetIdList(LPCITEMIDLIST list) {
    if (pidl::IsEmpty(list)) list = nullptr;
    if (!list && !pidl_) return;
    pidl_ = pidl::Clone(list);
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

std::string TShellLocator::Path() const { return win::Utf8(pidl::FileSystemPath(pidl_.get())); }

bool TShellLocator::Equals(LPCITEMIDLIST other) const {
    if (pidl::IsEmpty(other)) other = nullptr;
    if (!other && !pidl_) return true;
    if (!other || !pidl_) return false;
    if (other == pidl_.get()) return true;
    return pidl::SameItem(pidl_.get(), other);
}

void TShellLocator::Assign(const TShellLocator& other) {
    if (&other == this || Equals(other.IdList())) return;
    SetIdList(other.IdList());
}

}  // namespace quenmar
