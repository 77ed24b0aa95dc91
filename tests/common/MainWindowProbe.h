#pragma once

#include "app/MainWindow.h"
#include "FoundControl.h"
#include "WaitUntil.h"
#include "widgets/Application.h"
#include "win32/WideText.h"

namespace quenmar::testing {

// A session of its own, made before the window that shows it.
struct ProbeSession {
    ProbeSession(std::unique_ptr<EditedSettings> edited, win::ShellResolver::Resolve resolve)
        : session(std::move(edited), std::move(resolve)) {}
    Session session;
};

// The main window with its controls in reach of the tests, which drive them
// as a user would and read what they show. Its session is the current
// user's registry and the shell's answers unless others are given.
class MainWindowProbe : private ProbeSession, public MainWindow {
public:
    explicit MainWindowProbe(std::unique_ptr<RegistryAccessor> registry = nullptr,
                             std::string helpTarget = HelpTarget(),
                             win::ShellResolver::Resolve resolve = win::ShellResolver::AskShell)
        : ProbeSession(EditedSettings::UsersOwn(std::move(registry)), std::move(resolve)),
          MainWindow(session, std::move(helpTarget)) {}
    // A Group Policy's window.
    explicit MainWindowProbe(std::unique_ptr<EditedSettings> edited)
        : ProbeSession(std::move(edited), win::ShellResolver::AskShell), MainWindow(session, HelpTarget()) {}
    const PlacesEditor& Editor() const { return session.Editor(); }
    bool Settled() const { return session.Settled(); }
    OpenDialog Dialog() const { return session.Dialog(); }
    static constexpr UINT kStoredSettingsChanged = quenmar::kStoredSettingsChanged;
    // The window's controls, found by their IDs.
    widgets::ListView& placesList = FoundControl<widgets::ListView>(*this, kPlacesList);
    widgets::Label& title = FoundControl<widgets::Label>(*this, kTitle);
    widgets::Banner& banner = FoundControl<widgets::Banner>(*this, kBanner);
    widgets::FlatRadioButton& folderKind = FoundControl<widgets::FlatRadioButton>(*this, kFolderKind);
    widgets::Edit& pathEdit = FoundControl<widgets::Edit>(*this, kPathEdit);
    widgets::FlatButton& browseButton = FoundControl<widgets::FlatButton>(*this, kBrowseButton);
    widgets::LinkLabel& standInLink = FoundControl<widgets::LinkLabel>(*this, kStandInLink);
    widgets::Picture& dropHintIcon = FoundControl<widgets::Picture>(*this, kDropHintIcon);
    widgets::Label& dropHint = FoundControl<widgets::Label>(*this, kDropHint);
    widgets::Label& leftOutNote = FoundControl<widgets::Label>(*this, kLeftOutNote);
    widgets::FlatRadioButton& specialKind = FoundControl<widgets::FlatRadioButton>(*this, kSpecialKind);
    widgets::ListView& catalogue = FoundControl<widgets::ListView>(*this, kCatalogue);
    widgets::FlatButton& previewButton = FoundControl<widgets::FlatButton>(*this, kPreviewButton);
    widgets::FlatButton& restoreButton = FoundControl<widgets::FlatButton>(*this, kRestoreButton);
    widgets::FlatButton& aboutButton = FoundControl<widgets::FlatButton>(*this, kAboutButton);
    widgets::Picture& logo = FoundControl<widgets::Picture>(*this, kLogo);
    widgets::FlatButton& moveUpButton = FoundControl<widgets::FlatButton>(*this, kMoveUpButton);
    widgets::FlatButton& moveDownButton = FoundControl<widgets::FlatButton>(*this, kMoveDownButton);
    widgets::FlatButton& changeFolderButton = FoundControl<widgets::FlatButton>(*this, kChangeFolderButton);
    widgets::FlatCheckBox& hideBox = FoundControl<widgets::FlatCheckBox>(*this, kHideBox);
    widgets::FlatButton& exitButton = FoundControl<widgets::FlatButton>(*this, kExitButton);

    // Runs the queue until the icons the shell looks up after the first paint
    // are in, and its answers about every place shown (typed text is asked
    // once typing pauses).
    bool WaitForIcons() {
        return WaitUntil([this] { return session.Settled(); }, 30000);
    }

    // Run once the window has read the settings, before it is drawn.
    std::function<void()> afterLoading;
    void Showing() override {
        MainWindow::Showing();
        if (afterLoading) afterLoading();
    }

    // The selected slot, or -1.
    int CurrentSlot() const { return Editor().Selected().value_or(-1); }
};

}  // namespace quenmar::testing

namespace quenmar::testing {

// An item's text as the list shows it.
inline std::string ItemText(const widgets::ListView& list, int index) {
    wchar_t text[1024] = {};
    LVITEMW item{};
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    SendMessageW(list.Handle(), LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    return win::Utf8(text);
}

// Selects (or deselects) a list's item as the user's click does: the list
// reports the change, as it does not when the program selects.
inline void UserSelect(widgets::ListView& list, int item, bool selected = true) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | (selected ? LVIS_FOCUSED : 0);
    state.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    SendMessageW(list.Handle(), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
}

}  // namespace quenmar::testing
