#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdlib>

#include "app/CommandLine.h"
#include "app/Export.h"
#include "app/EditedSettings.h"
#include "app/Help.h"
#include "app/MainWindow.h"
#include "app/Session.h"
#include "widgets/Application.h"
#include "widgets/MessageBoxes.h"
#include "win32/FileContents.h"
#include "win32/Texts.h"
#include "win32/WideText.h"
#include "win32/Win32Registry.h"

namespace {

void Tell(const quenmar::CommandLine& line, const std::string& text, UINT icon) {
    if (!line.quiet) quenmar::widgets::ShowMessage(nullptr, text, quenmar::kApplicationTitle, icon);
}

// The command line's work, without the window, on the settings it names.
// Returns the exit code.
int RunCommandLine(const quenmar::CommandLine& line, quenmar::EditedSettings& edited) {
    using quenmar::CommandLine;
    const auto tell = [&](const std::string& text, UINT icon) { Tell(line, text, icon); };
    switch (line.action) {
    case CommandLine::Action::Usage:
        tell(quenmar::UsageText(), MB_ICONINFORMATION);
        return quenmar::kExitSuccess;
    case CommandLine::Action::Invalid:
        tell(line.error + "\n\n" + quenmar::UsageText(), MB_ICONERROR);
        return quenmar::kExitInvalidUsage;
    case CommandLine::Action::Export:
        if (const quenmar::win::FileStatus written = quenmar::ExportStoredSettings(line.file, edited.Store(), edited.GpoGuid());
            written != ERROR_SUCCESS) {
            tell(quenmar::win::CouldNotWrite(line.file, written), MB_ICONERROR);
            return quenmar::kExitFailed;
        }
        return quenmar::kExitSuccess;
    case CommandLine::Action::Run:
        break;
    }
    return quenmar::kExitSuccess;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    quenmar::win::UseResourceTexts();
    // Arabic and Hebrew read from right to left: every window, message box
    // and common dialog of the program is mirrored for them.
    if (quenmar::win::TextsReadRightToLeft()) SetProcessDefaultLayout(LAYOUT_RTL);
    OleInitialize(nullptr);
    std::vector<std::string> arguments;
    for (int n = 1; n < __argc; ++n) arguments.push_back(quenmar::win::Utf8(__wargv[n]));
    const quenmar::CommandLine line = quenmar::ParseCommandLine(arguments);

    // A Group Policy's settings instead of the user's: one that cannot be
    // read is told, and left exactly as it is.
    std::unique_ptr<quenmar::EditedSettings> edited;
    if (line.policy && line.action != quenmar::CommandLine::Action::Invalid) {
        std::string refusal;
        edited = quenmar::EditedSettings::GroupPolicy(*line.policy, refusal);
        if (!edited) {
            Tell(line, refusal, MB_ICONERROR);
            OleUninitialize();
            return quenmar::kExitFailed;
        }
    } else {
        edited = quenmar::EditedSettings::UsersOwn();
    }
    if (line.action != quenmar::CommandLine::Action::Run) {
        const int result = RunCommandLine(line, *edited);
        OleUninitialize();
        return result;
    }

    // A second start brings the first's window forward and ends.
    quenmar::Session session(std::move(edited));
    if (!session.ClaimFirstStart(10000)) {
        OleUninitialize();
        return quenmar::kExitSuccess;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);
    auto& application = quenmar::widgets::Application::Instance();
    application.SetTitle(quenmar::kApplicationTitle);
    application.SetHelp([](HWND owner) { quenmar::ShowHelp(owner); });
    int result = 0;
    application.Guard(nullptr, [&] {
        quenmar::MainWindow mainForm(session);
        result = application.Run(mainForm);
    });
    OleUninitialize();
    return result;
}
