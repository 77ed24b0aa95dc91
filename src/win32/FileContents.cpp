#include "win32/FileContents.h"

#include "win32/Handles.h"
#include "win32/SystemMessage.h"
#include "win32/Texts.h"
#include "win32/WideText.h"

namespace quenmar::win {

FileStatus ReadFileContents(const std::string& path, size_t limit, std::string& bytes) {
    bytes.clear();
    // Shared with writers and with a replace, as another editor may save it meanwhile.
    const UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : error;
    }
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return GetLastError();
        if (read == 0) return ERROR_SUCCESS;
        bytes.append(buffer, read);
        if (bytes.size() > limit) {
            bytes.resize(limit + 1);
            return ERROR_SUCCESS;
        }
    }
}

FileStatus ReplaceFileContents(const std::string& path, const std::string& contents) {
    wchar_t full[MAX_PATH] = {};
    wchar_t* name = nullptr;
    const DWORD length = GetFullPathNameW(Wide(path).c_str(), MAX_PATH, full, &name);
    if (length == 0) return GetLastError();
    if (length >= MAX_PATH || !name) return length >= MAX_PATH ? ERROR_FILENAME_EXCED_RANGE : ERROR_INVALID_NAME;
    const std::wstring folder(full, name);
    if (IsFolder(full)) return ERROR_ACCESS_DENIED;
    if (!IsFolder(folder)) return ERROR_PATH_NOT_FOUND;
    wchar_t temporary[MAX_PATH] = {};
    if (!GetTempFileNameW(folder.c_str(), L"qnm", 0, temporary)) return GetLastError();
    bool replaced = false;
    const ScopeExit leftover([&] {
        if (!replaced) DeleteFileW(temporary);
    });
    {
        const UniqueFile file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return GetLastError();
        DWORD written = 0;
        if (!WriteFile(file.get(), contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) ||
            written != contents.size()) {
            return GetLastError() ? GetLastError() : ERROR_DISK_FULL;
        }
        if (!FlushFileBuffers(file.get())) return GetLastError();
    }
    if (!MoveFileExW(temporary, full, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return GetLastError();
    replaced = true;
    return ERROR_SUCCESS;
}

std::string FileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return {};
    return std::to_string(data.nFileSizeHigh) + ":" + std::to_string(data.nFileSizeLow) + ":" +
           std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" + std::to_string(data.ftLastWriteTime.dwLowDateTime);
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string CouldNotRead(const std::string& path, FileStatus status) {
    return TextOf(IDS_COULD_NOT_READ, {path, SystemMessage(status)});
}

std::string CouldNotWrite(const std::string& path, FileStatus status) {
    return TextOf(IDS_COULD_NOT_WRITE, {path, SystemMessage(status)});
}

}  // namespace quenmar::win
