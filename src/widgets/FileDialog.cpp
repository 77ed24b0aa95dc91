#include "widgets/FileDialog.h"

#include <commdlg.h>

#include <algorithm>

#include "widgets/MessageBoxes.h"
#include "win32/WideText.h"

namespace quenmar::widgets {

namespace {

// A dialog's record and the texts it points into; neither copied nor moved.
struct FileDialog {
    FileDialog(HWND owner, const FileDialogTexts& texts)
        : filter(win::Wide(texts.filter) + L'|'), title(win::Wide(texts.title)) {
        std::replace(filter.begin(), filter.end(), L'|', L'\0');
        lstrcpynW(fileName, win::Wide(texts.fileName).c_str(), MAX_PATH);
        record.lStructSize = sizeof record;
        record.hwndOwner = owner;
        record.lpstrFilter = filter.c_str();
        record.nFilterIndex = 1;
        record.lpstrFile = fileName;
        record.nMaxFile = MAX_PATH;
        record.lpstrTitle = title.c_str();
    }
    FileDialog(const FileDialog&) = delete;
    FileDialog& operator=(const FileDialog&) = delete;

    std::wstring filter, title;
    wchar_t fileName[MAX_PATH] = {};
    OPENFILENAMEW record{};
};

// A hook only makes the dialog the classic Explorer style.
UINT_PTR CALLBACK ClassicStyleHook(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace

std::optional<std::string> AskFileToSave(HWND owner, const FileDialogTexts& texts, const wchar_t* defaultExtension,
                                         const std::string& tooLongText, const std::string& caption) {
    FileDialog dialog(owner, texts);
    dialog.record.lpstrDefExt = defaultExtension;
    dialog.record.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (GetSaveFileNameW(&dialog.record)) return win::Utf8(dialog.fileName);
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) ShowMessage(owner, tooLongText, caption, MB_ICONWARNING);
    return std::nullopt;
}

void ShowOpenDialog(HWND owner, const FileDialogTexts& texts, bool placesBar) {
    FileDialog dialog(owner, texts);
    dialog.record.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_ENABLEHOOK;
    dialog.record.lpfnHook = ClassicStyleHook;
    dialog.record.FlagsEx = placesBar ? 0 : OFN_EX_NOPLACESBAR;
    GetOpenFileNameW(&dialog.record);
}

}  // namespace quenmar::widgets
