#include "app/QuenmarForm.h"

#include <commdlg.h>
#include <dbt.h>

#include "app/Export.h"
#include "app/MainFormTexts.h"
#include "app/QuenmarAboutForm.h"
#include "places/Captions.h"
#include "places/Catalogue.h"
#include "places/RegistryScript.h"
#include "shellutil/ShellOpenLauncher.h"
#include "widgets/Application.h"
#include "widgets/MessageBoxes.h"
#include "widgets/Resources.h"
#include "win32/ReplaceFile.h"
#include "win32/WideText.h"

namespace quenmar {

using namespace widgets;

namespace {

constexpr UINT kShowWarnings = WM_APP + 1;
constexpr UINT kSlotDeselected = WM_APP + 2;
// The system menu's own command: below the system's range, low four bits clear.
constexpr UINT kExportSettingsCommand = 0x0110;

FormStyle MainFormStyle() {
    FormStyle style;
    style.className = L"TfrmQuenmar";
    style.clientWidth = 598;
    style.clientHeight = 429;
    style.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
    style.backgroundColor = COLOR_WINDOW;
    style.fontFace = L"Tahoma";
    style.fontHeight = -11;
    style.icon = ProgramIcon(false);
    style.smallIcon = ProgramIcon(true);
    return style;
}

// A common file dialog's record: its owner, filter (the first entry chosen),
// file name buffer and title.
OPENFILENAMEW FileDialog(HWND owner, const wchar_t* filter, wchar_t (&fileName)[MAX_PATH], const wchar_t* title) {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = title;
    return dialog;
}

// The preview dialog's hook: it only makes the dialog the classic Explorer
// style, the one that shows a Places Bar.
UINT_PTR CALLBACK PreviewHook(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace

TfrmQuenmar::TfrmQuenmar(RegistryFactory makeRegistry) : Form(MainFormStyle()), makeRegistry_(std::move(makeRegistry)) {
    OnCreate = [this] { FormCreate(); };
    // An error while showing is told, and the window is shown all the same.
    OnShow = [this] { Application::Instance().Guard(Handle(), [this] { FormShow(); }); };
    OnShown = [this] { Application::Instance().Guard(Handle(), [this] { ShowIcons(); }); };
    OnActivate = [this] { FormActivate(); };
    OnClose = [this](bool& canClose) { FormClose(canClose); };
    OnDestroy = [this] { FormDestroy(); };

    lstvwPlaces.OnSelectItem = [this](int item, bool selected) { lstvwPlacesSelectItem(item, selected); };
    optUseFolder.OnClick = [this] { optUseFolderClick(); };
    optUseSpecial.OnClick = [this] { optUseFolderClick(); };
    edtDirectory.OnChange = [this] { edtDirectoryChange(); };
    lstvwSelectFolders.OnSelectItem = [this](int item, bool selected) { lstvwSelectFoldersSelectItem(item, selected); };
    btnMoveUp.OnClick = [this] { btnMoveUpClick(); };
    btnMoveDn.OnClick = [this] { btnMoveDnClick(); };
    chkHidePlacesBar.OnClick = [this] { chkHidePlacesBarClick(); };
    btnpreview.OnClick = [this] { btnpreviewClick(); };
    btnRestore.OnClick = [this] { btnRestoreClick(); };
    btnClose.OnClick = [this] { btnCloseClick(); };
    btnAbout.OnClick = [this] { btnAboutClick(); };
    btnBrowseFolder.OnClick = [this] { btnBrowseFolderClick(); };
    btnChangeFolder.OnClick = [this] { btnChangeFolderClick(); };
    lstvwPlaces.OnDblClick = [this] { lstvwPlacesDblClick(); };
    dlgSelectFolder.Options =
        sfdoCreateDeleteButtons | sfdoContextMenus | sfdoCreateFolderIcon | sfdoDeleteFolderIcon | sfdoShowHidden;
    imgLogo.OnClick = [this] { imgLogoClick(); };
    Image2.OnClick = [this] { Image2Click(); };

    // The catalogue's icons are looked up while the window is being built,
    // shown and drawn; they are put in once it is on screen.
    shell_ = std::make_unique<win::Win32ShellLookups>();
    std::vector<int32_t> catalogue;
    for (const SpecialFolder& row : kSpecialFolders) catalogue.push_back(row.csidl);
    shell_->Prefetch(std::move(catalogue));
    shell_->HoldIcons();

    CreateHandle();
    CenterOnScreen();
}

TfrmQuenmar::~TfrmQuenmar() {
    // Destroyed while this object is whole, so that its events find it.
    if (Handle()) DestroyWindow(Handle());
}

// The inputs and buttons, created in tab order.
void TfrmQuenmar::CreateInputs() {
    MakeFlatFrame(lstvwPlaces);
    MakeFlatFrame(lstvwSelectFolders);
    MakeFlatFrame(edtDirectory);
    lstvwPlaces.Create(*this, {8, 8, 81, 385}, akLeft | akTop | akBottom, LVS_ICON | LVS_AUTOARRANGE | LVS_ALIGNTOP |
                                                                              LVS_NOCOLUMNHEADER | LVS_NOSCROLL);
    optUseFolder.Create(*this, LoadText(IDS_USE_FOLDER), {100, 60, 297, 17}, akLeft | akTop, true);
    optUseSpecial.Create(*this, LoadText(IDS_USE_SPECIAL), {100, 140, 297, 17}, akLeft | akTop);
    edtDirectory.Create(*this, {120, 80, 373, 21}, akLeft | akTop | akRight, true);
    btnBrowseFolder.SetHint(LoadText(IDS_BROWSE_HINT));
    btnBrowseFolder.Create(*this, LoadText(IDS_BROWSE), {500, 78, 90, 25}, akTop | akRight);
    lstvwSelectFolders.Create(*this, {120, 160, 333, 233}, akLeft | akTop | akRight | akBottom,
                              LVS_REPORT | LVS_NOCOLUMNHEADER);
    lstvwSelectFolders.AddColumn(312);
    lstvwPlaces.SetAccessibleName(LoadText(IDS_PLACES), true);
    edtDirectory.SetAccessibleName(LoadText(IDS_FOLDER_PATH), false);
    lstvwSelectFolders.SetAccessibleName(LoadText(IDS_SPECIAL_FOLDERS), true);
    // Filled and selected with their layout held until the window is shown:
    // a list lays itself out again at every item otherwise.
    lstvwPlaces.SetRedraw(false);
    lstvwSelectFolders.SetRedraw(false);
    btnpreview.Create(*this, LoadText(IDS_PREVIEW), {461, 160, 129, 25}, akTop | akRight);
    btnRestore.Create(*this, LoadText(IDS_RESTORE), {461, 192, 129, 25}, akTop | akRight);
    btnClose.Create(*this, LoadText(IDS_EXIT), {461, 396, 129, 25}, akRight | akBottom);
    btnMoveUp.SetHint(LoadText(IDS_MOVE_UP_HINT));
    btnMoveUp.Create(*this, LoadText(IDS_MOVE_UP), {8, 396, 25, 25}, akLeft | akBottom);
    btnMoveDn.SetHint(LoadText(IDS_MOVE_DOWN_HINT));
    btnMoveDn.Create(*this, LoadText(IDS_MOVE_DOWN), {36, 396, 25, 25}, akLeft | akBottom);
    btnChangeFolder.SetHint(LoadText(IDS_CHANGE_FOLDER_HINT));
    btnChangeFolder.Create(*this, LoadText(IDS_CHANGE_FOLDER), {64, 396, 25, 25}, akLeft | akBottom);
    btnAbout.Create(*this, LoadText(IDS_ABOUT), {461, 224, 129, 25}, akTop | akRight);
    chkHidePlacesBar.Create(*this, LoadText(IDS_HIDE), {100, 404, 250, 17}, akLeft | akBottom);
}

// The title, pictures and hint, after the tab order's stops; the banner is a
// stop of its own, the last, for its web site.
void TfrmQuenmar::CreatePictures() {
    lblTitle.Create(*this, "", {100, 4, 221, 49}, akLeft | akTop, SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX);
    Image2.Create(*this, {370, 6, 220, 45}, akTop | akRight);
    Image2.MakeTabStop();
    Image1.Create(*this, {116, 108, 16, 16}, akLeft | akTop);
    Label1.Create(*this, LoadText(IDS_DROP_HINT),
                  {140, 108, 386, 13}, akLeft | akTop | akRight, SS_LEFT | SS_NOPREFIX);
    imgLogo.Create(*this, {490, 284, 72, 72}, akTop | akRight);
    LoadPictures();
    for (THotButton* button : {&btnMoveUp, &btnMoveDn, &btnChangeFolder}) button->SetGlyphOnly(true);
    const HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    Image2.SetCursor(hand);
    imgLogo.SetCursor(hand);
}

void TfrmQuenmar::CreateControls() {
    CreateInputs();
    CreatePictures();

    const HFONT bold = MakeFont(-11, true);
    optUseFolder.SetFont(bold);
    optUseSpecial.SetFont(bold);
    chkHidePlacesBar.SetFont(bold);
    lblTitle.SetFont(MakeFont(-19));
    Label1.FitWidthToText(Scale(590));  // as far as the buttons' right edge
    OnDpiChanged = [this] {
        LoadPictures();
        Label1.FitWidthToText(Scale(590));
    };

    SetCancelButton(&btnClose);

    // Sized as the system's lists they stand in for until its icons come:
    // the lists' rows are laid out for their images once, at the right size.
    imglstFolders.CreateOwn(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    imglstSmallFolders.CreateOwn(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    lstvwPlaces.SetImageList(imglstFolders, LVSIL_NORMAL);
    lstvwSelectFolders.SetImageList(imglstSmallFolders, LVSIL_SMALL);
    for (int n = 0; n < kSlotCount; ++n) lstvwPlaces.AddItem("(None)", -1, 0);

    btnMoveUp.SetEnabled(false);
    btnMoveDn.SetEnabled(false);
    btnChangeFolder.SetEnabled(false);
}

// The pictures and glyphs drawn for the window's scale.
void TfrmQuenmar::LoadPictures() {
    Image2.SetBitmap(LoadPicture(L"BANNER", Dpi()));
    Image1.SetBitmap(LoadPicture(L"HINT", Dpi()));
    imgLogo.SetBitmap(LoadPicture(L"LOGO72", Dpi()));
    win::UniqueImageList glyphs(LoadGlyphs(L"GLYPHS", Dpi()));
    int glyph = 0;
    for (THotButton* button : {&btnBrowseFolder, &btnpreview, &btnRestore, &btnAbout, &btnMoveUp, &btnMoveDn,
                               &btnChangeFolder}) {
        button->SetGlyph(glyphs.get(), glyph++);
    }
    glyphs_ = std::move(glyphs);
}

// Window events --------------------------------------------------------------

void TfrmQuenmar::FormCreate() {
    registry_ = makeRegistry_ ? makeRegistry_() : std::make_unique<win::Win32Registry>();
    Application::Instance().SetTitle(kApplicationTitle);
    SetCaption(Application::Instance().Title() + " - Version " + kVersion);
    lblTitle.SetText(kApplicationTitle);
    activatedOnce_ = false;
    const HMENU systemMenu = GetSystemMenu(Handle(), FALSE);
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, kExportSettingsCommand, win::Wide(LoadText(IDS_EXPORT_SETTINGS)).c_str());

    shell_->SetOwnerWindow(Handle());
    shell_->SetImageListChanged([this](IconSize size, HIMAGELIST list) {
        (size == IconSize::Large ? imglstFolders : imglstSmallFolders).Adopt(list);
    });
    store_ = std::make_unique<PlacesStore>(*registry_);

    zelDragFromShell1 = std::make_unique<TzelDragFromShell>(this);
    zelDragFromShell1->OnShellDragDrop = [this](TzelDragFromShell& sender, const std::string& folder,
                                                const std::string& filename, const std::string& fullFileName) {
        zelDragFromShell1ShellDragDrop(sender, folder, filename, fullFileName);
    };
    zelDragFromShell1->OnShellDragDropSkipped = [this](TzelDragFromShell& sender, const SkippedNames& skipped) {
        zelDragFromShell1ShellDragDropSkipped(sender, skipped);
    };

    for (const SpecialFolder& row : kSpecialFolders) {
        lstvwSelectFolders.AddItem(std::string(row.name), shell_->SpecialFolderIconIndex(IconSize::Small, row.csidl),
                                   row.csidl);
    }
}

void TfrmQuenmar::FormShow() {
    // However loading ends, the lists lay themselves out and are drawn.
    const win::ScopeExit layOut([this] {
        lstvwPlaces.SetRedraw(true);
        lstvwSelectFolders.SetRedraw(true);
    });

    LoadedSlots loaded = store_->LoadSlots();
    for (int n = 0; n < kSlotCount; ++n) AttachSlot(n, std::move(loaded.entries[n]));
    slotsLoaded_ = true;
    if (!loaded.replacedValues.empty()) {
        pendingWarnings_.push_back(PlacesStore::ReplacedValuesMessage(loaded.replacedValues));
    }
    if (!pendingWarnings_.empty()) PostMessageW(Handle(), kShowWarnings, 0, 0);

    lstvwPlaces.SetSelected(0, true);
    lstvwPlaces.SetFocused(0);
    lstvwPlacesSelectItem(0, true);

    switch (store_->LoadHideFlag()) {
    case HideFlag::Hide: chkHidePlacesBar.SetChecked(true); break;
    case HideFlag::Show: chkHidePlacesBar.SetChecked(false); break;
    case HideFlag::None: break;
    }
    // Looked up already: put in before the window is drawn, not after.
    if (!shell_->RefusingIcons()) ShowIcons();
}

void TfrmQuenmar::ShowIcons() {
    shell_->ReleaseIcons();
    ShowSlots();
    for (int row = 0; row < lstvwSelectFolders.Count(); ++row) {
        const int icon = shell_->SpecialFolderIconIndex(IconSize::Small, kSpecialFolders[row].csidl);
        if (lstvwSelectFolders.ItemImage(row) != icon) lstvwSelectFolders.SetItemImage(row, icon);
    }
}

void TfrmQuenmar::FormActivate() {
    if (activatedOnce_) {
        // Back from elsewhere: a drive's medium or label may have changed.
        ShowDrivesAgain();
        return;
    }
    activatedOnce_ = true;
    const SIZE size = OuterSize();
    SetMinTrackSize(size.cx, size.cy);
}

void TfrmQuenmar::FormClose(bool& canClose) {
    canClose = true;
    Save();
}

void TfrmQuenmar::FormDestroy() {
    // The drop receiver gives the window its procedure back while the window
    // still exists.
    zelDragFromShell1.reset();
    store_.reset();
    registry_.reset();
}

void TfrmQuenmar::ShowDrivesAgain() {
    shell_->ForgetDrives();
    if (slotsLoaded_) ShowSlots();
}

LRESULT TfrmQuenmar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DEVICECHANGE && (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE)) {
        ShowDrivesAgain();  // a drive or a medium came or went
    }
    if (message == kSlotDeselected) {
        if (CurrentSlot() < 0) ApplyInputRules();  // with no slot, its buttons are disabled
        return 0;
    }
    if (message == kShowWarnings) {
        auto warnings = std::move(pendingWarnings_);
        pendingWarnings_.clear();
        for (const auto& text : warnings) ShowMessage(Handle(), text, kApplicationTitle, MB_ICONWARNING);
        return 0;
    }
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == kExportSettingsCommand) {
        Application::Instance().Guard(Handle(), [this] { mnuExportSettingsClick(); });
        return 0;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

// Slots ----------------------------------------------------------------------

TDirInfo* TfrmQuenmar::Entry(int slot) {
    if (!slotsLoaded_ || slot < 0 || slot >= kSlotCount) return nullptr;
    return &slots_[slot];
}

void TfrmQuenmar::AttachSlot(int index, TDirInfo entry) {
    slots_[index] = std::move(entry);
    ShowSlot(index);
}

void TfrmQuenmar::ShowSlots() {
    for (int n = 0; n < kSlotCount; ++n) ShowSlot(n);
}

void TfrmQuenmar::ShowSlot(int index) {
    const SlotDisplay display = DisplayFor(slots_[index], *shell_);
    // An icon view arranges itself again at every change: change only what differs.
    if (lstvwPlaces.ItemText(index) != display.caption) lstvwPlaces.SetItemText(index, display.caption);
    if (lstvwPlaces.ItemImage(index) != display.icon) lstvwPlaces.SetItemImage(index, display.icon);
}

std::array<const TDirInfo*, kSlotCount> TfrmQuenmar::Entries() const {
    std::array<const TDirInfo*, kSlotCount> entries{};
    for (int n = 0; n < kSlotCount; ++n) entries[n] = slotsLoaded_ ? &slots_[n] : nullptr;
    return entries;
}

void TfrmQuenmar::Save() {
    if (!slotsLoaded_) return;  // the places were never loaded: nothing of the user's to write
    if (!store_->Save(Entries(), PlacesHidden())) {
        ShowMessage(Handle(), LoadText(IDS_SAVE_FAILED), LoadText(IDS_SAVE_FAILED_CAPTION), MB_ICONWARNING);
    }
}

// Editing --------------------------------------------------------------------

void TfrmQuenmar::ApplySlotButtonRules() {
    const int current = CurrentSlot();
    const TDirInfo* entry = Entry(current);
    const bool enable = current >= 0 && !placesHidden_;
    btnMoveUp.SetEnabled(enable && current > 0);
    btnMoveDn.SetEnabled(enable && current < kSlotCount - 1);
    btnChangeFolder.SetEnabled(enable && entry && entry->IsDir);
}

void TfrmQuenmar::lstvwPlacesSelectItem(int item, bool selected) {
    if (!selected) {
        // A slot losing the selection is most often another gaining it, told
        // next: whether none is left is looked at once that has been told,
        // rather than disabling and enabling the slot's buttons in between.
        PostMessageW(Handle(), kSlotDeselected, 0, 0);
        return;
    }
    ApplySlotButtonRules();

    if (TDirInfo* entry = Entry(item)) {
        if (entry->IsDir) {
            edtDirectory.SetText(entry->Dir);
            optUseFolder.SetChecked(true);
        } else {
            optUseSpecial.SetChecked(true);
            SelectCatalogueRow(entry->CSIDL);
            edtDirectory.SetText("");
        }
    }
    ApplyInputRules();
}

// The inputs the checked kind and the hide flag leave usable.
void TfrmQuenmar::ApplyInputRules() {
    const bool folder = optUseFolder.Checked();
    const bool special = optUseSpecial.Checked();
    edtDirectory.SetEnabled(folder && !placesHidden_);
    btnBrowseFolder.SetEnabled(folder && !placesHidden_);
    lstvwSelectFolders.SetEnabled(special && !placesHidden_);
    lstvwPlaces.SetEnabled(!placesHidden_);
    optUseFolder.SetEnabled(!placesHidden_);
    optUseSpecial.SetEnabled(!placesHidden_);
    ApplySlotButtonRules();
}

// A kind checked: the current slot takes it.
void TfrmQuenmar::optUseFolderClick() {
    ApplyInputRules();
    const int current = CurrentSlot();
    TDirInfo* entry = Entry(current);
    if (!entry) return;
    entry->IsDir = optUseFolder.Checked();
    if (entry->IsDir) {
        edtDirectory.SetText(entry->Dir);
        edtDirectoryChange();
    } else {
        SelectCatalogueRow(entry->CSIDL);
        ShowSlot(current);
    }
    // Change Folder follows the slot's kind.
    ApplySlotButtonRules();
}

void TfrmQuenmar::edtDirectoryChange() {
    const int current = CurrentSlot();
    TDirInfo* entry = Entry(current);
    if (!entry || !entry->IsDir) return;
    const std::string text = edtDirectory.Text();
    // A new path is stored as it is given.
    if (text != entry->Dir) entry->DirExpandable = false;
    entry->Dir = text;
    ShowSlot(current);
}

void TfrmQuenmar::lstvwSelectFoldersSelectItem(int item, bool selected) {
    // Only the row gaining the selection says what the slot is: a row losing
    // it, with no row gaining it, leaves an unlisted special folder alone.
    if (!selected || item < 0) return;
    const int current = CurrentSlot();
    TDirInfo* entry = Entry(current);
    if (!entry) return;
    entry->CSIDL = static_cast<int32_t>(lstvwSelectFolders.ItemData(item));
    ShowSlot(current);
}

void TfrmQuenmar::SelectCatalogueRow(int32_t csidl) {
    int row = -1;
    for (int i = 0; i < lstvwSelectFolders.Count(); ++i) {
        if (static_cast<int32_t>(lstvwSelectFolders.ItemData(i)) == csidl) {
            row = i;
            break;
        }
    }
    if (row < 0) {
        // Not one of ours: show no row rather than turning it into another.
        const int selected = lstvwSelectFolders.SelectedIndex();
        if (selected >= 0) lstvwSelectFolders.SetSelected(selected, false);
        return;
    }
    lstvwSelectFolders.SetSelected(row, true);
    lstvwSelectFolders.SetFocused(row);
    lstvwSelectFolders.EnsureVisible(row);
}

void TfrmQuenmar::MoveSlot(int delta) {
    THotButton& pressed = delta < 0 ? btnMoveUp : btnMoveDn;
    const bool pressedHadFocus = GetFocus() == pressed.Handle();
    const int current = CurrentSlot();
    if (current < 0) return;
    const int target = current + delta;
    if (target < 0 || target >= kSlotCount) return;
    TDirInfo* a = Entry(current);
    TDirInfo* b = Entry(target);
    if (!a || !b) return;
    std::swap(*a, *b);
    ShowSlot(current);
    ShowSlot(target);
    lstvwPlaces.SetSelected(target, true);
    lstvwPlaces.SetFocused(target);
    // At the top or the bottom the pressed button is disabled: the keyboard
    // stays with the moves, on the other button.
    THotButton& other = delta < 0 ? btnMoveDn : btnMoveUp;
    if (pressedHadFocus && !pressed.Enabled() && other.Enabled()) SetFocus(other.Handle());
}

void TfrmQuenmar::btnMoveUpClick() { MoveSlot(-1); }
void TfrmQuenmar::btnMoveDnClick() { MoveSlot(+1); }
void TfrmQuenmar::chkHidePlacesBarClick() {
    placesHidden_ = chkHidePlacesBar.Checked();
    ApplyInputRules();
}

// The folder picker -----------------------------------------------------------

void TfrmQuenmar::btnBrowseFolderClick() {
    dlgSelectFolder.Title = LoadText(IDS_PICKER_TITLE);
    std::string start = edtDirectory.Text();
    const TDirInfo* entry = Entry(CurrentSlot());
    if (entry && entry->DirExpandable && entry->Dir == start) start = shell_->ExpandEnvironment(start);
    dlgSelectFolder.SetChosenPath(start);
    if (!dlgSelectFolder.Run()) return;
    const std::string path = dlgSelectFolder.ChosenPath();
    if (path.empty()) {
        ShowMessage(Handle(), LoadText(IDS_NOT_A_FOLDER), kApplicationTitle, MB_ICONINFORMATION);
        return;
    }
    edtDirectory.SetText(AddTrailingBackslash(path));
}

void TfrmQuenmar::btnChangeFolderClick() { btnBrowseFolderClick(); }

void TfrmQuenmar::lstvwPlacesDblClick() {
    const TDirInfo* entry = Entry(CurrentSlot());
    if (entry && entry->IsDir) btnBrowseFolderClick();
}

// Drops ---------------------------------------------------------------------

namespace {

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(win::Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(win::Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void TfrmQuenmar::zelDragFromShell1ShellDragDrop(TzelDragFromShell&, const std::string&, const std::string&,
                                                 const std::string& fullFileName) {
    if (PlacesHidden()) return;
    std::string candidate;
    if (IsDirectory(fullFileName)) {
        candidate = AddTrailingBackslash(fullFileName);
    } else if (IsFile(fullFileName)) {
        candidate = DirectoryPart(fullFileName);
    }
    if (candidate.empty() || !IsDirectory(candidate)) return;
    optUseFolder.SetChecked(true);
    edtDirectory.SetText(candidate);
}

void TfrmQuenmar::zelDragFromShell1ShellDragDropSkipped(TzelDragFromShell&, const SkippedNames&) {
    if (PlacesHidden()) return;
    ShowMessage(Handle(), LoadText(IDS_DROP_TOO_LONG), kApplicationTitle, MB_ICONINFORMATION);
}

// Preview, restore and exit ----------------------------------------------------

void TfrmQuenmar::mnuExportSettingsClick() {
    if (!slotsLoaded_) return;  // nothing loaded, nothing to export
    const auto entries = Entries();
    wchar_t fileName[MAX_PATH] = L"Quenmar Places.reg";
    OPENFILENAMEW dialog = FileDialog(Handle(), L"Registration Files (*.reg)\0*.reg\0All Files (*.*)\0*.*\0",
                                      fileName, L"Export Settings");
    dialog.lpstrDefExt = L"reg";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog)) {
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
            ShowMessage(Handle(), LoadText(IDS_FILE_NAME_TOO_LONG), kApplicationTitle, MB_ICONWARNING);
        }
        return;
    }
    try {
        win::ReplaceFileContents(win::Utf8(fileName), PlacesScript(entries, PlacesHidden()));
    } catch (const win::FileWriteError& error) {
        ShowMessage(Handle(), error.what(), kApplicationTitle, MB_ICONWARNING);
    }
}

void TfrmQuenmar::btnpreviewClick() {
    Save();
    const bool hidden = PlacesHidden();
    wchar_t fileName[MAX_PATH] = {};
    lstrcpynW(fileName, hidden ? L"This is only a test." : L"This is only a test. Test the Items to the Left",
              MAX_PATH);
    OPENFILENAMEW dialog = FileDialog(Handle(), L"All files (*.*)\0*.*\0", fileName, L"Test Dialog");
    dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_ENABLEHOOK;
    dialog.lpfnHook = PreviewHook;
    dialog.FlagsEx = hidden ? OFN_EX_NOPLACESBAR : 0;
    GetOpenFileNameW(&dialog);
}

void TfrmQuenmar::btnRestoreClick() {
    if (!AskYesNo(Handle(), LoadText(IDS_RESTORE_QUESTION),
                  LoadText(IDS_CONFIRM))) {
        return;
    }
    store_->DeleteCustomPlaces();
    for (int n = 0; n < kSlotCount; ++n) AttachSlot(n, PlacesStore::DefaultEntry(n));
    if (lstvwPlaces.Count() == 0) return;
    if (lstvwPlaces.IsSelected(0)) {
        lstvwPlacesSelectItem(0, true);  // no notification comes: show the restored slot 0
    } else {
        lstvwPlaces.SetSelected(0, true);
        lstvwPlaces.SetFocused(0);
    }
}

void TfrmQuenmar::btnCloseClick() { Close(); }

void TfrmQuenmar::btnAboutClick() { ShowAboutWindow(); }
void TfrmQuenmar::imgLogoClick() { btnAboutClick(); }
void TfrmQuenmar::Image2Click() { OpenDocument(kWebsiteAddress, Handle()); }

}  // namespace quenmar
