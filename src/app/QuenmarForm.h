#pragma once

#include <memory>

#include "app/Version.h"
#include "dragdrop/zelDragFromShell.h"
#include "folderpicker/ShellDialogs.h"
#include "places/DirInfo.h"
#include "places/PlacesStore.h"
#include "widgets/Controls.h"
#include "widgets/Form.h"
#include "widgets/HotButton.h"
#include "win32/Win32Registry.h"
#include "win32/Win32ShellLookups.h"

namespace quenmar {

inline constexpr const char* kApplicationTitle = "Quenmar";
inline constexpr const char* kVersion = QUENMAR_VERSION_TEXT;

// The main window: the five places on the left, the editing controls on the
// right. The window holds the five slots' entries; each item of lstvwPlaces
// points at its slot's entry and shows what DisplayFor makes of it.
class TfrmQuenmar : public widgets::Form {
public:
    using RegistryFactory = std::function<std::unique_ptr<RegistryAccessor>()>;
    // The registry is the current user's unless another accessor is given.
    explicit TfrmQuenmar(RegistryFactory makeRegistry = {});
    ~TfrmQuenmar() override;

    widgets::ListView lstvwPlaces;
    widgets::Label lblTitle;
    widgets::Picture Image2;
    widgets::THotRadioButton optUseFolder;
    widgets::Edit edtDirectory;
    widgets::THotButton btnBrowseFolder;
    widgets::Picture Image1;
    widgets::Label Label1;
    widgets::THotRadioButton optUseSpecial;
    widgets::ListView lstvwSelectFolders;
    widgets::THotButton btnpreview;
    widgets::THotButton btnRestore;
    widgets::THotButton btnAbout;
    widgets::Picture imgLogo;
    widgets::THotButton btnMoveUp;
    widgets::THotButton btnMoveDn;
    widgets::THotButton btnChangeFolder;
    widgets::THotCheckBox chkHidePlacesBar;
    widgets::THotButton btnClose;
    widgets::ImageList imglstFolders;
    widgets::ImageList imglstSmallFolders;
    std::unique_ptr<TzelDragFromShell> zelDragFromShell1;
    TSelectFolderDialog dlgSelectFolder;

    // Window events.
    void FormCreate();
    void FormShow();
    // The icons, once the window is on screen (they are held until then).
    void ShowIcons();
    // Drives' names and icons asked for again, and the slots shown anew.
    void ShowDrivesAgain();
    void FormActivate();
    void FormClose(bool& canClose);
    void FormDestroy();

    // Slot editing.
    void lstvwPlacesSelectItem(int item, bool selected);
    void ApplyInputRules();
    void optUseFolderClick();
    void edtDirectoryChange();
    void lstvwSelectFoldersSelectItem(int item, bool selected);
    void SelectCatalogueRow(int32_t csidl);
    void btnMoveUpClick();
    void btnMoveDnClick();
    void chkHidePlacesBarClick();

    // Folders from the picker.
    void btnBrowseFolderClick();
    void btnChangeFolderClick();
    void lstvwPlacesDblClick();

    // Folders dropped from the shell.
    void zelDragFromShell1ShellDragDrop(TzelDragFromShell& sender, const std::string& folder,
                                        const std::string& filename, const std::string& fullFileName);
    void zelDragFromShell1ShellDragDropSkipped(TzelDragFromShell& sender, const SkippedNames& skipped);

    // About and the web site.
    void btnAboutClick();
    void imgLogoClick();
    void Image2Click();

    // Settings as a whole.
    void mnuExportSettingsClick();
    void btnpreviewClick();
    void btnRestoreClick();
    void btnCloseClick();

    // The entry of a slot, or null.
    TDirInfo* Entry(int slot);
    // The selected slot, or -1.
    int CurrentSlot() const { return lstvwPlaces.SelectedIndex(); }
    // The hide box as the places were last set by it: what is saved.
    bool PlacesHidden() const { return placesHidden_; }


protected:
    void CreateControls() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Move Up, Move Down and Change Folder by the current slot and the hide
    // box; all three off when not allowed.
    void ApplySlotButtonRules();
    void AttachSlot(int index, TDirInfo entry);
    // Shows a slot's caption and icon as its entry says.
    void ShowSlot(int index);
    void ShowSlots();  // every slot
    void MoveSlot(int delta);
    void Save();
    std::array<const TDirInfo*, kSlotCount> Entries() const;

    RegistryFactory makeRegistry_;
    std::unique_ptr<RegistryAccessor> registry_;
    std::unique_ptr<win::Win32ShellLookups> shell_;
    std::unique_ptr<PlacesStore> store_;
    bool activatedOnce_ = false;
    std::array<TDirInfo, kSlotCount> slots_;
    bool slotsLoaded_ = false;
    bool placesHidden_ = false;
    win::UniqueImageList glyphs_;
    void LoadPictures();
    void CreateInputs();
    void CreatePictures();
    std::vector<std::string> pendingWarnings_;
};

}  // namespace quenmar
