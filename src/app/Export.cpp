#include "app/Export.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>

#include "places/PlacesEditor.h"
#include "win32/ReplaceFile.h"
#include "win32/WideText.h"

namespace quenmar {

void ExportStoredSettings(const std::string& path, RegistryAccessor& registry) {
    PlacesEditor editor(registry);
    editor.Load();
    win::ReplaceFileContents(path, *editor.ExportFile(ExportFormatFor(path), PreferenceStampsNow()));
}

PreferenceStamps PreferenceStampsNow() {
    SYSTEMTIME now{};
    GetSystemTime(&now);
    char changed[32] = {};
    snprintf(changed, sizeof changed, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
             now.wMinute, now.wSecond);
    const auto newGuid = [] {
        GUID guid{};
        wchar_t text[40] = {};
        if (FAILED(CoCreateGuid(&guid)) || !StringFromGUID2(guid, text, static_cast<int>(std::size(text)))) return std::string();
        return win::Utf8(text);
    };
    return {newGuid, changed};
}

}  // namespace quenmar
