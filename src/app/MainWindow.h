#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>

#include "app/Help.h"
#include "app/Product.h"
#include "app/Session.h"
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
    // Whether the path box's text waits for typing to pause before the
    // shell is asked about it.
    bool WaitingForTypingToPause() const { return typing_; }

    Session& session_;
    PlacesEditor& editor_;
    widgets::ListView placesList_;
    widgets::Label title_;
    widgets::Banner banner_;
    widgets::FlatRadioButton folderKind_;
    widgets::Edit pathEdit_;
    widgets::FlatButton browseButton_;
    widgets::LinkLabel mendLink_;  // the special folder to use instead of a place left out
    widgets::Picture dropHintIcon_;
    widgets::Label dropHint_;
    widgets::Label leftOutNote_;  // why the Open dialog will leave the selected place out
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

private:
    // Control events: one editor operation each.
    void SelectSlot(std::optional<int> slot);
    void ChooseKind(PlaceKind kind);
    void TakeTypedPath();
    void PickCatalogueRow(std::optional<int> row);
    void MoveSelected(int delta);
    void ToggleHidden();
    void PickFolder();  // the folder picker for the selected slot
    void TakeDroppedName(const std::string& name);
    void TellDropTooLong();
    void Preview();
    void RestoreDefaults();
    void Export();
    // Another program (or this one) wrote the settings.
    void TakeStoredChanges();

    // Shows the editor's state: every slot's caption and icon, the selection,
    // the kind, the path, the catalogue row, the hide flag and what is usable.
    void ShowState();
    void ShowSlot(int index);
    void ShowSlots();
    void ShowIcons();
    void TakeShellAnswers();
    void ShowDrivesAgain();
    void ShowLeftOut();
    int ShownIcon(const SlotDisplay& display);
    void UseMend();
    void SelectCatalogueRow(int32_t csidl);
    // Tells a failed save or restore, in one place, by what it was for; at
    // closing it asks whether to close without saving. True when what the
    // save was for may go ahead: it was done, or the user closes anyway.
    enum class SaveFor { Closing, Preview, SessionContinuing, Restore };
    bool ReportSaveFailure(const StoreOutcome& outcome, SaveFor reason);
    void Tell(const std::string& text, UINT icon);

    void CreateInputs();
    void CreatePictures();
    void LoadPictures();
    void ShowBanner();
    void FitToTexts();

    std::string helpTarget_;  // what the banner opens
    bool activatedOnce_ = false;
    std::optional<std::string> unreadableAtLoad_;
    // The selected slot's text while it is typed: the shell is asked about
    // it once typing has paused, so that only the latest text is asked.
    bool typing_ = false;
    // What the controls were last given: only what differs is given again
    // (each control message is a round trip through the window system).
    std::array<std::optional<SlotDisplay>, kSlotCount> shownSlots_;
    std::optional<UsableInputs> shownInputs_;
    std::array<std::string, kSpecialFolders.size()> shownCatalogue_;
    // The marked copies of icons made in the large image list, by icon.
    HIMAGELIST markedList_ = nullptr;
    std::map<int, int> markedIcons_;
    std::optional<std::pair<std::string, std::string>> shownLeftOut_;  // the note and the mend
    win::UniqueImageList glyphs_;
};

}  // namespace quenmar
