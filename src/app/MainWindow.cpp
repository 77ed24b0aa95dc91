#include "app/MainWindow.h"

#include <commdlg.h>
#include <dbt.h>

#include <algorithm>
#include <set>

#include "app/AboutWindow.h"
#include "app/AppMessages.h"
#include "app/AppTexts.h"
#include "app/Export.h"
#include "app/ShellOpenLauncher.h"
#include "app/SingleInstance.h"
#include "places/Captions.h"
#include "places/Catalogue.h"
#include "places/PathText.h"
#include "widgets/Application.h"
#include "widgets/FileDialog.h"
#include "widgets/GuideLines.h"
#include "widgets/MessageBoxes.h"
#include "widgets/SystemColours.h"
#include "widgets/Resources.h"
#include "win32/Clipboard.h"
#include "win32/ReplaceFile.h"
#include "win32/WideText.h"

namespace quenmar {

using namespace widgets;

namespace {

// The program's icon at the system's large or small icon size.
HICON ProgramIcon(bool small) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                         GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON),
                                         GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON), LR_SHARED));
}

// A copy of an icon of the list with the system's warning sign at half its
// size in its lower left corner, added to the list (the system image list
// is this process's own copy): the icon of a place the Open dialog will
// leave out. The icon's own index when it cannot be made.
int AddMarkedIcon(HIMAGELIST list, int icon) {
    int width = 0, height = 0;
    if (!list || icon < 0 || !ImageList_GetIconSize(list, &width, &height)) return icon;
    const win::UniqueIcon base(ImageList_GetIcon(list, icon, ILD_NORMAL));
    const auto sign = static_cast<HICON>(LoadImageW(nullptr, IDI_WARNING, IMAGE_ICON, width / 2, height / 2, LR_SHARED));
    if (!base || !sign) return icon;
    const win::WindowDC screen(nullptr);
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    const win::UniqueGdiObject picture(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture) return icon;
    {
        const win::UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
        const win::SelectedObject onPicture(dc.get(), picture.get());
        // The icon as it is, its alpha with it; the sign blended over it.
        DrawIconEx(dc.get(), 0, 0, base.get(), width, height, 0, nullptr, DI_NORMAL);
        DrawIconEx(dc.get(), 0, height - height / 2, sign, width / 2, height / 2, 0, nullptr, DI_NORMAL);
    }
    GdiFlush();
    const int marked = ImageList_Add(list, static_cast<HBITMAP>(picture.get()), nullptr);
    return marked >= 0 ? marked : icon;
}

// The preview dialog's hook: it only makes the dialog the classic Explorer
// style, the one that shows a Places Bar.
UINT_PTR CALLBACK PreviewHook(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace

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
    aboutButton_.OnClick = [this] { ShowAboutWindow(Handle()); };
    logo_.OnClick = [this] { ShowAboutWindow(Handle()); };
    banner_.OnClick = [this] { OpenDocument(helpTarget_, Handle()); };
    browseButton_.OnClick = [this] { PickFolder(); };
    changeFolderButton_.OnClick = [this] { PickFolder(); };
    folderPicker_.Options.createDeleteButtons = true;
    folderPicker_.Icon = ProgramIcon(false);
    folderPicker_.SmallIcon = ProgramIcon(true);

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
    MakeFlatFrame(placesList_);
    MakeFlatFrame(catalogue_);
    MakeFlatFrame(pathEdit_);
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
    // Shown under the note on a place the Open dialog will leave out, where
    // a special folder can stand in for it.
    mendLink_.Create(*this, "", {140, 123, 386, 13}, Anchor::Left | Anchor::Top | Anchor::Right);
    mendLink_.OnOpen = [this] {
        UseMend();
        return false;  // an action, never shown as visited
    };
    mendLink_.SetVisible(false);
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
    title_.Create(*this, "", {100, 4, 221, 49}, Anchor::Left | Anchor::Top, SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX);
    banner_.Create(*this, {370, 6, 220, 45}, Anchor::Top | Anchor::Right);
    banner_.MakeTabStop();
    dropHintIcon_.Create(*this, {116, 108, 16, 16}, Anchor::Left | Anchor::Top);
    dropHint_.Create(*this, TextOf(IDS_DROP_HINT), {140, 108, 386, 13}, Anchor::Left | Anchor::Top | Anchor::Right,
                     SS_LEFT | SS_NOPREFIX);
    leftOutNote_.Create(*this, "", {140, 108, 386, 13}, Anchor::Left | Anchor::Top | Anchor::Right,
                        SS_LEFT | SS_NOPREFIX);
    leftOutNote_.SetVisible(false);
    logo_.Create(*this, {490, 284, 72, 72}, Anchor::Top | Anchor::Right);
    LoadPictures();
    for (FlatButton* button : {&moveUpButton_, &moveDownButton_, &changeFolderButton_}) button->SetGlyphOnly(true);
    const HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    banner_.SetCursor(hand);
    logo_.SetCursor(hand);
}

void MainWindow::Created() {
    CreateInputs();
    CreatePictures();

    const HFONT bold = MakeFont(-11, true);
    for (Control* option : std::initializer_list<Control*>{&folderKind_, &specialKind_, &hideBox_}) option->SetFont(bold);
    title_.SetFont(MakeFont(-19));
    FitToTexts();
    SetCancelButton(&exitButton_);

    // Sized as the system's lists they stand in for until its icons come:
    // the lists' rows are laid out for their images once, at the right size.
    largeIcons_.CreateOwn(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    smallIcons_.CreateOwn(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    placesList_.SetImageList(largeIcons_, LVSIL_NORMAL);
    catalogue_.SetImageList(smallIcons_, LVSIL_SMALL);
    for (int n = 0; n < kSlotCount; ++n) placesList_.AddItem(TextOf(IDS_NO_PLACE), kNoIcon);
    // Their icons come with the shell's answers.
    for (const SpecialFolder& row : kSpecialFolders) catalogue_.AddItem(TextOf(row.nameText), kNoIcon);

    moveUpButton_.SetEnabled(false);
    moveDownButton_.SetEnabled(false);
    changeFolderButton_.SetEnabled(false);

    Application::Instance().SetTitle(kApplicationTitle);
    const std::string caption = TextOf(IDS_CAPTION, {Application::Instance().Title(), kVersion});
    SetCaption(session_.Policy() ? caption + " - " + session_.Policy()->description : caption);
    title_.SetText(kApplicationTitle);
    const HMENU systemMenu = GetSystemMenu(Handle(), FALSE);
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, kExportSettingsCommand, win::Wide(TextOf(IDS_EXPORT_SETTINGS)).c_str());
    AppendMenuW(systemMenu, MF_STRING, kCopyForPreferencesCommand, win::Wide(TextOf(IDS_COPY_FOR_PREFERENCES)).c_str());

    session_.WhenImageListsChange([this](IconSize size, HIMAGELIST list) {
        (size == IconSize::Large ? largeIcons_ : smallIcons_).Adopt(list);
    });
    dropTarget_ = std::make_unique<ShellDropTarget>(this);
    dropTarget_->OnDrop = [this](const DroppedName& name) { TakeDroppedName(name.fullName); };
    dropTarget_->OnSkipped = [this](const SkippedNames&) { TellDropTooLong(); };
}

void MainWindow::ScaleChanged() {
    shownLeftOut_.reset();  // laid out again for the scale
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
    int columnNeeds = 0;
    for (const Control* button : {&previewButton_, &restoreButton_, &aboutButton_, &exitButton_}) {
        columnNeeds = std::max(columnNeeds, button->NeededWidth());
    }

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

    const auto spacing = static_cast<DWORD>(SendMessageW(placesList_.Handle(), LVM_GETITEMSPACING, FALSE, 0));
    if (LOWORD(spacing) != itemSpacing || HIWORD(spacing) != itemHeight) {
        SendMessageW(placesList_.Handle(), LVM_SETICONSPACING, 0, MAKELPARAM(itemSpacing, itemHeight));
    }
    lines.Place(placesList_, margin, placesRight);
    for (Control* control :
         std::initializer_list<Control*>{&title_, &dropHintIcon_, &dropHint_, &leftOutNote_, &mendLink_}) {
        lines.Place(*control, content, content);
    }
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
    // The logo in the middle of the buttons' column.
    RECT logo = DesignRect(logo_);
    const int logoLeft = lines.At(columnLeft) + (lines.At(columnRight) - lines.At(columnLeft) - (logo.right - logo.left)) / 2;
    OffsetRect(&logo, logoLeft - logo.left, 0);
    if (lines.Moved(columnLeft) || lines.Moved(columnRight)) logo_.Move(logo);
    dropHint_.FitWidthToText(lines.At(columnRight));  // as far as the buttons' right edge
    // The window as wide as the lines need; its anchoring starts from here.
    WidenDesign(lines.Moved(right), true);
}

// The banner in the colours of now.
void MainWindow::ColoursChanged() { ShowBanner(); }

void MainWindow::ShowBanner() {
    // Editing a Group Policy, the banner says which.
    const std::string tagline = session_.Policy() ? session_.Policy()->description : TextOf(IDS_TAGLINE);
    banner_.Show(Dpi(), Font(), widgets::CurrentPalette(), kApplicationTitle, tagline);
}

// The pictures and glyphs drawn for the window's scale.
void MainWindow::LoadPictures() {
    ShowBanner();
    dropHintIcon_.SetBitmap(LoadPicture(L"HINT", Dpi()));
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
    unreadableAtLoad_ = session_.Load();
    if (unreadableAtLoad_) PostMessageW(Handle(), kTellUnreadableMessage, 0, 0);  // told once the window is on screen
    ShowState();
}

// On screen: the shell is asked about the places once every control is
// drawn, on the pool's threads, and the window goes on taking the user's
// input meanwhile.
void MainWindow::Shown() { SetTimer(Handle(), kDrawnTimer, USER_TIMER_MINIMUM, nullptr); }

void MainWindow::TakeStoredChanges() {
    const std::vector<std::string> unreadable = editor_.TakeStoredChanges();
    ShowState();
    if (!unreadable.empty()) Tell(PlacesStore::ReplacedValuesMessage(unreadable), MB_ICONWARNING);
}

void MainWindow::ShowIcons() {
    ShowSlots();
    const Session::CatalogueRows rows = session_.Catalogue();
    for (size_t row = 0; row < kSpecialFolders.size(); ++row) {
        const int index = static_cast<int>(row);
        if (shownCatalogue_[row] != rows.names[row]) catalogue_.SetItemText(index, shownCatalogue_[row] = rows.names[row]);
        if (catalogue_.ItemImage(index) != rows.icons[row]) catalogue_.SetItemImage(index, rows.icons[row]);
    }
    ShowLeftOut();
}

void MainWindow::Activated() {
    if (activatedOnce_) {
        // Back from elsewhere: a drive's medium or label may have changed.
        ShowDrivesAgain();
        return;
    }
    activatedOnce_ = true;
    const SIZE size = OuterSize();
    SetMinTrackSize(size.cx, size.cy);
}

bool MainWindow::Closing() { return ReportSaveFailure(editor_.Save(), SaveFor::Closing); }

void MainWindow::Destroying() {
    // The drop target gives the window its procedure back while the window
    // still exists; the watch stops telling it.
    dropTarget_.reset();
    session_.Detach();
}

void MainWindow::TakeShellAnswers() {
    const auto arrived = session_.TakeShellAnswers();
    // The special-folder list only for answers about special folders: an
    // edited path is answered about many times a session.
    if (arrived.aboutSpecialFolders) {
        ShowIcons();
    } else if (arrived.some) {
        ShowSlots();
        ShowLeftOut();
    }
}

void MainWindow::ShowDrivesAgain() {
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
        if (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) ShowDrivesAgain();
        break;
    case WM_QUERYENDSESSION: return session_.MayEnd((lParam & ENDSESSION_CRITICAL) != 0) ? TRUE : FALSE;
    case WM_ENDSESSION:
        if (wParam) {
            session_.SaveAtSessionEnd();
        } else if (const std::optional<StoreOutcome> held = session_.SessionContinues()) {
            ReportSaveFailure(*held, SaveFor::SessionContinuing);
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
            session_.LookUpShell();
            return 0;
        }
        if (wParam != kTypingPausedTimer) break;
        KillTimer(Handle(), kTypingPausedTimer);
        typing_ = false;
        session_.KeepAnswersOfTheSlotsOnly();  // not those about the texts typed on the way
        ShowState();
        return 0;
    case kTellUnreadableMessage:
        if (const std::optional<std::string> text = std::exchange(unreadableAtLoad_, std::nullopt)) {
            Tell(*text, MB_ICONWARNING);
        }
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == kExportSettingsCommand) {
            Export();
            return 0;
        }
        if ((wParam & 0xFFF0) == kCopyForPreferencesCommand) {
            // For pasting into the Group Policy Management Console.
            if (editor_.Loaded()) {
                win::CopyTextToClipboard(Handle(), *editor_.ExportFile(ExportFormat::Preferences, PreferenceStampsNow()));
            }
            return 0;
        }
        break;
    default: break;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

// The view ---------------------------------------------------------------------

void MainWindow::ShowSlot(int index) {
    const Place& place = editor_.Slot(index);
    // Text still being typed shows as typed until typing pauses.
    const bool beingTyped = typing_ && editor_.Selected() == index;
    SlotDisplay display = session_.DisplayOf(place, beingTyped);
    std::optional<SlotDisplay>& shown = shownSlots_[static_cast<size_t>(index)];
    // An icon view arranges itself again at every change: change only what differs.
    if (!shown || shown->caption != display.caption) placesList_.SetItemText(index, display.caption);
    if (!shown || shown->icon != display.icon || shown->leftOut != display.leftOut) {
        placesList_.SetItemImage(index, ShownIcon(display));
    }
    if (!shown || shown->leftOut != display.leftOut) {
        placesList_.SetAccessibleDescription(LeftOutText(display.leftOut), index);
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

    const std::optional<int> selected = editor_.Selected();
    if (selected && !placesList_.IsSelected(*selected)) {
        placesList_.SetSelected(*selected, true);
        placesList_.SetFocused(*selected);
    } else if (!selected && placesList_.SelectedIndex() >= 0) {
        placesList_.SetSelected(placesList_.SelectedIndex(), false);
    }

    (editor_.ShownKind() == PlaceKind::Folder ? folderKind_ : specialKind_).SetChecked(true);
    const Place* place = editor_.SelectedPlace();
    const std::string path = place && place->isFolder ? place->path : "";
    // What the user is typing stays as typed (its caret and its undo), blanks
    // around it included, while it says what the slot holds.
    if (!pathEdit_.Focused() || TrimControlsAndBlanks(pathEdit_.Text()) != path) pathEdit_.SetText(path);
    SelectCatalogueRow(place && !place->isFolder ? place->csidl : -1);
    hideBox_.SetChecked(editor_.Hidden());
    ShowLeftOut();

    const UsableInputs usable = editor_.Inputs();
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

// A place's icon as the list shows it: marked when the Open dialog will
// leave the place out.
int MainWindow::ShownIcon(const SlotDisplay& display) {
    if (display.leftOut == LeftOut::No || display.icon == kNoIcon) return display.icon;
    const HIMAGELIST list = largeIcons_.Handle();
    if (list != markedList_) {
        markedIcons_.clear();
        markedList_ = list;
    }
    const auto known = markedIcons_.find(display.icon);
    if (known != markedIcons_.end()) return known->second;
    return markedIcons_[display.icon] = AddMarkedIcon(list, display.icon);
}

// Why the Open dialog will leave the selected place out, in words in the
// drop hint's place, and the special folder that can stand in for it.
void MainWindow::ShowLeftOut() {
    const std::optional<int> selected = editor_.Selected();
    const std::optional<SlotDisplay>& display =
        selected ? shownSlots_[static_cast<size_t>(*selected)] : std::optional<SlotDisplay>();
    std::pair<std::string, std::string> texts;
    const bool placeLeftOut = display && display->leftOut != LeftOut::No;
    if (placeLeftOut) {
        texts.first = LeftOutText(display->leftOut);
        if (const auto* path = display->mend ? std::get_if<std::string>(&*display->mend) : nullptr) {
            texts.second = TextOf(IDS_USE_PATH_INSTEAD, {*path});
        } else if (display->mend) {
            const std::string name = session_.SpecialFolderShownName(std::get<int32_t>(*display->mend));
            texts.second = TextOf(IDS_USE_SPECIAL_INSTEAD, {name});
        }
    } else if (session_.LocalPolicySetsPlaces()) {
        // In the note's place, unless a place's own note needs it.
        texts = {TextOf(IDS_LOCAL_POLICY_SETS_PLACES), TextOf(IDS_EDIT_LOCAL_POLICY)};
    }
    if (shownLeftOut_ == texts) return;
    shownLeftOut_ = texts;
    const bool leftOut = !texts.first.empty();
    dropHint_.SetVisible(!leftOut);
    leftOutNote_.SetVisible(leftOut);
    mendLink_.SetVisible(!texts.second.empty());
    leftOutNote_.SetText(texts.first);
    mendLink_.SetText(texts.second);
    // A screen reader hears a place's note on the path box (and on the place).
    pathEdit_.SetAccessibleDescription(placeLeftOut ? texts.first : "");
    if (!leftOut) return;
    // The note as high as its lines, in the hint's width; the mend under it.
    RECT note = leftOutNote_.Rect();
    const RECT hint = dropHint_.Rect();
    const int width = std::max<int>(hint.right - hint.left, browseButton_.Rect().right - note.left);
    note.right = note.left + width;
    note.bottom = note.top + leftOutNote_.WrappedExtent(texts.first, width).cy;
    leftOutNote_.Move(note);
    if (texts.second.empty()) return;
    const SIZE link = mendLink_.TextExtent(texts.second);
    const RECT mend{note.left, note.bottom + Scale(2), note.left + std::min<int>(width, link.cx + Scale(2)),
                    note.bottom + Scale(2) + link.cy};
    mendLink_.Move(mend);
}

void MainWindow::UseMend() {
    const std::optional<int> selected = editor_.Selected();
    const std::optional<SlotDisplay>& display =
        selected ? shownSlots_[static_cast<size_t>(*selected)] : std::optional<SlotDisplay>();
    if (!display || display->leftOut == LeftOut::No) {
        if (session_.LocalPolicySetsPlaces()) StartProgramAsAdministrator("/policy local");
        return;
    }
    if (!display->mend) return;
    if (const auto* path = std::get_if<std::string>(&*display->mend)) {
        editor_.SetPlainPath(*path);
    } else {
        editor_.PickSpecialFolder(std::get<int32_t>(*display->mend));
    }
    ShowState();
}

// The catalogue's row of a special folder; none for one it does not list.
void MainWindow::SelectCatalogueRow(int32_t csidl) {
    const std::optional<int> row = csidl < 0 ? std::nullopt : CatalogueRow(csidl);
    const int shown = catalogue_.SelectedIndex();
    if (shown == row.value_or(-1)) return;
    if (!row) {
        catalogue_.SetSelected(shown, false);
        return;
    }
    catalogue_.SetSelected(*row, true);
    catalogue_.SetFocused(*row);
    catalogue_.EnsureVisible(*row);
}

void MainWindow::Tell(const std::string& text, UINT icon) { ShowMessage(Handle(), text, kApplicationTitle, icon); }

bool MainWindow::ReportSaveFailure(const StoreOutcome& outcome, SaveFor reason) {
    if (outcome.Done()) return true;
    const std::string text = TextOf(reason == SaveFor::Restore ? IDS_RESTORE_FAILED : IDS_SAVE_FAILED) + "\n\n" +
                             outcome.failure;
    const std::string caption = TextOf(IDS_SAVE_FAILED_CAPTION);
    if (reason == SaveFor::Closing) {
        return AskYesNo(Handle(), text + "\n\n" + TextOf(IDS_CLOSE_UNSAVED), caption, MB_ICONWARNING);
    }
    ShowMessage(Handle(), text, caption, MB_ICONWARNING);
    return false;
}

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
    typing_ = true;
    SetTimer(Handle(), kTypingPausedTimer, kTypingPauseMs, nullptr);
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
    editor_.SetHidden(!editor_.Hidden());
    ShowState();
}

// The folder picker, opened on the selected folder slot's path.
void MainWindow::PickFolder() {
    const Place* place = editor_.SelectedPlace();
    if (!place) return;
    folderPicker_.Title = TextOf(IDS_PICKER_TITLE);
    folderPicker_.SetChosenPath(place->isFolder ? session_.PathOf(*place) : "");
    if (!folderPicker_.Run(Handle())) return;
    const std::string path = folderPicker_.ChosenPath();
    if (path.empty()) {
        Tell(TextOf(IDS_NOT_A_FOLDER), MB_ICONINFORMATION);
        return;
    }
    editor_.SetPickedFolder(path);
    ShowState();
}

void MainWindow::TakeDroppedName(const std::string& name) {
    const DWORD attributes = GetFileAttributesW(win::Wide(name).c_str());
    using Dropped = PlacesEditor::Dropped;
    const Dropped found = attributes == INVALID_FILE_ATTRIBUTES           ? Dropped::Nothing
                          : (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Dropped::Folder
                                                                           : Dropped::File;
    if (editor_.DropName(name, found)) ShowState();
}

void MainWindow::TellDropTooLong() {
    if (editor_.TakesDrops()) Tell(TextOf(IDS_DROP_TOO_LONG), MB_ICONINFORMATION);
}

// Preview, restore and export --------------------------------------------------

void MainWindow::Export() {
    if (!editor_.Loaded()) return;  // nothing to export
    FileDialog dialog(Handle(), TextOf(IDS_EXPORT_FILTER), TextOf(IDS_EXPORT_FILE_NAME), TextOf(IDS_EXPORT_TITLE));
    dialog.record.lpstrDefExt = L"reg";
    dialog.record.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog.record)) {
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) Tell(TextOf(IDS_FILE_NAME_TOO_LONG), MB_ICONWARNING);
        return;
    }
    try {
        const std::string path = win::Utf8(dialog.fileName);
        win::ReplaceFileContents(path, *editor_.ExportFile(ExportFormatFor(path), PreferenceStampsNow()));
    } catch (const win::FileWriteError& error) {
        Tell(error.what(), MB_ICONWARNING);
    }
}

void MainWindow::Preview() {
    // The dialog reads the current user's places: a policy's would need the
    // process's view of the user's registry swapped while the shell's own
    // threads read it too, which cannot be made safe.
    if (session_.Policy()) return Tell(TextOf(IDS_PREVIEW_POLICY_OFF), MB_ICONINFORMATION);
    const PlacesEditor::Preview preview = editor_.PreparePreview();
    if (!ReportSaveFailure(preview.saved, SaveFor::Preview)) return;
    FileDialog dialog(Handle(), TextOf(IDS_PREVIEW_FILTER),
                      TextOf(preview.noPlacesBar ? IDS_PREVIEW_FILE_HIDDEN : IDS_PREVIEW_FILE), TextOf(IDS_PREVIEW_TITLE));
    dialog.record.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_ENABLEHOOK;
    dialog.record.lpfnHook = PreviewHook;
    dialog.record.FlagsEx = preview.noPlacesBar ? OFN_EX_NOPLACESBAR : 0;
    GetOpenFileNameW(&dialog.record);
}

void MainWindow::RestoreDefaults() {
    if (!AskYesNo(Handle(), TextOf(IDS_RESTORE_QUESTION), TextOf(IDS_CONFIRM))) return;
    const StoreOutcome removed = editor_.RestoreDefaults();
    ShowState();
    ReportSaveFailure(removed, SaveFor::Restore);
}

}  // namespace quenmar
