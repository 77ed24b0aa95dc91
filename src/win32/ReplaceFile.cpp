#include "win32/ReplaceFile.h"

#include <windows.h>

#include "win32/Handles.h"
#include "win32/SystemMessage.h"
#include "win32/Texts.h"
#include "win32/WideText.h"

namespace quenmar::win {

namespace {

[[noreturn]] void Fail(const std::string& path, DWORD error) {
    throw FileWriteError(TextOf(IDS_COULD_NOT_WRITE, {path, SystemMessage(error)}));
}

}  // namespace

void ReplaceFileContents(const std::string& path, const std::string& contents) {
    wchar_t full[MAX_PATH] = {};
    wchar_t* name = nullptr;
    const DWORD length = GetFullPathNameW(Wide(path).c_str(), MAX_PATH, full, &name);
    if (length == 0) Fail(path, GetLastError());
    if (length >= MAX_PATH || !name) Fail(path, length >= MAX_PATH ? ERROR_FILENAME_EXCED_RANGE : ERROR_INVALID_NAME);
    const std::wstring folder(full, name);
    const DWORD attributes = GetFileAttributesW(full);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Fail(path, ERROR_ACCESS_DENIED);
    }

    const DWORD folderAttributes = GetFileAttributesW(folder.c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES || !(folderAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Fail(path, ERROR_PATH_NOT_FOUND);
    }
    wchar_t temporary[MAX_PATH] = {};
    if (!GetTempFileNameW(folder.c_str(), L"qnm", 0, temporary)) Fail(path, GetLastError());
    bool replaced = false;
    const ScopeExit leftover([&] {
        if (!replaced) DeleteFileW(temporary);
    });

    {
        UniqueFile file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
        if (!file) Fail(path, GetLastError());
        DWORD written = 0;
        if (!WriteFile(file.get(), contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) ||
            written != contents.size()) {
            Fail(path, GetLastError() ? GetLastError() : ERROR_DISK_FULL);
        }
        if (!FlushFileBuffers(file.get())) Fail(path, GetLastError());
    }
    if (!MoveFileExW(temporary, full, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) Fail(path, GetLastError());
    replaced = true;
}

}  // namespace quenmar::win
