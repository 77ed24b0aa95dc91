#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "CatalogueTable.h"
#include "MainWindowProbe.h"
#include "MemoryRegistry.h"
#include "ModalBoxes.h"
#include "Accessibility.h"
#include "PolicyBytes.h"
#include "RealRegistry.h"
#include "ScreenPixels.h"
#include "ShellOracle.h"
#include "app/AboutWindow.h"
#include "app/AppTexts.h"
#include "folderpicker/FolderPickerWindow.h"
#include "widgets/Application.h"
#include "widgets/Resources.h"
#include "win32/WideText.h"

namespace quenmar::testing {
namespace {

using Strings = std::vector<std::string>;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { registry.Reset(); }
    void TearDown() override {
        form.reset();
        PumpMessages();
        registry.Reset();
    }

    // The window on an in-memory registry, which the test may set faults on.
    MemoryRegistry* OpenOnMemory() {
        auto made = std::make_unique<MemoryRegistry>();
        MemoryRegistry* memory = made.get();
        Open(std::move(made));
        return memory;
    }
    void Open(std::unique_ptr<RegistryAccessor> memory = nullptr, std::string help = HelpTarget()) {
        form = std::make_unique<MainWindowProbe>(std::move(memory), std::move(help));
        form->Show();
        PumpMessages();
        form->WaitForIcons();
    }
    static void Click(widgets::Control& control) {
        ASSERT_TRUE(control.Enabled()) << "a user cannot click a disabled control";
        SendMessageW(control.Handle(), BM_CLICK, 0, 0);
        PumpMessages();
    }
    void SelectSlot(int slot) { UserSelect(form->placesList, slot, true); }
    // The row of a special folder, by its CSIDL.
    void PickRow(int32_t csidl) {
        ASSERT_TRUE(form->catalogue.Enabled());
        for (int row = 0; row < kCatalogueRows; ++row) {
            if (kCatalogueCsidls[row] == csidl) return UserSelect(form->catalogue, row, true);
        }
        FAIL() << "no row of CSIDL " << csidl;
    }
    // The default slots' captions: the shell's names of their folders.
    static Strings ShellsDefaultCaptions() {
        Strings captions;
        for (int n = 0; n < kSlotCount; ++n) captions.push_back(ShellsOwnName(kCatalogueCsidls[n]));
        return captions;
    }
    void Exit() { Click(form->exitButton); }
    Strings Captions() const {
        Strings captions;
        for (int i = 0; i < form->placesList.Count(); ++i) captions.push_back(ItemText(form->placesList, i));
        return captions;
    }
    std::vector<std::optional<RawValue>> StoredPlaces() {
        std::vector<std::optional<RawValue>> values;
        for (int n = 0; n < kSlotCount; ++n) values.push_back(registry.Get(kPlacesBarKey, PlaceValueName(n)));
        return values;
    }
    std::optional<RawValue> StoredHideFlag() { return registry.Get(kComdlgPolicyKey, kNoPlacesBarValue); }
    void PutPlace(int n, uint32_t type, const std::string& data) {
        registry.Put(kPlacesBarKey, PlaceValueName(n), type, data);
    }
    static int SpecialIcon(int csidl) { return ShellsOwnSpecialIcon(csidl, false); }
    // A slot's icon by the rule: a drive root shows its drive's icon, every
    // other path the Windows folder's.
    static int PathIcon(const std::string& path) {
        wchar_t windows[MAX_PATH] = {};
        GetWindowsDirectoryW(windows, MAX_PATH);
        const std::wstring shown = path.size() < 4 ? win::Wide(path.size() == 2 ? path + "\\" : path) : windows;
        SHFILEINFOW info{};
        SHGetFileInfoW(shown.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON);
        return info.iIcon;
    }
    // The editing controls that the hide box disables, by name.
    Strings EnabledEditingControls() const {
        const std::pair<const char*, const widgets::Control*> controls[] = {
            {"places", &form->placesList},         {"folder", &form->folderKind},
            {"special", &form->specialKind},      {"directory", &form->pathEdit},
            {"browse", &form->browseButton},     {"catalogue", &form->catalogue},
            {"up", &form->moveUpButton},               {"down", &form->moveDownButton},
            {"change", &form->changeFolderButton}};
        Strings enabled;
        for (const auto& [name, control] : controls) {
            if (control->Enabled()) enabled.push_back(name);
        }
        return enabled;
    }

    RealRegistryBackend registry;
    std::unique_ptr<MainWindowProbe> form;
};

TEST_F(MainWindowTest, StartsWithTheDefaultsAndSavesThemOnExit) {
    Open();
    EXPECT_EQ(form->Caption(), "Quenmar - Version 1.0");
    EXPECT_EQ(form->title.Text(), "Quenmar");
    // The program's icon, as the taskbar and Alt+Tab ask for it.
    const auto iconOf = [&](WPARAM which) {
        return reinterpret_cast<HICON>(SendMessageW(form->Handle(), WM_GETICON, which, 0));
    };
    EXPECT_EQ(iconOf(ICON_BIG), LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
    ICONINFO smallInfo{};
    ASSERT_TRUE(GetIconInfo(iconOf(ICON_SMALL), &smallInfo));
    const win::UniqueGdiObject color(smallInfo.hbmColor), mask(smallInfo.hbmMask);
    BITMAP smallBitmap{};
    GetObjectW(smallInfo.hbmColor ? smallInfo.hbmColor : smallInfo.hbmMask, sizeof smallBitmap, &smallBitmap);
    EXPECT_EQ(smallBitmap.bmWidth, GetSystemMetrics(SM_CXSMICON)) << "the small icon drawn at its own size";
    EXPECT_NE(iconOf(ICON_SMALL2), nullptr);
    EXPECT_EQ(Captions(), ShellsDefaultCaptions());
    // The shell's icons, copied into a list of the program's own.
    const HIMAGELIST placeIcons = ListView_GetImageList(form->placesList.Handle(), LVSIL_NORMAL);
    EXPECT_NE(placeIcons, ShellsOwnLargeIcons());
    for (int n = 0; n < kSlotCount; ++n) {
        EXPECT_EQ(LooksBeside(placeIcons, form->placesList.ItemImage(n), SpecialIcon(kCatalogueCsidls[n])), IconLooks::Same) << n;
    }
    EXPECT_EQ(form->CurrentSlot(), 0);
    EXPECT_TRUE(form->specialKind.Checked());
    EXPECT_FALSE(form->folderKind.Checked());
    EXPECT_EQ(form->catalogue.SelectedIndex(), 0);
    EXPECT_EQ(form->pathEdit.Text(), "");
    EXPECT_EQ(EnabledEditingControls(), (Strings{"places", "folder", "special", "catalogue", "down"}));
    EXPECT_FALSE(form->hideBox.Checked());
    ASSERT_EQ(form->catalogue.Count(), 13);
    // Each row the shell's name of its folder, told apart from any other
    // the shell names alike.
    std::set<std::string> rows;
    for (int row = 0; row < kCatalogueRows; ++row) {
        const std::string name = ShellsOwnName(kCatalogueCsidls[row]);
        const std::string shown = ItemText(form->catalogue, row);
        EXPECT_EQ(shown.substr(0, name.size()), name.empty() ? "" : name) << row;
        EXPECT_TRUE(rows.insert(shown).second) << shown << " twice";
        EXPECT_EQ(form->catalogue.ItemImage(row), ShellsOwnSpecialIcon(kCatalogueCsidls[row], true));
    }
    SHFILEINFOW info{};
    EXPECT_EQ(ListView_GetImageList(form->catalogue.Handle(), LVSIL_SMALL), reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
                                              L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON)));
    EXPECT_FALSE(registry.KeyExists(kPlacesBarKey)) << "showing the window writes nothing";

    Exit();
    EXPECT_EQ(form->Handle(), nullptr);
    EXPECT_EQ(StoredPlaces(), (std::vector<std::optional<RawValue>>{DwordValue(34), DwordValue(0), DwordValue(5),
                                                                     DwordValue(17), DwordValue(18)}));
    EXPECT_EQ(StoredHideFlag(), DwordValue(0));
    // The system image lists outlive the window that showed them.
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
                                          L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON)),
                                      &cx, &cy));
}

// The list's own focus moves with the moved slot, where the keyboard goes on.
// This computer's local Group Policy setting the places (here, hiding the
// bar) is told where the window tells about places, with a link to edit it.
// What another program writes after the window read the settings and before
// its watch is armed (once the window is drawn) is taken in all the same.
TEST_F(MainWindowTest, AWriteBeforeTheWatchIsArmedIsTakenIn) {
    form = std::make_unique<MainWindowProbe>();
    form->afterLoading = [&] { PutPlace(2, kRegDword, std::string("\x11\0\0\0", 4)); };
    form->Show();
    EXPECT_TRUE(WaitUntil([&] { return !form->Editor().Slot(2).isFolder && form->Editor().Slot(2).csidl == 0x11; }, 10000));
}

TEST_F(MainWindowTest, ALocalPolicyThatSetsThePlacesIsTold) {
    wchar_t windows[MAX_PATH] = {};
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);  // System32's own folder, seen from 32 bits
    const std::wstring folder = std::wstring(windows) + (wow64 ? L"\\Sysnative" : L"\\System32") + L"\\GroupPolicy\\User";
    ASSERT_TRUE(std::filesystem::create_directories(folder) || std::filesystem::is_directory(folder));
    const std::wstring file = folder + L"\\Registry.pol";
    const std::string bytes =
        testing::kPolicyHeader + testing::PolicyEntryBytes(kComdlgPolicyKey, kNoPlacesBarValue, 4, testing::Le32(1));
    std::ofstream(std::filesystem::path(file), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Open();
    DeleteFileW(file.c_str());
    EXPECT_TRUE(form->leftOutNote.Visible());
    EXPECT_EQ(form->leftOutNote.Text(), TextOf(IDS_LOCAL_POLICY_SETS_PLACES));
    EXPECT_TRUE(form->standInLink.Visible());
    EXPECT_EQ(form->standInLink.Text(), TextOf(IDS_EDIT_LOCAL_POLICY));
    EXPECT_FALSE(form->dropHint.Visible());
}

// A policy's own states shown as they are: a place it does not set is a
// slot marked so (to the eye and a screen reader), a set one can be removed
// from it by its link or the Delete key, and the hide policy not configured
// is the box's third state, which its clicks go round through.
TEST_F(MainWindowTest, APolicyShowsThePlacesItDoesNotSetAndItsHideSettingsThirdState) {
    std::string disk = testing::kPolicyHeader + testing::PolicyEntryBytes(kPlacesBarKey, "Place0", 4, testing::Le32(17)) +
                       testing::PolicyEntryBytes(kPlacesBarKey, "Place1", 4, testing::Le32(5));
    form = std::make_unique<MainWindowProbe>(EditedSettings::GroupPolicy(
        GroupPolicyTarget{"C:\\Registry.pol", std::nullopt, "Group Policy: Registry.pol", "Group Policy file"},
        testing::PolicyOver(disk)));
    form->Show();
    PumpMessages();
    for (int n = 2; n < kSlotCount; ++n) {
        EXPECT_EQ(ItemText(form->placesList, n), TextOf(IDS_NOT_SET)) << n;
        EXPECT_EQ(win::Utf8(AccessibleDescription(form->placesList.Handle(), n + 1)), TextOf(IDS_NOT_SET_DESCRIPTION)) << n;
    }
    EXPECT_NE(ItemText(form->placesList, 0), TextOf(IDS_NOT_SET));
    EXPECT_EQ(SendMessageW(form->hideBox.Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(win::Utf8(AccessibleDescription(form->hideBox.Handle())), TextOf(IDS_HIDE_NOT_CONFIGURED));

    auto& unsetLink = FoundControl<widgets::LinkLabel>(*form, MainWindow::kUnsetLink);
    EXPECT_TRUE(unsetLink.Visible()) << "slot 0, set, is selected";
    UserSelect(form->placesList, 3);
    PumpMessages();
    EXPECT_FALSE(unsetLink.Visible()) << "a place not set has nothing to remove";
    UserSelect(form->placesList, 0);
    PumpMessages();
    unsetLink.Open();
    PumpMessages();
    EXPECT_EQ(ItemText(form->placesList, 0), TextOf(IDS_NOT_SET));
    EXPECT_FALSE(unsetLink.Visible());
    // The places' menu from the keyboard (Shift+F10): Enter takes its item.
    UserSelect(form->placesList, 1);
    PumpMessages();
    PostMessageW(form->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(form->placesList.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->placesList.Handle()), MAKELPARAM(-1, -1));
    PumpMessages();
    EXPECT_EQ(ItemText(form->placesList, 1), TextOf(IDS_NOT_SET));

    // The box shows the editor's setting after each click (its round is the
    // editor's rule).
    const std::map<HideFlag, WPARAM> shown{
        {HideFlag::Show, BST_UNCHECKED}, {HideFlag::Hide, BST_CHECKED}, {HideFlag::NotSet, BST_INDETERMINATE}};
    for (int click = 0; click < 3; ++click) {
        SendMessageW(form->hideBox.Handle(), BM_CLICK, 0, 0);
        PumpMessages();
        EXPECT_EQ(static_cast<WPARAM>(SendMessageW(form->hideBox.Handle(), BM_GETCHECK, 0, 0)),
                  shown.at(form->Editor().HideSetting()));
    }
}

// Places typed and pasted into the path box, stored as typed: text naming
// a variable expandable, a share's name as pasted; typing through a folder
// that is not there to one that is ends with the shell's name, unmarked;
// Enter moves on and closes nothing.
TEST_F(MainWindowTest, TypedAndPastedPlacesAreStoredAsTyped) {
    Open();
    const HWND box = form->pathEdit.Handle();
    const auto makeFolder = [&](int slot) {
        SelectSlot(slot);
        Click(form->folderKind);
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
    };
    const auto type = [&](const std::wstring& keys) {
        for (const wchar_t key : keys) SendMessageW(box, WM_CHAR, key, 0);
    };
    makeFolder(0);
    type(L"%USERPROFILE%\\x");
    makeFolder(1);
    ASSERT_TRUE(OpenClipboard(form->Handle()));
    EmptyClipboard();
    const std::wstring share = L"\\\\server\\projects\\";
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, (share.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(text), share.c_str(), (share.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(text);
    SetClipboardData(CF_UNICODETEXT, text);
    CloseClipboard();
    SendMessageW(box, WM_PASTE, 0, 0);
    makeFolder(2);
    type(L"C:\\windows\\sy");
    for (int i = 0; i < 3; ++i) SendMessageW(box, WM_CHAR, VK_BACK, 0);
    ASSERT_TRUE(form->WaitForIcons());
    EXPECT_EQ(Captions()[2], ShellsOwnNameOf(L"C:\\windows"));
    EXPECT_FALSE(form->leftOutNote.Visible()) << "unmarked";
    EXPECT_EQ(AccessibleDescription(form->placesList.Handle(), 3), L"");
    // Wine's dialog does not expand a variable: the expanded text offered, as a plain path.
    makeFolder(3);
    type(L"%SystemDrive%\\");
    ASSERT_TRUE(form->WaitForIcons());
    ASSERT_EQ(form->Dialog(), OpenDialog::Wine);
    EXPECT_EQ(form->leftOutNote.Text(), TextOf(IDS_LEFT_OUT_NOT_EXPANDED));
    ASSERT_EQ(form->standInLink.Text(), "Use the path C:\\ instead");
    const auto clickStandIn = [&] {
        PostMessageW(form->standInLink.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageW(form->standInLink.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        PumpMessages();
    };
    // The slot changed before the click: the stand-in for its old text is not used.
    type(L"x");
    clickStandIn();
    EXPECT_EQ(form->Editor().Slot(3).path, "%SystemDrive%\\x");
    SendMessageW(box, WM_CHAR, VK_BACK, 0);
    ASSERT_TRUE(form->WaitForIcons());
    ASSERT_TRUE(form->standInLink.Visible());
    clickStandIn();
    ASSERT_TRUE(form->WaitForIcons());
    EXPECT_FALSE(form->leftOutNote.Visible());
    SetFocus(form->placesList.Handle());  // the completion's suggestions closed
    SetFocus(box);
    PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    PumpMessages();
    EXPECT_NE(GetFocus(), box) << "Enter moves on";
    ASSERT_NE(form->Handle(), nullptr) << "and closes nothing";
    Exit();
    EXPECT_EQ(StoredPlaces()[0], (RawValue{kRegExpandSz, Sz("%USERPROFILE%\\x")}));
    EXPECT_EQ(StoredPlaces()[1], SzValue("\\\\server\\projects\\"));
    EXPECT_EQ(StoredPlaces()[2], SzValue("C:\\windows"));
    EXPECT_EQ(StoredPlaces()[3], SzValue("C:\\"));
}

TEST_F(MainWindowTest, TheListsFocusMovesWithTheSlot) {
    Open();
    Click(form->moveDownButton);
    Click(form->moveDownButton);
    EXPECT_EQ(form->CurrentSlot(), 2);
    EXPECT_EQ(SendMessageW(form->placesList.Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 2);
}

// A quick double click on a picture acts once, as on its first click (the
// buttons' double clicks act twice: see the random sequences).
TEST_F(MainWindowTest, ADoubleClickOnAPictureActsOnce) {
    Open();
    int logo = 0, banner = 0;
    form->logo.OnClick = [&] { ++logo; };
    form->banner.OnClick = [&] { ++banner; };
    for (widgets::Picture* picture : {&form->logo, static_cast<widgets::Picture*>(&form->banner)}) {
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
            SendMessageW(picture->Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(4, 4));
        }
    }
    PumpMessages();
    EXPECT_EQ(logo, 1);
    EXPECT_EQ(banner, 1);
}

TEST_F(MainWindowTest, RestoreDefaultsAsksFirst) {
    PutPlace(0, REG_SZ, Sz("C:\\windows\\"));
    PutPlace(1, REG_DWORD, Dword(39));
    Open();
    SelectSlot(1);
    PickRow(0x21);  // Cookies
    const Strings before = Captions();

    int answer = IDNO;
    ModalBoxes boxes([&](const SeenBox& box) { return ModalBoxes::ButtonId(box.window, answer == IDNO ? "No" : "Yes"); });
    Click(form->restoreButton);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].caption, "Confirm");
    EXPECT_EQ(boxes.seen[0].text, "Are you sure you want to restore your custom places to the default settings?");
    EXPECT_EQ(boxes.seen[0].icon, LoadIcon(nullptr, IDI_QUESTION));
    EXPECT_EQ(boxes.seen[0].buttons, (Strings{"&Yes", "&No"}));
    const RECT r = boxes.seen[0].rect;
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2) << "centred on the screen";
    EXPECT_EQ(Captions(), before);
    EXPECT_EQ(registry.Get(kPlacesBarKey, "Place0"), SzValue("C:\\windows\\"));

    SelectSlot(0);
    answer = IDYES;
    Click(form->restoreButton);
    ASSERT_EQ(boxes.seen.size(), 2u);
    EXPECT_FALSE(registry.KeyExists(kPlacesBarKey));
    EXPECT_EQ(Captions(), ShellsDefaultCaptions());
    // Slot 0 was selected: its restored values show all the same.
    EXPECT_TRUE(form->specialKind.Checked());
    EXPECT_EQ(form->pathEdit.Text(), "");
    EXPECT_EQ(form->catalogue.SelectedIndex(), 0);
    EXPECT_FALSE(form->changeFolderButton.Enabled());
}

TEST_F(MainWindowTest, EscapeInTheQuestionAnswersNo) {
    PutPlace(0, REG_DWORD, Dword(39));
    Open();
    ModalBoxes boxes([](const SeenBox& box) {
        PostMessageW(GetDlgItem(box.window, IDYES), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        return 0;
    });
    Click(form->restoreButton);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(ItemText(form->placesList, 0), ShellsOwnName(0x27));
    EXPECT_TRUE(registry.KeyExists(kPlacesBarKey));
}

TEST_F(MainWindowTest, EscapeAndTheCloseBoxSaveAndClose) {
    Open();
    SelectSlot(3);
    PickRow(0x26);  // Program Files
    SetFocus(form->placesList.Handle());
    PostMessageW(form->placesList.Handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PumpMessages();
    EXPECT_EQ(form->Handle(), nullptr);
    EXPECT_EQ(StoredPlaces()[3], DwordValue(38));

    registry.Reset();
    Open();
    SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_EQ(form->Handle(), nullptr);
    EXPECT_EQ(StoredPlaces()[3], DwordValue(17));
}

// A save that fails is told with what failed, one way wherever it runs:
// closing asks whether to close without saving (No, the default, keeps the
// window and the edits), a preview opens no dialog.
TEST_F(MainWindowTest, AFailedSaveIsToldAndAsksBeforeClosing) {
    MemoryRegistry* memory = OpenOnMemory();
    memory->failingWrites = {"Place2"};
    const std::string told = "Unable to save the custom places to the registry!\n\nFailed to set data for 'Place2'\nError 5";  // and the store's words for why
    bool closeAnyway = false, enterKeeps = false;
    ModalBoxes boxes([&](const SeenBox& box) {
        if (box.buttons.size() == 1) return IDOK;
        enterKeeps = GetWindowLongW(GetDlgItem(box.window, IDNO), GWL_STYLE) & BS_DEFPUSHBUTTON;
        // Anything else (a preview's dialog, opened after all) is seen and closed.
        const int button = ModalBoxes::ButtonId(box.window, closeAnyway ? "Yes" : "No");
        return button ? button : IDCANCEL;
    });
    Exit();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].caption, "Unable to Save");
    EXPECT_EQ(boxes.seen[0].text, told + "\n\nClose Quenmar without saving your changes?");
    EXPECT_EQ(boxes.seen[0].icon, LoadIcon(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(boxes.seen[0].buttons, (Strings{"&Yes", "&No"}));
    EXPECT_TRUE(enterKeeps) << "No is the default button";
    EXPECT_NE(form->Handle(), nullptr) << "No keeps the window open";

    Click(form->previewButton);
    ASSERT_EQ(boxes.seen.size(), 2u) << "the failure alone, no dialog";
    EXPECT_EQ(boxes.seen[1].text, told);
    EXPECT_EQ(boxes.seen[1].caption, "Unable to Save");

    // A restore that fails: asked first (Yes), then told; the window shows
    // the defaults, which Exit would write.
    memory->CreateKey(kPlacesBarKey);
    memory->failDeletes = true;
    closeAnyway = true;
    Click(form->restoreButton);
    ASSERT_EQ(boxes.seen.size(), 4u);
    EXPECT_EQ(boxes.seen[3].text, "Unable to remove the custom places from the registry! The window shows the default "
                                  "places, which Quenmar stores when it saves.\n\nFailed to delete the key '" +
                                      std::string(kPlacesBarKey) + "'\nError 5");
    EXPECT_EQ(boxes.seen[3].caption, "Unable to Save");
    EXPECT_EQ(ItemText(form->placesList, 2), ShellsOwnName(kCatalogueCsidls[2])) << "the defaults shown";

    Exit();
    ASSERT_EQ(boxes.seen.size(), 5u);
    EXPECT_EQ(form->Handle(), nullptr) << "Yes closes without saving";
}

// The session's end, as Windows tells it: the edits are saved with the
// preview open; a save that fails shows no box the session would wait for,
// but holds the session with its reason, and is told if the session goes on.
TEST_F(MainWindowTest, TheSessionsEndSavesWithoutABox) {
    MemoryRegistry* saved = OpenOnMemory();
    SelectSlot(3);
    PickRow(0x00);  // Desktop
    int writesAtQuery = -1, writesAtEnd = -1;
    LRESULT answer = FALSE;
    ModalBoxes preview([&](const SeenBox& box) {
        if (box.caption != "Test Dialog") return IDOK;
        const int before = saved->writeCount;  // the preview's own save is done
        answer = SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        writesAtQuery = saved->writeCount - before;
        SendMessageW(form->Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        writesAtEnd = saved->writeCount - before - writesAtQuery;
        return IDCANCEL;
    });
    Click(form->previewButton);
    EXPECT_EQ(answer, TRUE);
    EXPECT_EQ(writesAtQuery, 6) << "the five places and the flag, with the preview open";
    EXPECT_EQ(writesAtEnd, 6) << "and again at the end";
    EXPECT_EQ(saved->Find(kPlacesBarKey, "Place3")->data, Dword(0));
    ASSERT_EQ(preview.seen.size(), 1u) << "the preview alone";

    MemoryRegistry* memory = OpenOnMemory();
    memory->failingWrites = {"Place2"};
    AcceptedBoxes boxes;
    EXPECT_EQ(SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    // (The reason given cannot be read back here: Wine's ShutdownBlockReasonQuery is a stub.)
    EXPECT_EQ(SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_CRITICAL), TRUE)
        << "nothing holds a critical end";
    SendMessageW(form->Handle(), WM_ENDSESSION, TRUE, ENDSESSION_CRITICAL);
    EXPECT_TRUE(boxes.seen.empty()) << "no box at the session's end";
    EXPECT_EQ(SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    SendMessageW(form->Handle(), WM_ENDSESSION, FALSE, 0);
    PumpMessages();
    ASSERT_EQ(boxes.seen.size(), 1u) << "the session goes on: told";
    EXPECT_EQ(boxes.seen[0].text, "Unable to save the custom places to the registry!\n\nFailed to set data for 'Place2'\nError 5");
    memory->failingWrites.clear();
    Exit();
}

TEST_F(MainWindowTest, ResizingFollowsTheAnchorsAndNeverShrinks) {
    Open();
    const SIZE start = form->OuterSize();
    auto rectOf = [](widgets::Control& c) { return c.Rect(); };
    const RECT places = rectOf(form->placesList), edit = rectOf(form->pathEdit),
               catalogue = rectOf(form->catalogue), preview = rectOf(form->previewButton),
               logo = rectOf(form->logo), up = rectOf(form->moveUpButton), hide = rectOf(form->hideBox),
               exitButton = rectOf(form->exitButton), hint = rectOf(form->dropHint), title = rectOf(form->title);
    SetWindowPos(form->Handle(), nullptr, 0, 0, start.cx + 100, start.cy + 60, SWP_NOMOVE | SWP_NOZORDER);
    auto moved = [](RECT a, RECT b) { return std::make_pair(b.left - a.left, b.top - a.top); };
    auto grown = [](RECT a, RECT b) {
        return std::make_pair((b.right - b.left) - (a.right - a.left), (b.bottom - b.top) - (a.bottom - a.top));
    };
    using P = std::pair<LONG, LONG>;
    EXPECT_EQ(grown(places, rectOf(form->placesList)), P(0, 60));
    EXPECT_EQ(grown(edit, rectOf(form->pathEdit)), P(100, 0));
    EXPECT_EQ(grown(hint, rectOf(form->dropHint)), P(100, 0));
    EXPECT_EQ(grown(catalogue, rectOf(form->catalogue)), P(100, 60));
    EXPECT_EQ(moved(preview, rectOf(form->previewButton)), P(100, 0));
    EXPECT_EQ(moved(logo, rectOf(form->logo)), P(100, 0));
    EXPECT_EQ(moved(up, rectOf(form->moveUpButton)), P(0, 60));
    EXPECT_EQ(moved(hide, rectOf(form->hideBox)), P(0, 60));
    EXPECT_EQ(moved(exitButton, rectOf(form->exitButton)), P(100, 60));
    EXPECT_EQ(moved(title, rectOf(form->title)), P(0, 0));

    SetActiveWindow(form->Handle());
    MINMAXINFO info{};
    SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, start.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, start.cy);
}

// The keyboard never loses its place: a move to the top or the bottom hands
// the focus to the other move button, and a window opened from the main
// window gives it back, when it closes, to the control it was opened from.
TEST_F(MainWindowTest, TheKeyboardKeepsItsPlace) {
    Open();
    const auto press = [](widgets::Control& control) {
        SetFocus(control.Handle());
        PostMessageW(control.Handle(), WM_KEYDOWN, VK_SPACE, 0x00390001);
        PostMessageW(control.Handle(), WM_KEYUP, VK_SPACE, 0xC0390001);
        PumpMessages();
    };
    SelectSlot(1);
    press(form->moveUpButton);
    EXPECT_EQ(GetFocus(), form->moveDownButton.Handle()) << "Move Up, now at the top";
    SelectSlot(3);
    press(form->moveDownButton);
    EXPECT_EQ(GetFocus(), form->moveUpButton.Handle()) << "Move Down, now at the bottom";
    SelectSlot(2);
    Click(form->folderKind);
    SetFocus(form->browseButton.Handle());
    // The special kind chosen without the focus moving: the focused button is disabled.
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(form->specialKind.Id(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(form->specialKind.Handle()));
    EXPECT_EQ(GetFocus(), form->previewButton.Handle()) << "the next control that can take it";

    // Each window opened from the main one is closed from its title bar as
    // soon as it is up; the export comes from the system menu.
    constexpr UINT kExportCommand = 0x0110;
    const std::pair<widgets::Control*, UINT> openers[] = {{&form->previewButton, 0}, {&form->restoreButton, 0},
                                                          {&form->aboutButton, 0}, {&form->browseButton, 0},
                                                          {&form->aboutButton, kExportCommand}};
    Click(form->folderKind);
    for (const auto& [from, systemCommand] : openers) {
        SetFocus(systemCommand ? from->Handle() : form->placesList.Handle());
        CloseWhenOpened(form->Handle());
        systemCommand ? void(SendMessageW(form->Handle(), WM_SYSCOMMAND, systemCommand, 0)) : press(*from);
        PumpMessages();
        EXPECT_EQ(GetFocus(), from->Handle()) << from->Text() << (systemCommand ? ", exported" : "");
    }
}

// A screen reader hears a name for every input (the picker's tree: with its
// keys).
TEST_F(MainWindowTest, EveryInputHasANameForScreenReaders) {
    Open();
    EXPECT_EQ(AccessibleName(form->placesList.Handle()), L"Places");
    EXPECT_EQ(AccessibleName(form->pathEdit.Handle()), L"Folder path");
    EXPECT_EQ(AccessibleName(form->catalogue.Handle()), L"Special folders");
}

TEST_F(MainWindowTest, TabOrderAsDesigned) {
    PutPlace(0, REG_SZ, Sz("C:\\windows\\"));
    Open();
    SelectSlot(1);  // every button can be reached: not the first slot, a folder slot below
    SelectSlot(0);
    Click(form->folderKind);
    SelectSlot(2);
    Click(form->folderKind);
    // Of the two radio buttons, Tab reaches the checked one; the arrow keys
    // move between them.
    const std::vector<const widgets::Control*> expected = {
        &form->placesList, &form->folderKind, &form->pathEdit,
        &form->browseButton, &form->previewButton, &form->restoreButton, &form->exitButton, &form->moveUpButton,
        &form->moveDownButton, &form->changeFolderButton, &form->aboutButton, &form->hideBox,
        &form->banner};  // the banner, for its web site, after the specified stops
    // The catalogue is disabled while the folder kind is chosen, so Tab passes it by.
    HWND at = form->placesList.Handle();
    for (size_t i = 1; i < expected.size(); ++i) {
        at = GetNextDlgTabItem(form->Handle(), at, FALSE);
        EXPECT_EQ(at, expected[i]->Handle()) << "stop " << i;
    }
    EXPECT_EQ(GetNextDlgTabItem(form->Handle(), at, FALSE), form->placesList.Handle()) << "and round again";

    // The arrow key moves to the other radio button of the pair, and checks it.
    SetFocus(form->folderKind.Handle());
    PostMessageW(form->folderKind.Handle(), WM_KEYDOWN, VK_DOWN, 0x00500001);
    PumpMessages();
    EXPECT_TRUE(form->specialKind.Checked());
    EXPECT_EQ(GetFocus(), form->specialKind.Handle());
    Click(form->folderKind);

    SelectSlot(3);  // a special folder: the other radio button and the catalogue
    at = GetNextDlgTabItem(form->Handle(), form->placesList.Handle(), FALSE);
    EXPECT_EQ(at, form->specialKind.Handle());
    EXPECT_EQ(GetNextDlgTabItem(form->Handle(), at, FALSE), form->catalogue.Handle());
}

// What the pictures do: the banner opens the help (here a batch file
// that leaves a mark), the logo the About window.
TEST_F(MainWindowTest, TheBannerOpensTheHelpAndTheLogoAbout) {
    const std::string site = "C:\\quenmar-site.bat", mark = "C:\\quenmar-site.txt";
    DeleteFileW(win::Wide(mark).c_str());
    std::ofstream(site, std::ios::binary) << "@echo opened> " << mark << "\r\n";
    Open({}, site);
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(form->banner.Id(), STN_CLICKED),
                 reinterpret_cast<LPARAM>(form->banner.Handle()));
    bool opened = false;
    for (DWORD start = GetTickCount(); !opened && GetTickCount() - start < 30000; Sleep(50)) {
        opened = GetFileAttributesW(win::Wide(mark).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    EXPECT_TRUE(opened) << "the banner ran its address";
    bool aboutShown = false;
    Soon([&] {
        aboutShown = FindWindowW(L"TfrmQuenmarAbout", nullptr) != nullptr;
        CloseWhenOpened(form->Handle());
    });
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(form->logo.Id(), STN_CLICKED),
                 reinterpret_cast<LPARAM>(form->logo.Handle()));
    EXPECT_TRUE(aboutShown) << "the logo opens About";
    DeleteFileW(win::Wide(site).c_str());
    DeleteFileW(win::Wide(mark).c_str());
}

// F1 opens the help from every window, whatever control has the focus:
// the main window, About and the folder picker.
TEST_F(MainWindowTest, F1InEveryWindowOpensTheHelp) {
    std::vector<HWND> asked;
    widgets::Application::Instance().SetHelp([&](HWND owner) { asked.push_back(owner); });
    const win::ScopeExit noHelp([] { widgets::Application::Instance().SetHelp({}); });
    const auto pressF1 = [](HWND window) {
        PostMessageW(window, WM_KEYDOWN, VK_F1, 0x003B0001);
        PostMessageW(window, WM_KEYUP, VK_F1, 0xC03B0001);
    };
    Open();
    SetFocus(form->pathEdit.Handle());
    pressF1(form->pathEdit.Handle());
    PumpMessages();
    HWND about = nullptr, picker = nullptr;
    Soon([&] {
        about = FindWindowW(L"TfrmQuenmarAbout", nullptr);
        pressF1(GetFocus());
        Soon([&] { SendMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0); });
    });
    SendMessageW(form->aboutButton.Handle(), BM_CLICK, 0, 0);
    SelectSlot(1);
    SendMessageW(form->folderKind.Handle(), BM_CLICK, 0, 0);
    Soon([&] {
        auto* window = ShownForm<FolderPickerWindow>(L"TSelectFolderForm");
        if (!window) return ADD_FAILURE() << "no picker";
        picker = window->Handle();
        pressF1(GetFocus());
        Soon([window] { window->SetModalResult(IDCANCEL); });
    });
    SendMessageW(form->browseButton.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(asked, (std::vector<HWND>{form->Handle(), about, picker}));
}

// A double click on a folder place opens the picker on that folder, by its
// expanded path where the place keeps it unexpanded.
TEST_F(MainWindowTest, ADoubleClickOnAFolderPlaceBrowsesFromItsExpandedPath) {
    PutPlace(1, REG_EXPAND_SZ, Sz("%SystemRoot%\\system32"));
    Open();
    SelectSlot(1);
    std::string opened;
    Soon([&] {
        auto* picker = ShownForm<FolderPickerWindow>(L"TSelectFolderForm");
        if (!picker) return ADD_FAILURE() << "no picker";
        opened = picker->Tree().NodePath(picker->Tree().Selected());
        picker->SetModalResult(IDCANCEL);
    });
    NMHDR click{form->placesList.Handle(), static_cast<UINT_PTR>(form->placesList.Id()),
                static_cast<UINT>(NM_DBLCLK)};
    SendMessageW(form->Handle(), WM_NOTIFY, click.idFrom, reinterpret_cast<LPARAM>(&click));
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(win::Wide(opened).size() ? CharLowerW(win::Wide(opened).data()) : std::wstring(),
              std::wstring(CharLowerW(system)));
    Exit();
    EXPECT_EQ(StoredPlaces()[1], (RawValue{REG_EXPAND_SZ, Sz("%SystemRoot%\\system32")})) << "kept as it was";
}

// A new scale gives the windows new fonts and the pictures drawn for it,
// not only new rectangles.
TEST_F(MainWindowTest, ADpiChangeBringsFontsAndPicturesOfTheNewScale) {
    Open();
    const auto fontHeight = [](HWND control) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        return font.lfHeight;
    };
    const auto bitmapWidth = [](HWND picture) {
        BITMAP bitmap{};
        GetObjectW(reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)), sizeof bitmap,
                   &bitmap);
        return bitmap.bmWidth;
    };
    ASSERT_EQ(fontHeight(form->title.Handle()), -19);
    ASSERT_EQ(bitmapWidth(form->banner.Handle()), 220);
    ChangeDpi(form->Handle(), 96, 144);
    EXPECT_EQ(fontHeight(form->title.Handle()), -19 * 3 / 2 - 1) << "the title's font at 150%";
    EXPECT_EQ(fontHeight(form->pathEdit.Handle()), -17) << "the window's font at 150%";
    EXPECT_EQ(bitmapWidth(form->banner.Handle()), 330) << "the banner drawn for 150%";
    EXPECT_EQ(bitmapWidth(form->logo.Handle()), 108);

    // The picker and About opened from it, and moved to 200%.
    SelectSlot(4);
    Click(form->folderKind);
    Soon([&] {
        auto* picker = ShownForm<FolderPickerWindow>(L"TSelectFolderForm");
        if (!picker) return ADD_FAILURE() << "no picker";
        ChangeDpi(picker->Handle(), 96, 192);
        EXPECT_EQ(fontHeight(picker->Tree().Handle()), -22);
        int cx = 0, cy = 0;
        const HWND toolbar = FindWindowExW(picker->Handle(), nullptr, TOOLBARCLASSNAMEW, nullptr);
        ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0)), &cx, &cy);
        EXPECT_EQ(cx, 32) << "the tool glyphs drawn for 200%";
        picker->SetModalResult(IDCANCEL);
    });
    Click(form->browseButton);
    Soon([&] {
        auto* about = ShownForm<AboutWindow>(L"TfrmQuenmarAbout");
        if (!about) return ADD_FAILURE() << "no About";
        ChangeDpi(about->Handle(), 96, 192);
        EXPECT_EQ(fontHeight(FoundControl<widgets::FlatButton>(*about, AboutWindow::kOkButton).Handle()), -22);
        // The logo's picture drawn for 200%, shown pixel for pixel where it
        // is not transparent (its bottom left pixel's colour).
        const win::UniqueGdiObject logo(widgets::LoadPicture(L"ABOUTLOGO", 192));
        const win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        const win::SelectedObject onLogo(dc.get(), logo.get());
        const COLORREF clear = GetPixel(dc.get(), 0, about->Scale(96) - 1);
        UpdateWindow(about->Handle());
        const ScreenPixels shown(about->Handle());
        int compared = 0, differ = 0;
        for (int y = 0; y < about->Scale(96); y += 3) {
            for (int x = 0; x < about->Scale(96); x += 3) {
                const COLORREF pixel = GetPixel(dc.get(), x, y);
                if (pixel == clear) continue;
                ++compared;
                differ += shown.At(about->Scale(11) + x, about->Scale(12) + y) != pixel;
            }
        }
        EXPECT_GT(compared, 500);
        EXPECT_EQ(differ, 0) << "the logo drawn for 200%";
        about->SetModalResult(IDOK);
    });
    Click(form->aboutButton);
}

}  // namespace
}  // namespace quenmar::testing
