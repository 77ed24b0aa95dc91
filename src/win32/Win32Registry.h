#pragma once

#include "places/RegistryAccessor.h"
#include "win32/Handles.h"

namespace quenmar::win {

// The registry accessor over advapi32, rooted at HKEY_CURRENT_USER.
class Win32Registry : public RegistryAccessor {
public:
    bool OpenKey(const std::string& path, bool canCreate) override;
    bool OpenKeyReadOnly(const std::string& path) override;
    void CloseKey() override;
    bool ValueExists(const std::string& name) override;
    std::optional<RegDataInfo> GetDataInfo(const std::string& name) override;
    std::string ReadString(const std::string& name) override;
    int32_t ReadInteger(const std::string& name) override;
    void WriteString(const std::string& name, const std::string& value) override;
    void WriteExpandString(const std::string& name, const std::string& value) override;
    void WriteInteger(const std::string& name, int32_t value) override;
    bool DeleteValue(const std::string& name) override;
    bool DeleteKey(const std::string& path) override;

private:
    void Write(const std::string& name, DWORD type, const void* data, DWORD size);
    void WriteText(const std::string& name, DWORD type, const std::string& value);
    UniqueKey key_;
};

}  // namespace quenmar::win
