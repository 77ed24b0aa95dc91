#include "win32/ReplaceFile.h"

#include <windows.h>

#include "win32/Handles.h"

namespace quenmar::win {

namespace {

std::string SystemText(DWORD error) {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = text ? text : "Error " + std::to_string(error) + ".";
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
        message.pop_back();
    }
    return message;
}

[[noreturn]] void Fail(const std::string& path, DWORD error) {
    throw FileWriteError("Could not write \"" + path + "\":\n" + SystemText(error));
}

}  // namespace

void ReplaceFileContents(const std::string& path, const std::string& contents) {
    char full[MAX_PATH] = {};
    char* name = nullptr;
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, &name);
    if (length == 0) Fail(path, GetLastError());
    if (length >= MAX_PATH || !name) Fail(path, length >= MAX_PATH ? ERROR_FILENAME_EXCED_RANGE : ERROR_INVALID_NAME);
    const std::string folder(full, name);
    const DWORD attributes = GetFileAttributesA(full);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Fail(path, ERROR_ACCESS_DENIED);
    }

    const DWORD folderAttributes = GetFileAttributesA(folder.c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES || !(folderAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Fail(path, ERROR_PATH_NOT_FOUND);
    }
    char temporary[MAX_PATH] = {};
    if (!GetTempFileNameA(folder.c_str(), "qnm", 0, temporary)) Fail(path, GetLastError());
    struct Leftover {
        const char* name;
        ~Leftover() {
            if (name) DeleteFileA(name);
        }
    } leftover{temporary};

    {
        UniqueFile file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
        if (!file) Fail(path, GetLastError());
        DWORD written = 0;
        if (!WriteFile(file.get(), contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) ||
            written != contents.size()) {
            Fail(path, GetLastError() ? GetLastError() : ERROR_DISK_FULL);
        }
        if (!FlushFileBuffers(file.get())) Fail(path, GetLastError());
    }
    if (!MoveFileExA(temporary, full, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) Fail(path, GetLastError());
    leftover.name = nullptr;
}

}  // namespace quenmar::win
