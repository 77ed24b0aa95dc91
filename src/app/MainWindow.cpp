#include "app/MainWindow.h"

#include <dbt.h>

#include <algorithm>
#include <set>

#include "app/AboutWindow.h"
#include "app/AppMessages.h"
#include "app/AppTexts.h"
#include "app/Export.h"
#include "app/SaveOutcome.h"
#include "app/ShellOpenLauncher.h"
#include "app/SingleInstance.h"
#include "places/Captions.h"
#include "places/Catalogue.h"
#include "widgets/Application.h"
#include "widgets/FileDialog.h"
#include "widgets/GuideLines.h"
#include "widgets/MessageBoxes.h"
#include "widgets/PopupMenu.h"
#include "widgets/SystemColours.h"
#include "widgets/Resources.h"
#include "win32/WideText.h"

namespace quenmar {

using namespace widgets;

MainWindow::MainWindow(Session& session, std::string helpTarget)
    : Form({.className = L"TfrmQuenmar",
            .clientWidth = 598,
            .clientHeight = 429,
            .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN,
            .icon = ProgramIcon(false),
            .smallIcon = ProgramIcon(true)}),
      session_(session),
      editor_(session.Editor()),
      helpTarget_(std::move(helpTarget)) {
    placesList_.OnSelectionChanged = [this](std::optional<int> slot) { SelectSlot(slot); };
    placesList_.OnDeleteKey = [this] { UnsetSelected(); };
    // Its menu: a policy's set place removed from it.
    placesList_.OnContextMenu = [this](POINT at, bool fromKeyboard) {
        if (editor_.Inputs().unset && ChooseFromMenu(Handle(), at, {TextOf(IDS_UNSET_PLACE)}, fromKeyboard) == 0) {
            UnsetSelected();
        }
    };
    placesList_.OnDblClick = [this] {
        if (editor_.Inputs().changeFolder) PickFolder();
    };
    folderKind_.OnClick = [this] { ChooseKind(PlaceKind::Folder); };
    specialKind_.OnClick = [this] { ChooseKind(PlaceKind::SpecialFolder); };
    pathEdit_.OnChange = [this] { TakeTypedPath(); };
    catalogue_.OnSelectionChanged = [this](std::optional<int> row) { PickCatalogueRow(row); };
    moveUpButton_.OnClick = [this] { MoveSelected(-1); };
    moveDownButton_.OnClick = [this] { MoveSelected(+1); };
    hideBox_.OnClick = [this] { ToggleHidden(); };
    previewButton_.OnClick = [this] { Preview(); };
    restoreButton_.OnClick = [this] { RestoreDefaults(); };
    exitButton_.OnClick = [this] { Close(); };
    aboutButton_.OnClick = logo_.OnClick = [this] { ShowAboutWindow(Handle()); };
    banner_.OnClick = [this] { OpenDocument(helpTarget_, Handle()); };
    browseButton_.OnClick = changeFolderButton_.OnClick = [this] { PickFolder(); };
    noteRow_.OnFollowLink = [this](const SlotNote& note) {
        if (session_.FollowLink(note)) ShowState();
    };
    noteRow_.OnUnset = [this] { UnsetSelected(); };
    folderPicker_.Options.createDeleteButtons = true;

    CreateHandle();
    CenterOnScreen();
    session_.Attach(Handle());
}

MainWindow::~MainWindow() {
    // Destroyed while this object is whole, so that its steps find it.
    if (Handle()) DestroyWindow(Handle());
}

// The inputs and buttons, created in tab order.
void MainWindow::CreateInputs() {
    for (Control* framed : std::initializer_list<Control*>{&placesList_, &catalogue_, &pathEdit_}) MakeFlatFrame(*framed);
    placesList_.SetAccessibleName(TextOf(IDS_PLACES), true);
    pathEdit_.SetAccessibleName(TextOf(IDS_FOLDER_PATH), false);
    catalogue_.SetAccessibleName(TextOf(IDS_SPECIAL_FOLDERS), true);
    placesList_.Create(*this, {8, 8, 81, 385}, Anchor::Left | Anchor::Top | Anchor::Bottom,
                       LVS_ICON | LVS_AUTOARRANGE | LVS_ALIGNTOP | LVS_NOCOLUMNHEADER | LVS_NOSCROLL);
    folderKind_.Create(*this, TextOf(IDS_USE_FOLDER), {100, 60, 297, 17}, Anchor::Left | Anchor::Top, true);
    specialKind_.Create(*this, TextOf(IDS_USE_SPECIAL), {100, 140, 297, 17}, Anchor::Left | Anchor::Top);
    specialKind_.JoinGroupOf(folderKind_);
    pathEdit_.Create(*this, {120, 80, 373, 21}, Anchor::Left | Anchor::Top | Anchor::Right, false);
    pathEdit_.KeepOrientation();  // a path reads from left to right in any language
    pathEdit_.CompleteFolders();
    pathEdit_.SetEnterMovesOn(true);
    browseButton_.SetHint(TextOf(IDS_BROWSE_HINT));
    browseButton_.Create(*this, TextOf(IDS_BROWSE), {500, 78, 90, 25}, Anchor::Top | Anchor::Right);
    noteRow_.CreateLinks(*this);
    catalogue_.Create(*this, {120, 160, 333, 233}, Anchor::Left | Anchor::Top | Anchor::Right | Anchor::Bottom,
                      LVS_REPORT | LVS_NOCOLUMNHEADER);
    catalogue_.AddColumn(312);
    // Filled and selected with their layout held until the window is shown:
    // a list lays itself out again at every item otherwise.
    placesList_.SetRedraw(false);
    catalogue_.SetRedraw(false);
    previewButton_.Create(*this, TextOf(IDS_PREVIEW), {461, 160, 129, 25}, Anchor::Top | Anchor::Right);
    restoreButton_.Create(*this, TextOf(IDS_RESTORE), {461, 192, 129, 25}, Anchor::Top | Anchor::Right);
    exitButton_.Create(*this, TextOf(IDS_EXIT), {461, 396, 129, 25}, Anchor::Right | Anchor::Bottom);
    moveUpButton_.SetHint(TextOf(IDS_MOVE_UP_HINT));
    moveUpButton_.Create(*this, TextOf(IDS_MOVE_UP), {8, 396, 25, 25}, Anchor::Left | Anchor::Bottom);
    moveDownButton_.SetHint(TextOf(IDS_MOVE_DOWN_HINT));
    moveDownButton_.Create(*this, TextOf(IDS_MOVE_DOWN), {36, 396, 25, 25}, Anchor::Left | Anchor::Bottom);
    changeFolderButton_.SetHint(TextOf(IDS_CHANGE_FOLDER_HINT));
    changeFolderButton_.Create(*this, TextOf(IDS_CHANGE_FOLDER), {64, 396, 25, 25}, Anchor::Left | Anchor::Bottom);
    aboutButton_.Create(*this, TextOf(IDS_ABOUT), {461, 224, 129, 25}, Anchor::Top | Anchor::Right);
    hideBox_.Create(*this, TextOf(IDS_HIDE), {100, 404, 250, 17}, Anchor::Left | Anchor::Bottom);
}

// The title, pictures and hint, after the tab order's stops; the banner is a
// stop of its own, the last, for its web site.
void MainWindow::CreatePictures() {
    title_.Create(*this, kApplicationTitle, {100, 4, 221, 49}, Anchor::Left | Anchor::Top, SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX);
    banner_.Create(*this, {370, 6, 220, 45}, Anchor::Top | Anchor::Right);
    noteRow_.CreateTexts(*this);
    logo_.Create(*this, {490, 284, 72, 72}, Anchor::Top | Anchor::Right);
    LoadPictures();
    for (FlatButton* button : {&moveUpButton_, &moveDownButton_, &changeFolderButton_}) button->SetGlyphOnly(true);
    logo_.SetCursor(LoadCursor(nullptr, IDC_HAND));
}

void MainWindow::Created() {
    CreateInputs();
    CreatePictures();

    const HFONT bold = MakeFont(-11, true);
    for (Control* option : std::initializer_list<Control*>{&folderKind_, &specialKind_, &hideBox_}) option->SetFont(bold);
    title_.SetFont(MakeFont(-19));
    FitToTexts();
    SetCancelButton(&exitButton_);

    // The places show copies of the shell's icons, marked or not; the
    // special folders its small icons, in a list of their size until the
    // system's comes: the rows are laid out for their images once.
    placeIcons_.Create(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    smallIcons_.CreateOwn(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    placesList_.SetImageList(placeIcons_.List(), LVSIL_NORMAL);
    catalogue_.SetImageList(smallIcons_, LVSIL_SMALL);
    for (int n = 0; n < kSlotCount; ++n) placesList_.AddItem(TextOf(IDS_NO_PLACE), kNoIcon);
    // Their icons come with the shell's answers.
    for (const SpecialFolder& row : kSpecialFolders) catalogue_.AddItem(TextOf(row.nameText), kNoIcon);

    // A policy's hide setting may be not configured: the box's third state.
    if (editor_.IsPolicy()) hideBox_.AllowIndeterminate();

    Application::Instance().SetTitle(kApplicationTitle);
    const std::string caption = TextOf(IDS_CAPTION, {Application::Instance().Title(), kVersion});
    SetCaption(session_.Edited().Title(caption));
    AddSystemCommands(ExportCommands());

    session_.WhenImageListsChange([this](IconSize size, HIMAGELIST list) {
        if (size == IconSize::Small) return smallIcons_.Adopt(list);
        placeIcons_.CopyFrom(list);
        shownSlots_.fill(std::nullopt);  // their icons copied from this list
    });
    dropTarget_ = std::make_unique<ShellDropTarget>(this);
    dropTarget_->OnDrop = [this](const DroppedName& name) { TakeDroppedName(name); };
    dropTarget_->OnSkipped = [this](const SkippedNames&) { TellDropTooLong(); };
}

void MainWindow::ScaleChanged() {
    LoadPictures();
    FitToTexts();
    ShowLeftOut();
}

// Texts longer than the design's, as a translation's may be, move the
// design's lines: the places' column is as wide as a special folder's name
// needs in two lines (into the gap on its right first, then moving what is
// right of it); the buttons' column as wide as its widest caption, growing
// the window; the options grow to the right as far as the buttons' right
// edge, the hide box as far as their left; Browse grows to the left into
// its path box; the lists keep their designed room. With texts that fit,
// the layout stays as designed. Runs with the controls at their designed
// places for the window's scale (made, or moved to a new scale).
void MainWindow::FitToTexts() {
    // Each place as wide as a special folder's name needs (the list wraps a
    // caption 12 pixels inside its item, and a pixel or two to spare), and
    // as high as its icon and two lines of caption.
    const int itemSpacing =
        std::max(Scale(75), PlaceNamesWidth([this](const auto& texts) { return placesList_.TextWidths(texts); }) + 12 + Scale(2));
    const int itemHeight = std::max<int>(ScaledMetric(SM_CYICONSPACING),
                                         GetSystemMetrics(SM_CYICON) + 2 * placesList_.TextExtent("Ag").cy + Scale(6));
    const int columnNeeds = std::max({previewButton_.NeededWidth(), restoreButton_.NeededWidth(),
                                      aboutButton_.NeededWidth(), exitButton_.NeededWidth()});

    // The lines at the designed edges: the places' column, the options'
    // left edge, the buttons' column and the window's right edge.
    const RECT places = DesignRect(placesList_), column = DesignRect(previewButton_);
    const int contentLeft = DesignRect(folderKind_).left;
    GuideLines lines(*this);
    const int margin = lines.Line(places.left), placesRight = lines.Line(places.right);
    const int content = lines.Line(contentLeft);
    const int columnLeft = lines.Line(column.left), columnRight = lines.Line(column.right);
    const int right = lines.Line(DesignWidth());
    const int browseLeft = lines.LineLeftOf(columnRight, DesignRect(browseButton_).right - DesignRect(browseButton_).left,
                                            browseButton_.NeededWidth());
    lines.Apart(margin, placesRight, std::max<int>(places.right - places.left, itemSpacing + 2 * GetSystemMetrics(SM_CXBORDER)));
    lines.Apart(placesRight, content, contentLeft - places.right - Scale(5));
    lines.Apart(content, columnLeft, std::max<int>(column.left - contentLeft, hideBox_.NeededWidth() + Scale(8)));
    lines.Apart(columnLeft, columnRight, std::max<int>(column.right - column.left, columnNeeds));
    lines.Apart(content, columnRight, std::max(folderKind_.NeededWidth(), specialKind_.NeededWidth()));
    lines.Apart(columnRight, right, DesignWidth() - column.right);
    lines.Solve();

    placesList_.SetIconSpacing(itemSpacing, itemHeight);
    lines.Place(placesList_, margin, placesRight);
    lines.Place(title_, content, content);
    for (Control* control : noteRow_.Controls()) lines.Place(*control, content, content);
    lines.PlaceGrowingRight(folderKind_, content, content, columnRight, 0);
    lines.PlaceGrowingRight(specialKind_, content, content, columnRight, 0);
    lines.PlaceGrowingRight(hideBox_, content, content, columnLeft, Scale(8));
    lines.Place(pathEdit_, content, browseLeft);
    lines.Place(browseButton_, browseLeft, columnRight);
    lines.Place(catalogue_, content, columnLeft);
    for (Control* button : std::initializer_list<Control*>{&previewButton_, &restoreButton_, &aboutButton_, &exitButton_}) {
        lines.Place(*button, columnLeft, columnRight);
    }
    lines.Place(banner_, columnRight, columnRight);
    lines.PlaceCentred(logo_, columnLeft, columnRight);
    noteRow_.FitWidths(lines.At(columnRight));  // as far as the buttons' right edge
    // The window as wide as the lines need; its anchoring starts from here.
    WidenDesign(lines.Moved(right), true);
}

// The banner in the colours of now.
void MainWindow::ColoursChanged() { ShowBanner(); }

void MainWindow::ShowBanner() {
    // Editing a Group Policy, the banner says so.
    banner_.Show(widgets::CurrentPalette(), kApplicationTitle, session_.Edited().Tagline());
}

// The pictures and glyphs drawn for the window's scale.
void MainWindow::LoadPictures() {
    ShowBanner();
    noteRow_.LoadPicture(Dpi());
    logo_.SetBitmap(LoadPicture(L"LOGO72", Dpi()));
    win::UniqueImageList glyphs(LoadGlyphs(L"GLYPHS", Dpi()));
    int glyph = 0;
    for (FlatButton* button : {&browseButton_, &previewButton_, &restoreButton_, &aboutButton_, &moveUpButton_,
                               &moveDownButton_, &changeFolderButton_}) {
        button->SetGlyph(glyphs.get(), glyph++);
    }
    glyphs_ = std::move(glyphs);
}

// The session's steps ------------------------------------------------------------

void MainWindow::Showing() {
    // However loading ends, the lists lay themselves out and are drawn.
    const win::ScopeExit layOut([this] {
        placesList_.SetRedraw(true);
        catalogue_.SetRedraw(true);
    });
    unreadableAtLoad_ = session_.Load();  // told once the window is drawn
    ShowState();
}

// On screen: the shell is asked about the places once every control is
// drawn, on the pool's threads, and the window goes on taking the user's
// input meanwhile.
void MainWindow::Shown() {
    SetTimer(Handle(), kDrawnTimer, USER_TIMER_MINIMUM, nullptr);
    const SIZE size = OuterSize();  // never smaller than as it first shows
    SetMinTrackSize(size.cx, size.cy);
}

void MainWindow::TakeStoredChanges() {
    const std::vector<std::string> unreadable = editor_.TakeStoredChanges();
    ShowState();
    if (!unreadable.empty()) Tell(PlacesStore::ReplacedValuesMessage(unreadable), MB_ICONWARNING);
}

void MainWindow::ShowIcons(bool catalogueToo) {
    ShowSlots();
    const Session::CatalogueRows rows = catalogueToo ? session_.Catalogue() : Session::CatalogueRows{};
    for (size_t row = 0; catalogueToo && row < kSpecialFolders.size(); ++row) {
        const int index = static_cast<int>(row);
        if (shownCatalogue_[row] != rows.names[row]) catalogue_.SetItemText(index, shownCatalogue_[row] = rows.names[row]);
        if (catalogue_.ItemImage(index) != rows.icons[row]) catalogue_.SetItemImage(index, rows.icons[row]);
    }
    ShowLeftOut();
}

// Back from elsewhere: a drive's medium or label may have changed.
void MainWindow::Activated() {
    if (std::exchange(activatedOnce_, true)) AskTheShellAgain();
}

bool MainWindow::Closing() { return TellSaveOutcome(Handle(), editor_.Save(), SaveFor::Closing); }

void MainWindow::Destroying() {
    // The drop target gives the window its procedure back while the window
    // still exists; the watch stops telling it.
    dropTarget_.reset();
    session_.Detach();
}

void MainWindow::TakeShellAnswers() {
    // The special-folder list only for answers about special folders: an
    // edited path is answered about many times a session.
    if (const auto arrived = session_.TakeShellAnswers(); arrived.some) ShowIcons(arrived.aboutSpecialFolders);
}

void MainWindow::AskTheShellAgain() {
    session_.ForgetShellAnswers();
    ShowSlots();
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ComeForwardMessage()) {
        ComeForward(Handle());  // another start of the program, which has ended
        return 0;
    }
    switch (message) {
    case WM_DEVICECHANGE:
        if (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) AskTheShellAgain();
        break;
    case WM_QUERYENDSESSION: return session_.MayEnd((lParam & ENDSESSION_CRITICAL) != 0) ? TRUE : FALSE;
    case WM_ENDSESSION:
        if (const std::optional<StoreOutcome> held = session_.SessionEnds(wParam != 0)) {
            TellSaveOutcome(Handle(), *held, SaveFor::SessionContinuing);
        }
        return 0;
    case kStoredSettingsChanged: TakeStoredChanges(); return 0;
    case kShellAnswered: TakeShellAnswers(); return 0;
    case WM_TIMER:
        if (wParam == kDrawnTimer) {
            // The shell's many threads would take the machine's time from
            // the window's first drawing.
            KillTimer(Handle(), kDrawnTimer);
            ShowIcons();  // the special folders' questions join the places'
            session_.StartAskingTheShellAndWatching();
            if (unreadableAtLoad_) Tell(*std::exchange(unreadableAtLoad_, std::nullopt), MB_ICONWARNING);
            return 0;
        }
        if (wParam != kTypingPausedTimer) break;
        session_.TypingPaused();
        ShowState();
        return 0;
    case WM_SYSCOMMAND:
        if (RunExportCommand(Handle(), static_cast<UINT>(wParam), editor_, session_.Edited().GpoGuid())) return 0;
        break;
    default: break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

// The view ---------------------------------------------------------------------

void MainWindow::ShowSlot(int index) {
    const Place& place = editor_.Slot(index);
    SlotDisplay display = session_.SlotShown(index);
    std::optional<SlotDisplay>& shown = shownSlots_[static_cast<size_t>(index)];
    // An icon view arranges itself again at every change: change only what differs.
    if (!shown || shown->caption != display.caption) placesList_.SetItemText(index, display.caption);
    if (!shown || shown->icon != display.icon || shown->leftOut != display.leftOut) {
        placesList_.SetItemImage(index, placeIcons_.CopyOf(display.icon, display.leftOut != LeftOut::No));
    }
    if (!shown || shown->leftOut != display.leftOut || shown->caption != display.caption) {
        placesList_.SetAccessibleDescription(place.set ? LeftOutText(display.leftOut) : TextOf(IDS_NOT_SET_DESCRIPTION), index);
    }
    shown = std::move(display);
}

void MainWindow::ShowSlots() {
    if (!editor_.Loaded()) return;
    for (int n = 0; n < kSlotCount; ++n) ShowSlot(n);
}

void MainWindow::ShowState() {
    if (!editor_.Loaded()) return;
    ShowSlots();

    placesList_.ShowSelected(editor_.Selected());

    (editor_.ShownKind() == PlaceKind::Folder ? folderKind_ : specialKind_).SetChecked(true);
    const Place* place = editor_.SelectedPlace();
    const std::string path = place && place->isFolder ? place->path : "";
    // What the user is typing stays as typed (its caret and its undo), blanks
    // around it included, while it says what the slot holds.
    if (!pathEdit_.Focused() || !editor_.SaysTheSelectedPath(pathEdit_.Text())) pathEdit_.SetText(path);
    catalogue_.ShowSelected(place && !place->isFolder ? CatalogueRow(place->csidl) : std::nullopt);
    const HideFlag hide = editor_.HideSetting();
    hideBox_.SetState(hide == HideFlag::Hide     ? CheckBox::State::Checked
                      : hide == HideFlag::NotSet ? CheckBox::State::Indeterminate
                                                 : CheckBox::State::Unchecked);
    if (editor_.IsPolicy()) hideBox_.SetAccessibleDescription(hide == HideFlag::NotSet ? TextOf(IDS_HIDE_NOT_CONFIGURED) : "");
    ShowLeftOut();

    const UsableInputs usable = editor_.Inputs();
    noteRow_.ShowUnset(usable.unset);
    if (shownInputs_ == usable) return;
    shownInputs_ = usable;
    placesList_.SetEnabled(usable.places);
    folderKind_.SetEnabled(usable.kinds);
    specialKind_.SetEnabled(usable.kinds);
    pathEdit_.SetEnabled(usable.path);
    browseButton_.SetEnabled(usable.browse);
    catalogue_.SetEnabled(usable.catalogue);
    moveUpButton_.SetEnabled(usable.moveUp);
    moveDownButton_.SetEnabled(usable.moveDown);
    changeFolderButton_.SetEnabled(usable.changeFolder);
}

// What the window says of the selected slot, in the drop hint's place.
void MainWindow::ShowLeftOut() {
    const std::optional<int> selected = editor_.Selected();
    const SlotNote note = session_.NoteOf(selected ? shownSlots_[static_cast<size_t>(*selected)] : std::nullopt);
    // A screen reader hears a place's note on the path box (and on the place).
    if (noteRow_.Show(note, browseButton_.Rect().right)) pathEdit_.SetAccessibleDescription(note.aboutThePlace ? note.text : "");
}

void MainWindow::Tell(const std::string& text, UINT icon) { ShowMessage(Handle(), text, kApplicationTitle, icon); }

// Editing --------------------------------------------------------------------

void MainWindow::SelectSlot(std::optional<int> slot) {
    editor_.Select(slot);
    ShowState();
}

void MainWindow::ChooseKind(PlaceKind kind) {
    editor_.SetKind(kind);
    ShowState();
}

void MainWindow::TakeTypedPath() {
    editor_.SetPath(pathEdit_.Text());
    session_.Typed();
    ShowState();
}

void MainWindow::PickCatalogueRow(std::optional<int> row) {
    // A row says what the slot is; none (a click beside the rows) changes
    // nothing, and the slot's row is shown selected again.
    if (row && *row < static_cast<int>(kSpecialFolders.size())) {
        editor_.PickSpecialFolder(kSpecialFolders[static_cast<size_t>(*row)].csidl);
    }
    ShowState();
}

void MainWindow::MoveSelected(int delta) {
    const bool pressedHadFocus = GetFocus() == (delta < 0 ? moveUpButton_ : moveDownButton_).Handle();
    if (delta < 0 ? editor_.MoveUp() : editor_.MoveDown()) ShowState();
    // At the top or the bottom the pressed button is disabled: the keyboard
    // stays with the moves, on the other button.
    const UsableInputs usable = editor_.Inputs();
    const bool pressedUsable = delta < 0 ? usable.moveUp : usable.moveDown;
    const bool otherUsable = delta < 0 ? usable.moveDown : usable.moveUp;
    if (pressedHadFocus && !pressedUsable && otherUsable) SetFocus((delta < 0 ? moveDownButton_ : moveUpButton_).Handle());
}

void MainWindow::ToggleHidden() {
    editor_.NextHideSetting();
    ShowState();
}

void MainWindow::UnsetSelected() {
    if (editor_.Unset()) ShowState();
}

// The folder picker, opened on the selected folder slot's path.
void MainWindow::PickFolder() {
    const Place* place = editor_.SelectedPlace();
    if (!place) return;
    folderPicker_.Title = TextOf(IDS_PICKER_TITLE);
    folderPicker_.SetChosenPath(place->isFolder ? session_.PathOf(*place) : "");
    if (!folderPicker_.Run(Handle())) return;
    const std::string path = folderPicker_.ChosenPath();
    if (path.empty()) return Tell(TextOf(IDS_NOT_A_FOLDER), MB_ICONINFORMATION);
    editor_.SetPickedFolder(path);
    ShowState();
}

void MainWindow::TakeDroppedName(const DroppedName& name) {
    if (editor_.DropName(name.fullName, name.found)) ShowState();
}

void MainWindow::TellDropTooLong() {
    if (editor_.TakesDrops()) Tell(TextOf(IDS_DROP_TOO_LONG), MB_ICONINFORMATION);
}

// Preview, restore and export --------------------------------------------------

void MainWindow::Preview() {
    if (!session_.Edited().PreviewRuns()) return Tell(TextOf(IDS_PREVIEW_POLICY_OFF), MB_ICONINFORMATION);
    const PlacesEditor::Preview preview = editor_.PreparePreview();
    if (!TellSaveOutcome(Handle(), preview.saved, SaveFor::Preview)) return;
    ShowOpenDialog(Handle(),
                   {TextOf(IDS_PREVIEW_FILTER), TextOf(preview.noPlacesBar ? IDS_PREVIEW_FILE_HIDDEN : IDS_PREVIEW_FILE),
                    TextOf(IDS_PREVIEW_TITLE)},
                   !preview.noPlacesBar);
}

void MainWindow::RestoreDefaults() {
    if (!AskYesNo(Handle(), TextOf(IDS_RESTORE_QUESTION), TextOf(IDS_CONFIRM))) return;
    const StoreOutcome removed = editor_.RestoreDefaults();
    ShowState();
    TellSaveOutcome(Handle(), removed, SaveFor::Restore);
}

}  // namespace quenmar
