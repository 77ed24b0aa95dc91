#include "app/Help.h"

#include "app/AppTexts.h"
#include "app/Product.h"
#include "app/ShellOpenLauncher.h"
#include "places/PathText.h"
#include "places/Texts.h"
#include "widgets/MessageBoxes.h"
#include "win32/FileContents.h"
#include "win32/Texts.h"
#include "win32/WideText.h"

namespace quenmar {

bool HelpIsLocal() { return std::string(kWebsiteAddress).empty(); }

std::string HelpTarget() {
    if (!HelpIsLocal()) return kWebsiteAddress;
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length == 0) return {};
        if (length < program.size()) {
            program.resize(length);
            break;
        }
        program.resize(program.size() * 2);
    }
    const std::string help = DirectoryPart(win::Utf8(program)) + "help\\";
    // A language's page is in the folder of its name, as a locale names it.
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (LCIDToLocaleName(MAKELCID(win::ShownLanguage(), SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH,
                         LOCALE_ALLOW_NEUTRAL_NAMES) > 0) {
        const std::string page = help + win::Utf8(name) + "\\Quenmar.htm";
        if (win::Exists(win::Wide(page))) return page;
    }
    return help + "Quenmar.htm";
}

void ShowHelp(HWND owner) {
    const std::string target = HelpTarget();
    if (OpenLink(target)) return;
    widgets::ShowMessage(owner, TextOf(IDS_HELP_NOT_OPENED, {target}), TextOf(IDS_ERROR), MB_ICONWARNING);
}

}  // namespace quenmar
