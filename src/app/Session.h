#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/AppMessages.h"
#include "app/EditedSettings.h"
#include "app/SingleInstance.h"
#include "places/Captions.h"
#include "places/Catalogue.h"
#include "places/PlacesEditor.h"
#include "win32/ShellResolver.h"
#include "win32/Wine.h"
#include "win32/Win32ShellLookups.h"

namespace quenmar {

// The program put together: the registry, the editor of its settings, the
// shell lookups, the watch on the settings' keys and the guard that keeps
// one editor per user session. It runs the start-up as named steps and
// decides what the session's end does; the main window shows its editor.
//
// Start-up, in this order:
//   1. Load: the settings are read (when the window is about to show).
//   2. Show: the window is shown and drawn, with its texts.
//   3. StartAskingTheShellAndWatching: the shell is asked about every place
//      the window shows, as the Open dialog asks it (ShellResolver), and the
//      window told with kShellAnswered as answers come in; the watch on the
//      settings starts, and the window is told with kStoredSettingsChanged
//      once it is armed, for what was written since loading, and after
//      every change.

// What the window says of the selected slot in the drop hint's place: why
// the Open dialog will leave its place out, with a link to what may stand in
// for it; else that this computer's local Group Policy sets the places, with
// a link to edit it; else nothing, and the hint shows.
struct SlotNote {
    std::string text;
    std::string link;
    bool aboutThePlace = false;
    std::optional<StandIn> standIn;  // the link puts this in the place
    bool editsLocalPolicy = false;   // the link opens this computer's local policy
    bool operator==(const SlotNote&) const = default;
};

class Session {
public:

    // The current user's own settings, unless others are given (a Group
    // Policy); the shell answers about places, unless a test gives its own
    // answerer.
    explicit Session(std::unique_ptr<EditedSettings> edited = nullptr,
                     win::ShellResolver::Resolve resolve = win::ShellResolver::AskShell);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    PlacesEditor& Editor() { return editor_; }
    const PlacesEditor& Editor() const { return editor_; }
    const EditedSettings& Edited() const { return *edited_; }
    // The Open dialog whose rules the places are judged by: Wine's under
    // Wine, else Windows'.
    OpenDialog Dialog() const { return dialog_; }

    // For the program's own run: true when this is the user session's first
    // editor of what it edits (the user's settings, or one policy file),
    // which goes on to show its window; a later start has brought the first
    // forward and ends.
    bool ClaimFirstStart(DWORD limitMs);
    // The window the session tells, published for later starts to find.
    void Attach(HWND window);
    // The session's window goes: the watch stops first.
    void Detach();

    // 1. Returns what the window tells of values that could not be read.
    std::optional<std::string> Load();
    // 3. After the window's first paint.
    void StartAskingTheShellAndWatching();

    // What the window shows of a slot, by the shell's answers as they stand
    // (a question not yet asked is asked, and told with kShellAnswered): its
    // caption, icon and left-out mark; the selected slot as typed, without
    // asking, while the user types it.
    SlotDisplay SlotShown(int index);
    // The user typed in the selected slot's path: the shell is asked about
    // it once typing has paused (kTypingPausedTimer on the window), so that
    // only the latest text is asked.
    void Typed();
    // On kTypingPausedTimer: the answers about texts typed on the way are
    // let go; the window shows its slots again.
    void TypingPaused();
    // Whether the window shows all it will until something changes: typing
    // has paused and every question asked of the shell is answered.
    bool Settled() const { return !typing_ && !resolver_.Pending(); }
    // The special folders' rows: their names and small icons.
    struct CatalogueRows {
        std::array<std::string, kSpecialFolders.size()> names;
        std::array<int, kSpecialFolders.size()> icons;
    };
    CatalogueRows Catalogue();
    // A special folder's name as the shell gives it, else the table's.
    std::string SpecialFolderShownName(int32_t csidl);
    // The note on the selected slot as shown, if one is selected.
    SlotNote NoteOf(const std::optional<SlotDisplay>& shown);
    // Does what the note's link offers: puts its stand-in in the selected
    // place (true: the editor changed), or opens this computer's local Group
    // Policy in another window of the program, as administrator (Windows
    // asks where it must).
    bool FollowLink(const SlotNote& note);
    // The path a folder place opens, expanded where it is kept unexpanded.
    std::string PathOf(const Place& place);
    // The system image list of a size the shell's icons are in, given to the
    // window's lists when it first comes (and should it change); until
    // Detach.
    void WhenImageListsChange(win::Win32ShellLookups::ImageListChanged show) {
        shell_.SetImageListChanged(std::move(show));
    }
    // Takes in the shell's answers that came (on kShellAnswered), the image
    // lists with the first.
    win::ShellResolver::Arrived TakeShellAnswers();
    // Drives' names and icons, and every other answer, asked again: a medium,
    // a label or a folder may have changed.
    void ForgetShellAnswers() { resolver_.Forget(); }

    // The session is asked whether it may end (log-off, shut-down): what
    // Exit saves is saved now. A save never holds the session; a failed one
    // holds it with the reason, which the system lists among the programs
    // keeping it from ending, unless nothing may (critical).
    bool MayEnd(bool critical);
    // The session ends (true): saved once more, quietly, as the last word.
    // Or it goes on after all (another program refused to end): a failed
    // save that held it is returned, for the window to tell as at Exit.
    std::optional<StoreOutcome> SessionEnds(bool ending);

private:
    // The answers kept: only those about what the slots, their stand-ins
    // and the special folders hold now.
    void KeepAnswersOfTheSlotsOnly();

    std::unique_ptr<EditedSettings> edited_;
    PlacesEditor editor_;
    win::Win32ShellLookups shell_;
    win::ShellResolver resolver_;
    std::unique_ptr<SingleInstance> guard_;
    HWND window_ = nullptr;
    std::optional<StoreOutcome> heldAtEnd_;
    bool typing_ = false;  // the selected slot's text waits for typing to pause  // a failed save that holds the session's end
    const OpenDialog dialog_ = win::RunningUnderWine() ? OpenDialog::Wine : OpenDialog::Windows;
};

}  // namespace quenmar
