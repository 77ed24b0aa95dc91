#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>

#include "app/Help.h"
#include "app/Product.h"
#include "app/Session.h"
#include "app/SlotNoteRow.h"
#include "folderpicker/FolderPicker.h"
#include "places/Captions.h"
#include "places/Catalogue.h"
#include "places/PlacesEditor.h"
#include "widgets/Banner.h"
#include "widgets/Edit.h"
#include "widgets/FlatButton.h"
#include "widgets/Form.h"
#include "widgets/ImageList.h"
#include "widgets/Label.h"
#include "widgets/LinkLabel.h"
#include "widgets/ListView.h"
#include "widgets/Picture.h"
#include "widgets/ShellDropTarget.h"

namespace quenmar {

// The main window: the five places on the left, the editing controls on the
// right. A view of the session's editor: each control's event is one editor
// operation, after which ShowState shows the editor's state in the controls.
class MainWindow : public widgets::Form {
public:
    // The banner opens the maker's web site unless another address is given.
    explicit MainWindow(Session& session, std::string helpTarget = HelpTarget());
    ~MainWindow() override;

    // The controls' IDs, by which they are found (tests, accessibility tools).
    enum ControlId : int {
        kPlacesList = 1000,
        kTitle,
        kBanner,
        kFolderKind,
        kPathEdit,
        kBrowseButton,
        kStandInLink,
        kDropHintIcon,
        kDropHint,
        kLeftOutNote,
        kSpecialKind,
        kCatalogue,
        kPreviewButton,
        kRestoreButton,
        kAboutButton,
        kLogo,
        kMoveUpButton,
        kMoveDownButton,
        kChangeFolderButton,
        kHideBox,
        kExitButton,
        kUnsetLink
    };

protected:
    void Created() override;
    void Showing() override;
    void Shown() override;
    void ScaleChanged() override;
    void ColoursChanged() override;
    void Activated() override;
    bool Closing() override;
    void Destroying() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Session& session_;
    PlacesEditor& editor_;
    widgets::ListView placesList_{kPlacesList};
    widgets::Label title_{kTitle};
    widgets::Banner banner_{kBanner};
    widgets::FlatRadioButton folderKind_{kFolderKind};
    widgets::Edit pathEdit_{kPathEdit};
    widgets::FlatButton browseButton_{kBrowseButton};
    SlotNoteRow noteRow_{{kDropHintIcon, kDropHint, kLeftOutNote, kStandInLink, kUnsetLink}};
    widgets::FlatRadioButton specialKind_{kSpecialKind};
    widgets::ListView catalogue_{kCatalogue};
    widgets::FlatButton previewButton_{kPreviewButton};
    widgets::FlatButton restoreButton_{kRestoreButton};
    widgets::FlatButton aboutButton_{kAboutButton};
    widgets::Picture logo_{kLogo};
    widgets::FlatButton moveUpButton_{kMoveUpButton};
    widgets::FlatButton moveDownButton_{kMoveDownButton};
    widgets::FlatButton changeFolderButton_{kChangeFolderButton};
    widgets::FlatCheckBox hideBox_{kHideBox};
    widgets::FlatButton exitButton_{kExitButton};
    widgets::IconCopies placeIcons_;  // copies of the system's large icons
    widgets::ImageList smallIcons_;
    std::unique_ptr<widgets::ShellDropTarget> dropTarget_;
    FolderPicker folderPicker_;


    // Control events: one editor operation each.
    void SelectSlot(std::optional<int> slot);
    void ChooseKind(PlaceKind kind);
    void TakeTypedPath();
    void PickCatalogueRow(std::optional<int> row);
    void MoveSelected(int delta);
    void ToggleHidden();
    void UnsetSelected();
    void PickFolder();  // the folder picker for the selected slot
    void TakeDroppedName(const widgets::DroppedName& name);
    void TellDropTooLong();
    void Preview();
    void RestoreDefaults();
    // Another program (or this one) wrote the settings.
    void TakeStoredChanges();

    // Shows the editor's state: every slot's caption and icon, the selection,
    // the kind, the path, the catalogue row, the hide flag and what is usable.
    void ShowState();
    void ShowSlot(int index);
    void ShowSlots();
    // The slots by the shell's answers as they stand, and the special
    // folders' names and icons too unless only places were answered about.
    void ShowIcons(bool catalogueToo = true);
    void TakeShellAnswers();
    void AskTheShellAgain();
    void ShowLeftOut();
    void Tell(const std::string& text, UINT icon);

    void CreateInputs();
    void CreatePictures();
    void LoadPictures();
    void ShowBanner();
    void FitToTexts();

    std::string helpTarget_;  // what the banner opens
    bool activatedOnce_ = false;
    std::optional<std::string> unreadableAtLoad_;
    // What the controls were last given: only what differs is given again
    // (each control message is a round trip through the window system).
    std::array<std::optional<SlotDisplay>, kSlotCount> shownSlots_;
    std::optional<UsableInputs> shownInputs_;
    std::array<std::string, kSpecialFolders.size()> shownCatalogue_;
    win::UniqueImageList glyphs_;
};

}  // namespace quenmar
