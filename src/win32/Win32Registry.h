#pragma once

#include "places/RegistryAccessor.h"

namespace quenmar::win {

// The store over advapi32, rooted at HKEY_CURRENT_USER. A key is opened with
// the rights its use needs: reading, or reading and writing.
class Win32Registry : public RegistryAccessor {
public:
    RegStatus Open(const std::string& path, KeyAccess access, std::unique_ptr<RegistryKey>& key) override;
    RegStatus DeleteKey(const std::string& path) override;
    std::string StatusText(RegStatus status) const override;
};

}  // namespace quenmar::win
