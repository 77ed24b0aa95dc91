#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "RawValue.h"
#include "places/PlacesStore.h"
#include "win32/WideText.h"
#include "win32/Win32Registry.h"

namespace quenmar::testing {

// A value exactly as the registry holds it (text as UTF-16), read without
// any conversion; nothing when it is missing.
inline std::optional<RawValue> StoredValue(const wchar_t* key, const std::wstring& name) {
    DWORD type = 0, size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::string data(size, '\0');
    if (RegGetValueW(HKEY_CURRENT_USER, key, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(size);
    return RawValue{type, data};
}

// A program run to its end as a process of its own, as another program
// would run it: its exit code. A generous limit; one still running then has
// failed, and is ended.
inline DWORD RunProgram(std::wstring command) {
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process)) {
        return GetLastError() | 0x80000000;
    }
    // A generous limit; a reg.exe still running then has failed.
    DWORD code = 0x80000000 | WAIT_TIMEOUT;
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// The system's own reg.exe.
inline DWORD RegImport(const std::string& file) { return RunProgram(L"reg.exe import \"" + win::Wide(file) + L"\""); }

// Raw access to Wine's real registry, for setting up and checking.
struct RealRegistryBackend {
    win::Win32Registry registry;

    RegistryAccessor& Accessor() { return registry; }
    // Key and value names are ASCII here; the data is put and read as the
    // registry holds it.
    static std::wstring W(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }
    void Reset() { RegDeleteTreeW(HKEY_CURRENT_USER, W(kComdlgPolicyKey).c_str()); }
    void CreateKey(const std::string& key) {
        HKEY handle = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, W(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                                  nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(handle);
    }
    void Put(const std::string& key, const std::string& name, uint32_t type, const std::string& data) {
        CreateKey(key);
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, W(key).c_str(), W(name).c_str(), type, data.data(),
                                  static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    std::optional<RawValue> Get(const std::string& key, const std::string& name) {
        return StoredValue(W(key).c_str(), W(name));
    }
    bool KeyExists(const std::string& key) {
        HKEY handle = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, W(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
        RegCloseKey(handle);
        return true;
    }
    std::vector<std::string> ValueNames(const std::string& key) {
        std::vector<std::string> names;
        HKEY handle = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, W(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return names;
        wchar_t name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = 256;
            if (RegEnumValueW(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            names.emplace_back(name, name + length);  // ASCII
        }
        RegCloseKey(handle);
        return names;
    }
};

}  // namespace quenmar::testing
