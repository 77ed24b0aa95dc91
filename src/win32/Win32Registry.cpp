#include "win32/Win32Registry.h"

#include "win32/Handles.h"
#include "win32/SystemMessage.h"
#include "win32/WideText.h"

namespace quenmar::win {

namespace {

class Win32Key : public RegistryKey {
public:
    explicit Win32Key(UniqueKey key) : key_(std::move(key)) {}

    RegStatus Info(const std::string& name, RegDataInfo& info) const override {
        DWORD type = 0, size = 0;
        const LSTATUS status = RegQueryValueExW(key_.get(), Wide(name).c_str(), nullptr, &type, nullptr, &size);
        if (status == ERROR_SUCCESS) info = {type, size};
        return static_cast<RegStatus>(status);
    }

    RegStatus ReadText(const std::string& name, std::string& text) const override {
        const std::wstring wideName = Wide(name);
        DWORD type = 0, size = 0;
        LSTATUS status = RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS) return static_cast<RegStatus>(status);
        if (type != REG_SZ && type != REG_EXPAND_SZ) return kRegWrongType;
        // Stored text need not carry its terminator; an odd last byte is no unit.
        std::wstring buffer((size + 1) / sizeof(wchar_t), L'\0');
        size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key_.get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                  &size);
        if (status != ERROR_SUCCESS) return static_cast<RegStatus>(status);
        if (type != REG_SZ && type != REG_EXPAND_SZ) return kRegWrongType;  // changed in between
        buffer.resize(size / sizeof(wchar_t));
        text = Utf8(buffer.substr(0, buffer.find(L'\0')));
        return kRegOk;
    }

    RegStatus ReadNumber(const std::string& name, int32_t& number) const override {
        DWORD type = 0, value = 0, size = sizeof value;
        const LSTATUS status =
            RegQueryValueExW(key_.get(), Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        if (status == ERROR_MORE_DATA) return kRegWrongType;  // larger than a number
        if (status != ERROR_SUCCESS) return static_cast<RegStatus>(status);
        if (type != REG_DWORD) return kRegWrongType;
        number = static_cast<int32_t>(value);
        return kRegOk;
    }

    RegStatus WriteText(const std::string& name, const std::string& text, bool expandable) override {
        const std::wstring wide = Wide(text);
        return Write(name, expandable ? REG_EXPAND_SZ : REG_SZ, wide.c_str(),
                     static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    }

    RegStatus WriteNumber(const std::string& name, int32_t number) override {
        const DWORD data = static_cast<DWORD>(number);
        return Write(name, REG_DWORD, &data, sizeof data);
    }

    RegStatus DeleteValue(const std::string& name) override {
        const LSTATUS status = RegDeleteValueW(key_.get(), Wide(name).c_str());
        return status == ERROR_FILE_NOT_FOUND ? kRegOk : static_cast<RegStatus>(status);
    }

private:
    RegStatus Write(const std::string& name, DWORD type, const void* data, DWORD size) {
        return static_cast<RegStatus>(
            RegSetValueExW(key_.get(), Wide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size));
    }

    UniqueKey key_;
};

}  // namespace

RegStatus Win32Registry::Open(const std::string& path, KeyAccess access, std::unique_ptr<RegistryKey>& key) {
    UniqueKey opened;
    const LSTATUS status =
        access == KeyAccess::Write
            ? RegCreateKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, opened.put(), nullptr)
            : RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, KEY_QUERY_VALUE, opened.put());
    if (status != ERROR_SUCCESS) {
        opened.release();
        return static_cast<RegStatus>(status);
    }
    key = std::make_unique<Win32Key>(std::move(opened));
    return kRegOk;
}

RegStatus Win32Registry::DeleteKey(const std::string& path) {
    return static_cast<RegStatus>(RegDeleteTreeW(HKEY_CURRENT_USER, Wide(path).c_str()));
}

std::string Win32Registry::StatusText(RegStatus status) const { return SystemMessage(status); }

}  // namespace quenmar::win
