#include "win32/FileContents.h"

#include <windows.h>

#include "win32/Handles.h"
#include "win32/SystemMessage.h"
#include "win32/Texts.h"
#include "win32/WideText.h"

namespace quenmar::win {

std::optional<std::string> ReadFileContents(const std::string& path, size_t limit, std::string& bytes) {
    bytes.clear();
    // Shared with writers and with a replace, as another editor may save it meanwhile.
    const UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
        return TextOf(IDS_COULD_NOT_READ, {path, SystemMessage(error)});
    }
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) {
            return TextOf(IDS_COULD_NOT_READ, {path, SystemMessage(GetLastError())});
        }
        if (read == 0) return std::nullopt;
        bytes.append(buffer, read);
        if (bytes.size() > limit) {
            bytes.resize(limit + 1);
            return std::nullopt;
        }
    }
}

}  // namespace quenmar::win
