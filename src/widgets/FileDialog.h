#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace quenmar::widgets {

// The texts a common file dialog starts with: its filter (names and
// patterns parted by '|', the first entry chosen), the file name in its box
// and its title.
struct FileDialogTexts {
    std::string filter;
    std::string fileName;
    std::string title;
};

// The common Save dialog. The chosen file's path, the default extension
// added to a name without one; nothing when the user cancels, or when the
// name typed is longer than a path may be, which is told first with
// tooLongText in a box titled `caption`.
std::optional<std::string> AskFileToSave(HWND owner, const FileDialogTexts& texts, const wchar_t* defaultExtension,
                                         const std::string& tooLongText, const std::string& caption);

// The common Open dialog in the classic Explorer style (the one with a
// Places Bar), the bar shown or not; what is chosen is of no use.
void ShowOpenDialog(HWND owner, const FileDialogTexts& texts, bool placesBar);

}  // namespace quenmar::widgets
