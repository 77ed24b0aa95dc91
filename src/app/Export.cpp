#include "app/Export.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>

#include "app/AppMessages.h"
#include "app/AppTexts.h"
#include "app/Product.h"
#include "places/Catalogue.h"
#include "widgets/FileDialog.h"
#include "widgets/MessageBoxes.h"
#include "win32/Clipboard.h"
#include "win32/WideText.h"

namespace quenmar {

win::FileStatus ExportStoredSettings(const std::string& path, RegistryAccessor& registry, std::string_view gpoGuid) {
    PlacesEditor editor(registry);
    editor.Load();
    return win::ReplaceFileContents(path, *editor.ExportFile(ExportFormatFor(path), PreferenceStampsNow(), gpoGuid));
}

void ExportAsTheUserNames(HWND owner, const PlacesEditor& editor, std::string_view gpoGuid) {
    if (!editor.Loaded()) return;  // nothing to export
    const std::optional<std::string> path = widgets::AskFileToSave(
        owner, {TextOf(IDS_EXPORT_FILTER), TextOf(IDS_EXPORT_FILE_NAME), TextOf(IDS_EXPORT_TITLE)}, L"reg",
        TextOf(IDS_FILE_NAME_TOO_LONG), kApplicationTitle);
    if (!path) return;
    const win::FileStatus written =
        win::ReplaceFileContents(*path, *editor.ExportFile(ExportFormatFor(*path), PreferenceStampsNow(), gpoGuid));
    if (written != ERROR_SUCCESS) widgets::ShowMessage(owner, win::CouldNotWrite(*path, written), kApplicationTitle, MB_ICONWARNING);
}

std::vector<std::pair<UINT, std::string>> ExportCommands() {
    return {{kExportSettingsCommand, TextOf(IDS_EXPORT_SETTINGS)},
            {kCopyForPreferencesCommand, TextOf(IDS_COPY_FOR_PREFERENCES)},
            {kCopyAsPowerShellCommand, TextOf(IDS_COPY_AS_POWERSHELL)},
            {kCopyForIntuneCommand, TextOf(IDS_COPY_FOR_INTUNE)}};
}

bool RunExportCommand(HWND owner, UINT command, const PlacesEditor& editor, std::string_view gpoGuid) {
    switch (command & 0xFFF0) {
    case kExportSettingsCommand: ExportAsTheUserNames(owner, editor, gpoGuid); return true;
    case kCopyForPreferencesCommand: CopyForPreferences(owner, editor); return true;
    case kCopyAsPowerShellCommand: CopyAsPowerShell(owner, editor, gpoGuid); return true;
    case kCopyForIntuneCommand: CopyForIntune(owner, editor); return true;
    default: return false;
    }
}

void CopyForPreferences(HWND owner, const PlacesEditor& editor) {
    if (editor.Loaded()) win::CopyTextToClipboard(owner, *editor.ExportFile(ExportFormat::Preferences, PreferenceStampsNow()));
}

void CopyAsPowerShell(HWND owner, const PlacesEditor& editor, std::string_view gpoGuid) {
    if (!editor.Loaded()) return;
    std::string script = *editor.ExportFile(ExportFormat::PowerShell, {}, gpoGuid);
    if (script.rfind("\xEF\xBB\xBF", 0) == 0) script.erase(0, 3);  // the file's mark, not the text's
    win::CopyTextToClipboard(owner, script);
}

void CopyForIntune(HWND owner, const PlacesEditor& editor) {
    const auto settings = editor.IntuneSettings();
    if (!settings) return;
    if (const auto* unnamed = std::get_if<int32_t>(&*settings)) {
        widgets::ShowMessage(owner, TextOf(IDS_INTUNE_UNNAMED_FOLDER, {SpecialFolderName(*unnamed)}), kApplicationTitle,
                             MB_ICONINFORMATION);
        return;
    }
    win::CopyTextToClipboard(owner, IntuneText(std::get<std::vector<IntuneSetting>>(*settings)));
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
