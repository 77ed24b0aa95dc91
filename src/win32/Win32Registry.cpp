#include "win32/Win32Registry.h"

#include <vector>

#include "win32/AnsiText.h"

namespace quenmar::win {

bool Win32Registry::OpenKey(const std::string& path, bool canCreate) {
    CloseKey();
    LONG status;
    if (canCreate) {
        status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, key_.put(), nullptr);
    } else {
        status = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, key_.put());
    }
    if (status != ERROR_SUCCESS) key_.release();
    return status == ERROR_SUCCESS;
}

bool Win32Registry::OpenKeyReadOnly(const std::string& path) {
    CloseKey();
    const LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key_.put());
    if (status != ERROR_SUCCESS) key_.release();
    return status == ERROR_SUCCESS;
}

void Win32Registry::CloseKey() { key_.reset(); }

bool Win32Registry::ValueExists(const std::string& name) { return GetDataInfo(name).has_value(); }

std::optional<RegDataInfo> Win32Registry::GetDataInfo(const std::string& name) {
    if (!key_) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return RegDataInfo{type, size};
}

std::string Win32Registry::ReadString(const std::string& name) {
    const auto info = GetDataInfo(name);
    if (!info) throw RegistryError(FailedToGetData(name));
    if (info->type != REG_SZ && info->type != REG_EXPAND_SZ) throw RegistryError(InvalidDataType(name));
    // Read as the registry holds it, so that a character the code page lacks
    // is noticed instead of turning silently into a question mark.
    const std::wstring wideName = AnsiToWide(name);
    DWORD size = 0;
    DWORD type = 0;
    if (RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        throw RegistryError(FailedToGetData(name));
    }
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS) {
        throw RegistryError(FailedToGetData(name));
    }
    // Stored text need not carry its terminating zero; the buffer has one more.
    const std::wstring text(buffer.c_str());
    if (const auto ansi = WideToAnsi(text)) return *ansi;
    const int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string shown(static_cast<size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, shown.data(), length, nullptr, nullptr);
    shown.resize(shown.find('\0'));
    throw UnrepresentableText(name, shown);
}

int32_t Win32Registry::ReadInteger(const std::string& name) {
    if (!key_) throw RegistryError(FailedToGetData(name));
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS) {
        throw RegistryError(FailedToGetData(name));
    }
    if (type != REG_DWORD) throw RegistryError(InvalidDataType(name));
    return static_cast<int32_t>(value);
}

void Win32Registry::Write(const std::string& name, DWORD type, const void* data, DWORD size) {
    if (!key_ || RegSetValueExA(key_.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) !=
                     ERROR_SUCCESS) {
        throw RegistryError(FailedToSetData(name));
    }
}

void Win32Registry::WriteString(const std::string& name, const std::string& value) {
    Write(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void Win32Registry::WriteExpandString(const std::string& name, const std::string& value) {
    Write(name, REG_EXPAND_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void Win32Registry::WriteInteger(const std::string& name, int32_t value) {
    const DWORD data = static_cast<DWORD>(value);
    Write(name, REG_DWORD, &data, sizeof(data));
}

std::optional<RawData> Win32Registry::ReadRaw(const std::string& name) {
    if (!key_) return std::nullopt;
    const std::wstring wideName = AnsiToWide(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::string bytes(size, '\0');
    if (RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                         &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    bytes.resize(size);
    return RawData{type, bytes};
}

void Win32Registry::WriteRaw(const std::string& name, const RawData& data) {
    const std::wstring wideName = AnsiToWide(name);
    if (!key_ || RegSetValueExW(key_.get(), wideName.c_str(), 0, data.type,
                                reinterpret_cast<const BYTE*>(data.bytes.data()),
                                static_cast<DWORD>(data.bytes.size())) != ERROR_SUCCESS) {
        throw RegistryError(FailedToSetData(name));
    }
}

bool Win32Registry::DeleteKey(const std::string& path) {
    CloseKey();
    return RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS;
}

}  // namespace quenmar::win
