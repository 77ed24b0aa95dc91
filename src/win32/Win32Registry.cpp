#include "win32/Win32Registry.h"

#include "win32/WideText.h"

namespace quenmar::win {

bool Win32Registry::OpenKey(const std::string& path, bool canCreate) {
    CloseKey();
    LONG status;
    if (canCreate) {
        status = RegCreateKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, key_.put(), nullptr);
    } else {
        status = RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, KEY_ALL_ACCESS, key_.put());
    }
    if (status != ERROR_SUCCESS) key_.release();
    return status == ERROR_SUCCESS;
}

bool Win32Registry::OpenKeyReadOnly(const std::string& path) {
    CloseKey();
    const LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, KEY_READ, key_.put());
    if (status != ERROR_SUCCESS) key_.release();
    return status == ERROR_SUCCESS;
}

void Win32Registry::CloseKey() { key_.reset(); }

bool Win32Registry::ValueExists(const std::string& name) { return GetDataInfo(name).has_value(); }

std::optional<RegDataInfo> Win32Registry::GetDataInfo(const std::string& name) {
    if (!key_) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_.get(), Wide(name).c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return RegDataInfo{type, size};
}

std::string Win32Registry::ReadString(const std::string& name) {
    if (!key_) throw RegistryError(FailedToGetData(name));
    const std::wstring wideName = Wide(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        throw RegistryError(FailedToGetData(name));
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw RegistryError(InvalidDataType(name));
    // Stored text need not carry its terminator; an odd last byte is no unit.
    std::wstring buffer((size + 1) / sizeof(wchar_t), L'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS) {
        throw RegistryError(FailedToGetData(name));
    }
    buffer.resize(size / sizeof(wchar_t));
    return Utf8(buffer.substr(0, buffer.find(L'\0')));
}

int32_t Win32Registry::ReadInteger(const std::string& name) {
    if (!key_) throw RegistryError(FailedToGetData(name));
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExW(key_.get(), Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS) {
        throw RegistryError(FailedToGetData(name));
    }
    if (type != REG_DWORD) throw RegistryError(InvalidDataType(name));
    return static_cast<int32_t>(value);
}

void Win32Registry::Write(const std::string& name, DWORD type, const void* data, DWORD size) {
    if (!key_ || RegSetValueExW(key_.get(), Wide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size) !=
                     ERROR_SUCCESS) {
        throw RegistryError(FailedToSetData(name));
    }
}

void Win32Registry::WriteText(const std::string& name, DWORD type, const std::string& value) {
    const std::wstring text = Wide(value);
    Write(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void Win32Registry::WriteString(const std::string& name, const std::string& value) {
    WriteText(name, REG_SZ, value);
}

void Win32Registry::WriteExpandString(const std::string& name, const std::string& value) {
    WriteText(name, REG_EXPAND_SZ, value);
}

void Win32Registry::WriteInteger(const std::string& name, int32_t value) {
    const DWORD data = static_cast<DWORD>(value);
    Write(name, REG_DWORD, &data, sizeof(data));
}

bool Win32Registry::DeleteValue(const std::string& name) {
    if (!key_) return false;
    const LSTATUS status = RegDeleteValueW(key_.get(), Wide(name).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool Win32Registry::DeleteKey(const std::string& path) {
    CloseKey();
    return RegDeleteTreeW(HKEY_CURRENT_USER, Wide(path).c_str()) == ERROR_SUCCESS;
}

}  // namespace quenmar::win
