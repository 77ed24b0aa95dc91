#pragma once

#include <array>
#include <memory>
#include <optional>

#include "app/Product.h"
#include "folderpicker/FolderPicker.h"
#include "places/Captions.h"
#include "places/PlacesEditor.h"
#include "widgets/Edit.h"
#include "widgets/FlatButton.h"
#include "widgets/Form.h"
#include "widgets/ImageList.h"
#include "widgets/Label.h"
#include "widgets/ListView.h"
#include "widgets/Picture.h"
#include "widgets/ShellDropTarget.h"
#include "win32/RegistryWatch.h"
#include "win32/Win32ShellLookups.h"

namespace quenmar {

// The main window: the five places on the left, the editing controls on the
// right. A view of a PlacesEditor: each control's event is one editor
// operation, after which ShowState shows the editor's state in the controls.
class MainWindow : public widgets::Form {
public:
    using RegistryFactory = std::function<std::unique_ptr<RegistryAccessor>()>;
    // The registry is the current user's unless another accessor is given;
    // the banner opens the maker's web site unless another address is.
    explicit MainWindow(RegistryFactory makeRegistry = {}, std::string websiteAddress = kWebsiteAddress);
    ~MainWindow() override;

    const PlacesEditor& Editor() const { return *editor_; }

protected:
    // What the settings' watch posts when the stored settings changed.
    static constexpr UINT kStoredSettingsChanged = WM_APP + 3;

    void CreateControls() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    widgets::ListView placesList_;
    widgets::Label title_;
    widgets::Picture banner_;
    widgets::FlatRadioButton folderKind_;
    widgets::Edit pathEdit_;
    widgets::FlatButton browseButton_;
    widgets::Picture dropHintIcon_;
    widgets::Label dropHint_;
    widgets::FlatRadioButton specialKind_;
    widgets::ListView catalogue_;
    widgets::FlatButton previewButton_;
    widgets::FlatButton restoreButton_;
    widgets::FlatButton aboutButton_;
    widgets::Picture logo_;
    widgets::FlatButton moveUpButton_;
    widgets::FlatButton moveDownButton_;
    widgets::FlatButton changeFolderButton_;
    widgets::FlatCheckBox hideBox_;
    widgets::FlatButton exitButton_;
    widgets::ImageList largeIcons_;
    widgets::ImageList smallIcons_;
    std::unique_ptr<widgets::ShellDropTarget> dropTarget_;
    FolderPicker folderPicker_;
    std::unique_ptr<win::Win32ShellLookups> shell_;

private:
    // Window events.
    void OnCreated();
    void OnShowing();
    void OnDrawn();
    void OnIconsFound();
    void OnStoredSettingsChanged();
    bool OnSessionEndQueried(LPARAM how);
    void OnSessionEnd(bool ending);
    void OnFirstActivation();
    void OnClosing();
    void OnDestroying();

    // Control events: one editor operation each.
    void OnSlotSelected(std::optional<int> slot);
    void OnKindChosen(PlaceKind kind);
    void OnPathTyped();
    void OnCatalogueRowSelected(std::optional<int> row);
    void OnMove(int delta);
    void OnHideToggled();
    void OnSlotDoubleClicked();
    void OnFolderDropped(const std::string& name);
    void OnDropTooLong();
    void OnPreview();
    void OnRestore();
    void OnExport();

    // Shows the editor's state: every slot's caption and icon, the selection,
    // the kind, the path, the catalogue row, the hide flag and what is usable.
    void ShowState();
    void ShowSlot(int index);
    void ShowSlots();  // every slot, once the places are loaded
    // The folder picker for the selected slot; its choice becomes the slot's path.
    void PickFolder();
    void ShowIcons();
    void ShowDrivesAgain();
    void SelectCatalogueRow(int32_t csidl);
    void Save();
    bool SaveQuietly();  // false on any failure, which it does not show

    void CreateInputs();
    void CreatePictures();
    void LoadPictures();
    void FitToTexts();

    RegistryFactory makeRegistry_;
    std::string websiteAddress_;
    std::unique_ptr<RegistryAccessor> registry_;
    std::unique_ptr<PlacesEditor> editor_;
    bool activatedOnce_ = false;
    // What the controls were last given: only what differs is given again
    // (each control message is a round trip through the window system).
    std::array<std::optional<SlotDisplay>, kSlotCount> shownSlots_;
    std::optional<UsableInputs> shownInputs_;
    win::UniqueImageList glyphs_;
    std::vector<std::string> pendingWarnings_;
    std::unique_ptr<win::RegistryWatch> settingsWatch_;
    bool saveFailedAtSessionEnd_ = false;
};

}  // namespace quenmar
