#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include <algorithm>
#include <array>

#include "Accessibility.h"
#include "CatalogueTable.h"
#include "FileBytes.h"
#include "RealRegistry.h"
#include "Remote.h"
#include "PolicyBytes.h"
#include "ShellOracle.h"
#include "app/AppTexts.h"
#include "folderpicker/FolderPickerResources.h"
#include "places/Texts.h"
#include "win32/WideText.h"

namespace quenmar::e2e {
namespace {

using testing::DwordValue;
using testing::RawValue;
using testing::Sz;
using testing::SzValue;
using Strings = std::vector<std::string>;

std::string DriveName(const wchar_t* root) {
    SHFILEINFOW info{};
    SHGetFileInfoW(root, 0, &info, sizeof info, SHGFI_DISPLAYNAME);
    return win::Utf8(info.szDisplayName);
}

class Quenmar : public ::testing::Test {
protected:
    void SetUp() override { registry.Reset(); }
    void TearDown() override {
        app.reset();
        registry.Reset();
    }

    void Start(const std::string& arguments = "") {
        app = std::make_unique<QuenmarProcess>(arguments);
        main = app->MainWindow();
        for (HWND list : Children(main, "SysListView32")) {
            ((GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT ? catalogue : places) = list;
        }
        ASSERT_NE(places, nullptr);
        ASSERT_NE(catalogue, nullptr);
        ASSERT_NO_FATAL_FAILURE(WaitForAnswers());
    }
    // The shell's answers about the places and the special folders come after
    // the first paint, each with its icon (none is shown before): until every
    // place and row has one.
    void WaitForAnswers() {
        const auto allIn = [&] {
            for (HWND list : {places, catalogue}) {
                for (int i = 0; i < app->ListViewCount(list); ++i) {
                    // A place a policy does not set asks nothing, and has no icon.
                    if (list == places && app->ListViewText(list, i) == "Not set") continue;
                    if (app->ListViewImage(list, i) < 0) return false;
                }
            }
            return true;
        };
        for (DWORD start = GetTickCount(); !allIn() && GetTickCount() - start < 10000;) Sleep(20);
        ASSERT_TRUE(allIn()) << "the shell answered about every place and special folder";
        AwaitDrawn(main);
    }
    // The default slots' captions: the shell's names of their folders.
    static Strings ShellsDefaultCaptions() {
        Strings captions;
        for (int n = 0; n < 5; ++n) captions.push_back(testing::ShellsOwnName(testing::kCatalogueCsidls[n]));
        return captions;
    }
    HWND Button(const std::string& text) {
        const HWND button = FindChild(main, "Button", text);
        EXPECT_NE(button, nullptr) << text;
        return button;
    }
    Strings Captions() {
        Strings captions;
        for (int i = 0; i < app->ListViewCount(places); ++i) captions.push_back(app->ListViewText(places, i));
        return captions;
    }
    void SelectSlot(int slot) {
        Key(places, VK_HOME);
        for (int i = 0; i < slot; ++i) Key(places, VK_DOWN);
        Await(main, [&] { return app->ListViewSelected(places) == slot; });
        ASSERT_EQ(app->ListViewSelected(places), slot);
    }
    void PickRow(int row) {
        Key(catalogue, VK_HOME);
        for (int i = 0; i < row; ++i) Key(catalogue, VK_DOWN);
        Await(main, [&] { return app->ListViewSelected(catalogue) == row; });
        ASSERT_EQ(app->ListViewSelected(catalogue), row);
    }
    // Until a window the main window opened is gone and the main window takes
    // input again.
    void AwaitClosed(HWND window) {
        Await(main, [&] { return !IsWindow(window) && IsWindowEnabled(main); });
        EXPECT_FALSE(IsWindow(window));
    }
    // Presses a button of the main window and waits for the window it opens.
    HWND Opened(const std::string& button, const char* className, const std::string& caption) {
        Click(Button(button));
        const HWND window = WaitForWindow(ProcessOf(main), className, caption);
        EXPECT_NE(window, nullptr) << caption << " did not open";
        if (window) AwaitDrawn(window);
        return window;
    }
    // Opens the preview, checks what its file name box says, reads its Places
    // Bar and cancels it.
    Strings Preview(const std::string& fileName, bool shoot = false) {
        const HWND dialog = Opened("&Preview...", "#32770", "Test Dialog");
        if (!dialog) return {};
        const Strings bar = app->PlacesBar(dialog);
        wchar_t name[MAX_PATH] = {};  // asked of the file name box, a combo box or an edit
        for (const int box : {0x047C, 0x0480}) {
            if (!name[0]) SendMessageTimeoutW(GetDlgItem(dialog, box), WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(name),
                                              SMTO_ABORTIFHUNG, 2000, nullptr);
        }
        EXPECT_EQ(win::Utf8(name), fileName);
        if (shoot) Screenshot(dialog, "preview");
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        AwaitClosed(dialog);
        return bar;
    }
    std::optional<RawValue> Stored(int n) { return registry.Get(kPlacesBarKey, PlaceValueName(n)); }

    testing::RealRegistryBackend registry;
    std::unique_ptr<QuenmarProcess> app;
    HWND main = nullptr;
    HWND places = nullptr;
    HWND catalogue = nullptr;
};

TEST_F(Quenmar, StartsWithTheDefaultsAndExitSavesThem) {
    Start();
    EXPECT_EQ(Text(main), "Quenmar - Version 1.0");
    EXPECT_EQ(Captions(), ShellsDefaultCaptions());
    EXPECT_EQ(app->ListViewCount(catalogue), 13);
    const std::string commonDocuments = testing::ShellsOwnName(0x2E);
    EXPECT_EQ(app->ListViewText(catalogue, 12).substr(0, commonDocuments.size()), commonDocuments);
    Screenshot(main, "main-window");
    Click(Button("E&xit"));
    ASSERT_TRUE(app->Exited(10000));
    EXPECT_EQ(app->ExitCode(), 0u);
    const uint32_t csidls[] = {34, 0, 5, 17, 18};
    for (int n = 0; n < 5; ++n) EXPECT_EQ(Stored(n), DwordValue(csidls[n])) << n;
    EXPECT_EQ(registry.Get(kComdlgPolicyKey, kNoPlacesBarValue), DwordValue(0));
}

TEST_F(Quenmar, EveryStoredFormLoadsAndSavesBack) {
    registry.Put(kPlacesBarKey, "Place0", REG_EXPAND_SZ, Sz("%WINDIR%\\system32"));
    registry.Put(kPlacesBarKey, "Place1", REG_SZ, Sz(""));
    registry.Put(kPlacesBarKey, "Place2", REG_DWORD, testing::Dword(8));
    registry.Put(kPlacesBarKey, "Place3", REG_BINARY, std::string("\1\2\3\4\5\6", 6));
    registry.Put(kComdlgPolicyKey, kNoPlacesBarValue, REG_DWORD, testing::Dword(2));
    Start();
    const HWND warning = WaitForWindow(ProcessOf(main), "#32770", "Quenmar");
    ASSERT_NE(warning, nullptr) << "the replaced value is told";
    EXPECT_NE(Text(GetDlgItem(warning, 0xFFFF)).find("Place3"), std::string::npos);
    PostMessageW(warning, WM_COMMAND, IDOK, 0);
    ASSERT_NO_FATAL_FAILURE(WaitForAnswers());
    const std::string recent = testing::ShellsOwnName(8);
    // Wine's dialog reads the expandable value unexpanded: left out, it shows its text.
    EXPECT_EQ(Captions(), (Strings{"%WINDIR%\\system32", testing::ShellsOwnNameOf(L"C:\\"),
                                   recent.empty() ? "Unknown" : recent, testing::ShellsOwnName(0x11),
                                   testing::ShellsOwnName(0)}));
    SelectSlot(2);  // the unlisted special folder keeps its number
    Key(places, VK_ESCAPE);
    ASSERT_TRUE(app->Exited(10000));
    EXPECT_EQ(Stored(0), (RawValue{REG_EXPAND_SZ, Sz("%WINDIR%\\system32")}));
    EXPECT_EQ(Stored(1), SzValue("C:\\"));
    EXPECT_EQ(Stored(2), DwordValue(8));
    EXPECT_EQ(Stored(3), DwordValue(17));
    EXPECT_EQ(Stored(4), DwordValue(0));
    EXPECT_EQ(registry.Get(kComdlgPolicyKey, kNoPlacesBarValue), DwordValue(0));
}

// Places named in Cyrillic, Chinese and emoji, as another program stored
// them, read through the window from outside and written back unchanged.
TEST_F(Quenmar, NamesInAnyScriptAreShownAndKept) {
    const std::u16string paths[] = {u"C:\\quenmar-uni\\Папка\\", u"C:\\quenmar-uni\\文件夹\\",
                                    u"C:\\quenmar-uni\\Проект 😀 Ω\\"};
    CreateDirectoryW(L"C:\\quenmar-uni", nullptr);
    for (int n = 0; n < 3; ++n) {
        CreateDirectoryW(reinterpret_cast<const wchar_t*>(paths[n].c_str()), nullptr);
        registry.Put(kPlacesBarKey, PlaceValueName(n), REG_SZ, Sz(paths[n]));
    }
    Start();
    EXPECT_EQ(app->ListViewTextW(places, 0), L"Папка");
    EXPECT_EQ(app->ListViewTextW(places, 1), L"文件夹");
    EXPECT_EQ(app->ListViewTextW(places, 2), L"Проект 😀 Ω");
    Screenshot(main, "main-window-unicode");
    EXPECT_EQ(Preview("This is only a test. Test the Items to the Left"),
              (Strings{"Папка", "文件夹", "Проект 😀 Ω", "Desktop", "Desktop"}));
    SelectSlot(2);
    SelectSlot(0);
    Key(places, VK_ESCAPE);
    ASSERT_TRUE(app->Exited(10000));
    for (int n = 0; n < 3; ++n) EXPECT_EQ(Stored(n), SzValue(paths[n])) << n;
    for (int n = 2; n >= 0; --n) RemoveDirectoryW(reinterpret_cast<const wchar_t*>(paths[n].c_str()));
    RemoveDirectoryW(L"C:\\quenmar-uni");
}

// Every place shown as the Open dialog shows it, the dialog the oracle: for
// each set of stored values, the dialog's Places Bar has a button for each
// slot the window does not mark (as a screen reader hears it), in order,
// captioned as the slot is, and none for a marked one.
TEST_F(Quenmar, ShowsEveryPlaceAsTheOpenDialogDoes) {
    struct Value {
        std::string shown;  // for the table this test prints
        RawValue stored;
    };
    const auto sz = [](const char* text) { return Value{text, RawValue{REG_SZ, Sz(text)}}; };
    const auto csidl = [](uint32_t n) { return Value{"CSIDL " + std::to_string(n), DwordValue(n)}; };
    CreateDirectoryW(L"C:\\quenmar-oracle", nullptr);
    const std::vector<std::vector<Value>> rounds = {
        {csidl(0x05), sz("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"), sz("C:\\no\\such\\folder\\"),
         sz("MyComputer"), csidl(0x3D)},
        {sz("shell:::{645FF040-5081-101B-9F08-00AA002F954E}"), Value{"C:\\ (expandable)", {REG_EXPAND_SZ, Sz("C:\\")}},
         sz("C:\\quenmar-oracle\\"), csidl(0x11), sz("shell:Downloads")},
        {csidl(0x27), csidl(0x2E), Value{"%SystemDrive%\\ (expandable)", {REG_EXPAND_SZ, Sz("%SystemDrive%\\")}},
         sz("::{645FF040-5081-101B-9F08-00AA002F954E}"), sz("Desktop")},
    };
    for (const auto& values : rounds) {
        registry.Reset();
        for (int n = 0; n < kSlotCount; ++n) {
            registry.Put(kPlacesBarKey, PlaceValueName(n), values[n].stored.type, values[n].stored.data);
        }
        Start();
        const Strings captions = Captions();
        Strings expected;
        for (int n = 0; n < kSlotCount; ++n) {
            const bool marked = !testing::AccessibleDescription(places, n + 1).empty();
            if (!marked) expected.push_back(captions[n]);
        }
        const Strings bar = Preview("This is only a test. Test the Items to the Left");
        EXPECT_EQ(bar, expected) << "the dialog's buttons, and the window's unmarked captions";
        for (int n = 0; n < kSlotCount; ++n) {
            const bool marked = !testing::AccessibleDescription(places, n + 1).empty();
            std::printf("| %s | %s | %s%s |\n", values[n].shown.c_str(), marked ? "(left out)" : captions[n].c_str(),
                        captions[n].c_str(), marked ? " (marked)" : "");
        }
        if (&values == &rounds.front()) {
            // The policy's name, selected, says why it is left out and offers, in
            // one click, My Computer, stored as its CSIDL.
            SelectSlot(3);
            AwaitDrawn(main);
            Screenshot(main, "main-window-left-out");
            const std::string standIn = "Use the special folder " + testing::ShellsOwnName(0x11) + " instead";
            const HWND link = FindChild(main, "Static", standIn);
            ASSERT_NE(link, nullptr) << standIn;
            PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
            Await(main, [&] { return Captions()[3] == testing::ShellsOwnName(0x11); });
            EXPECT_EQ(Captions()[3], testing::ShellsOwnName(0x11));
            EXPECT_EQ(testing::AccessibleDescription(places, 4), L"") << "no longer marked";
        }
        Key(places, VK_ESCAPE);
        ASSERT_TRUE(app->Exited(10000));
        if (&values == &rounds.front()) {
            EXPECT_EQ(registry.Get(kPlacesBarKey, "Place3"), DwordValue(0x11));
            EXPECT_EQ(registry.Get(kPlacesBarKey, "Place2"), values[2].stored) << "what the user did not change";
        }
    }
    RemoveDirectoryW(L"C:\\quenmar-oracle");
}

TEST_F(Quenmar, EditedSlotsShowInThePreviewAndCloseBoxSaves) {
    Start();
    SelectSlot(0);
    PickRow(1);  // Desktop
    SelectSlot(1);
    PickRow(3);  // My Computer
    SelectSlot(2);
    Click(Button("Use Drive or &Folder for Selected Place"));
    // The drive by the shell's name, once its answer is in (its text, shown
    // until then, may give way before it is seen).
    Await(main, [&] { return Captions()[2] == DriveName(L"C:\\"); });
    EXPECT_EQ(Captions()[2], DriveName(L"C:\\"));
    const Strings bar = Preview("This is only a test. Test the Items to the Left", true);
    EXPECT_EQ(bar, (Strings{"Desktop", "My Computer", DriveName(L"C:\\"), "My Computer", "My Network Places"}));
    EXPECT_EQ(Stored(2), SzValue("C:\\")) << "saved before the preview";
    Click(Button("&Hide Places Bar in Dialogs"));
    Await(main, [&] { return !IsWindowEnabled(places); });
    EXPECT_EQ(Preview("This is only a test."), Strings{}) << "no Places Bar when hidden";
    EXPECT_EQ(registry.Get(kComdlgPolicyKey, kNoPlacesBarValue), DwordValue(1));
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(app->Exited(10000));
    EXPECT_EQ(Stored(0), DwordValue(0));
    EXPECT_EQ(Stored(1), DwordValue(17));
    EXPECT_EQ(Stored(2), SzValue("C:\\"));
}

// A Group Policy Object's folder edited in the window: the caption says
// what is edited and the policy's places are shown; a save changes the
// entries of the places the user changed and adds those it lacked, keeps
// every other entry (markers among them) byte for byte and in its place,
// raises the user half of gpt.ini's version, and leaves the user's own
// registry alone.
TEST_F(Quenmar, AGroupPolicyObjectIsEditedInTheWindow) {
    using testing::Le32;
    using testing::PolicyEntryBytes;
    using testing::Units;
    const std::wstring gpo = L"C:\\quenmar-gpo";
    CreateDirectoryW(gpo.c_str(), nullptr);
    CreateDirectoryW((gpo + L"\\User").c_str(), nullptr);
    const std::string places = std::string(kPlacesBarKey), other = "Software\\Policies\\Quenmar Test";
    const std::string before = PolicyEntryBytes(other, "Text", 1, Units("x")) +
                               PolicyEntryBytes(other, "Expand", 2, Units("%TEMP%")) +
                               PolicyEntryBytes(other, "Binary", 3, std::string("\1\2\3", 3)) +
                               PolicyEntryBytes(other, "Many", 7, Units("a") + Units("b") + Units("")) +
                               PolicyEntryBytes(other, "Big", 11, std::string("\1\2\3\4\5\6\7\10", 8));
    const std::string markers = PolicyEntryBytes(other, "**del.Gone", 1, Units(" ")) +
                                PolicyEntryBytes(other, "**delvals.", 1, Units(" ")) +
                                PolicyEntryBytes(other, "**DeleteValues", 1, Units("a;b")) +
                                PolicyEntryBytes(other, "**DeleteKeys", 1, Units("Sub")) +
                                PolicyEntryBytes(other, "**SecureKey", 4, Le32(1));
    const std::string place1 = PolicyEntryBytes(places, "Place1", 1, Units("C:\\windows"));
    const auto write = [](const std::wstring& path, const std::string& bytes) {
        std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    };
    const auto read = [](const std::wstring& path) { return testing::FileBytes(path); };
    write(gpo + L"\\User\\Registry.pol",
          testing::kPolicyHeader + before + PolicyEntryBytes(places, "Place0", 4, Le32(17)) + markers + place1);
    write(gpo + L"\\gpt.ini", "[General]\r\nVersion=5\r\n");
    const std::string policyBefore = read(gpo + L"\\User\\Registry.pol");

    // Opened to look at and closed, it is left byte for byte, its version too.
    Start("/policy C:\\quenmar-gpo");
    EXPECT_EQ(Captions(), (Strings{testing::ShellsOwnName(17), testing::ShellsOwnNameOf(L"C:\\windows"), "Not set", "Not set",
                               "Not set"}));
    Click(Button("E&xit"));
    ASSERT_TRUE(app->Exited(10000));
    EXPECT_EQ(read(gpo + L"\\User\\Registry.pol"), policyBefore);
    EXPECT_EQ(read(gpo + L"\\gpt.ini"), "[General]\r\nVersion=5\r\n");

    Start("/policy C:\\quenmar-gpo");
    EXPECT_NE(Text(main).find(" - Group Policy: C:\\quenmar-gpo"), std::string::npos) << Text(main);
    Screenshot(main, "group-policy");
    EXPECT_EQ(Captions()[0], testing::ShellsOwnName(17));
    EXPECT_EQ(Captions()[1], testing::ShellsOwnNameOf(L"C:\\windows"));
    // The dialog shows the user's places: Preview says so, and saves nothing.
    Click(Button("&Preview..."));
    const HWND told = WaitForWindow(ProcessOf(main), "#32770", "Quenmar");
    ASSERT_NE(told, nullptr);
    EXPECT_NE(Text(GetDlgItem(told, 0xFFFF)).find("until Group Policy applies it"), std::string::npos);
    PostMessageW(told, WM_COMMAND, IDOK, 0);
    AwaitClosed(told);
    SelectSlot(0);
    PickRow(1);  // Desktop
    // Slot 1 removed from the policy with the Delete key.
    SelectSlot(1);
    Key(this->places, VK_DELETE);
    Await(main, [&] { return Captions()[1] == "Not set"; });
    EXPECT_EQ(Captions()[1], "Not set");
    Click(Button("E&xit"));
    ASSERT_TRUE(app->Exited(10000));
    EXPECT_EQ(app->ExitCode(), 0u);
    EXPECT_EQ(read(gpo + L"\\User\\Registry.pol"),
              testing::kPolicyHeader + before + PolicyEntryBytes(places, "Place0", 4, Le32(0)) + markers);
    EXPECT_EQ(read(gpo + L"\\gpt.ini"), "[General]\r\nVersion=65541\r\ngPCUserExtensionNames=[{35378EAC-683F-11D2-A89A-"
                                        "00C04FBBCFA2}{D02B1F73-3407-48AE-BA88-E8213C6761F1}]\r\n");
    EXPECT_FALSE(registry.Get(kPlacesBarKey, "Place0").has_value()) << "the user's own registry untouched";
    EXPECT_FALSE(registry.Get(kComdlgPolicyKey, kNoPlacesBarValue).has_value());
    DeleteFileW((gpo + L"\\User\\Registry.pol").c_str());
    DeleteFileW((gpo + L"\\gpt.ini").c_str());
    RemoveDirectoryW((gpo + L"\\User").c_str());
    RemoveDirectoryW(gpo.c_str());
}

TEST_F(Quenmar, RestoreMoveAndTheOtherWindows) {
    registry.Put(kPlacesBarKey, "Place0", REG_SZ, Sz("C:\\windows\\"));
    Start();
    Click(Button("Move Down"));
    Await(main, [&] { return app->ListViewSelected(places) == 1; });
    EXPECT_EQ(Captions()[1], "windows");
    EXPECT_EQ(app->ListViewSelected(places), 1);

    // The folder picker opens on the slot's folder.
    const HWND picker = Opened("Browse...", "TSelectFolderForm", "Select Folder or Drive");
    ASSERT_NE(picker, nullptr);
    Screenshot(picker, "folder-picker");
    PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
    AwaitClosed(picker);

    const HWND about = Opened("&About...", "TfrmQuenmarAbout", "About Quenmar");
    ASSERT_NE(about, nullptr);
    Screenshot(about, "about");
    Click(FindChild(about, "Button", "OK"));
    AwaitClosed(about);

    Click(Button("Restore &Defaults..."));
    const HWND confirm = WaitForWindow(ProcessOf(main), "#32770", "Confirm");
    ASSERT_NE(confirm, nullptr);
    PostMessageW(confirm, WM_COMMAND, IDYES, 0);
    Await(main, [&] { return Captions()[0] == "History"; });
    EXPECT_EQ(Captions(), ShellsDefaultCaptions());
    Click(Button("E&xit"));
    ASSERT_TRUE(app->Exited(10000));
    EXPECT_EQ(Stored(0), DwordValue(34));
    EXPECT_EQ(Stored(1), DwordValue(0));
}


// The session ends (Wine's wineboot sends what Windows sends at log-off)
// with edits made and the window open: they are stored as Exit stores them,
// and what the user did not touch is kept byte for byte.
TEST_F(Quenmar, EndingTheSessionSavesTheEdits) {
    registry.Put(kPlacesBarKey, "Place4", REG_EXPAND_SZ, Sz("%SystemRoot%\\"));
    Start();
    SelectSlot(0);
    PickRow(3);  // My Computer
    const HWND hide = Button("&Hide Places Bar in Dialogs");
    Click(hide);
    Await(main, [&] { return SendMessageW(hide, BM_GETCHECK, 0, 0) == BST_CHECKED; });
    EXPECT_EQ(testing::RunProgram(L"wineboot.exe --end-session"), 0u);
    ASSERT_TRUE(app->Exited(20000)) << "the session's end ends the program";
    EXPECT_EQ(Stored(0), DwordValue(17));
    EXPECT_EQ(Stored(4), (RawValue{REG_EXPAND_SZ, Sz("%SystemRoot%\\")}));
    EXPECT_EQ(registry.Get(kComdlgPolicyKey, kNoPlacesBarValue), DwordValue(1));
}

// Another program writes the settings while the window is open: a slot and
// a flag the user has not touched show the new values, and Exit keeps them;
// the slot the user changed meanwhile keeps the user's value. Twice, and
// with the Placesbar key deleted and made again between, so that the watch
// is seen to be armed again and to find the key again. The policies' key
// itself is not there when the window opens (a fresh profile).
TEST_F(Quenmar, AnotherProgramsChangesAreShownAndKept) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies");
    const std::wstring placesKey = L"HKCU\\" + win::Wide(kPlacesBarKey);
    const std::wstring policyKey = L"HKCU\\" + win::Wide(kComdlgPolicyKey);
    Start();
    SelectSlot(1);
    PickRow(3);  // the user's change: My Computer in slot 1
    Await(main, [&] { return Captions()[1] == testing::ShellsOwnName(0x11); });
    ASSERT_EQ(testing::RunProgram(L"reg.exe add \"" + placesKey + L"\" /v Place3 /t REG_SZ /d C:\\windows\\ /f"), 0u);
    ASSERT_EQ(testing::RunProgram(L"reg.exe add \"" + placesKey + L"\" /v Place1 /t REG_DWORD /d 5 /f"), 0u);
    ASSERT_EQ(testing::RunProgram(L"reg.exe add \"" + policyKey + L"\" /v NoPlacesBar /t REG_DWORD /d 1 /f"), 0u);
    const auto shows = [&](int slot, const std::string& caption) {
        Await(main, [&] { return Captions()[slot] == caption; });
        return Captions()[slot] == caption;
    };
    EXPECT_TRUE(shows(3, "windows")) << Captions()[3];
    Await(main, [&] { return !IsWindowEnabled(places); });
    EXPECT_FALSE(IsWindowEnabled(places)) << "the Places Bar is hidden now";
    EXPECT_EQ(Captions()[1], "My Computer") << "the user's own change stays";

    ASSERT_EQ(testing::RunProgram(L"reg.exe delete \"" + placesKey + L"\" /f"), 0u);
    EXPECT_TRUE(shows(3, "My Computer")) << "the default of slot 3, " << Captions()[3];
    ASSERT_EQ(testing::RunProgram(L"reg.exe add \"" + placesKey + L"\" /v Place2 /t REG_SZ /d C:\\users\\ /f"), 0u);
    EXPECT_TRUE(shows(2, "users")) << Captions()[2];
    Click(Button("E&xit"));
    ASSERT_TRUE(app->Exited(10000));
    EXPECT_EQ(Stored(1), DwordValue(17));
    EXPECT_EQ(Stored(2), SzValue("C:\\users\\"));
    EXPECT_EQ(registry.Get(kComdlgPolicyKey, kNoPlacesBarValue), DwordValue(1));
}

BOOL CALLBACK CountMainWindows(HWND window, LPARAM count) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (std::wstring_view(className) == L"TfrmQuenmar" && IsWindowVisible(window)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// A second start while the window is open brings that window forward and
// ends with 0; the command-line switches still work beside it.
TEST_F(Quenmar, ASecondStartBringsTheFirstForward) {
    Start();
    ShowWindow(main, SW_MINIMIZE);
    Await(main, [&] { return IsIconic(main) != FALSE; });
    ASSERT_TRUE(IsIconic(main));
    const std::wstring exe = L"\"" + win::Wide(ExeDirectory()) + L"\\Quenmar.exe\"";
    EXPECT_EQ(testing::RunProgram(exe), 0u);
    Await(main, [&] { return !IsIconic(main); });
    EXPECT_FALSE(IsIconic(main)) << "restored";
    int windows = 0;
    EnumWindows(CountMainWindows, reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(windows, 1);
    const std::string file = ExeDirectory() + "\\second.reg";
    DeleteFileW(win::Wide(file).c_str());
    EXPECT_EQ(testing::RunProgram(exe + L" /export \"" + win::Wide(file) + L"\" /quiet"), 0u);
    const std::string bytes = testing::FileBytes(file);
    std::u16string text((bytes.size()) / 2, u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    EXPECT_EQ(text.rfind(u"\uFEFFWindows Registry Editor Version 5.00\r\n", 0), 0u) << "the export's file";
    EXPECT_NE(text.find(u"\"Place0\"=dword:00000022\r\n"), std::u16string::npos) << "what is stored: the defaults";
    Click(Button("E&xit"));
    ASSERT_TRUE(app->Exited(10000));
}

// The system's DPI for the programs started while it lives.
struct SystemDpi {
    explicit SystemDpi(DWORD dpi) : dpi_(dpi) {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
    ~SystemDpi() { RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels"); }
    DWORD Dpi() const { return dpi_; }

private:
    DWORD dpi_;
};

// Every child of a window, in z-order, with its rectangle in the window's
// client coordinates.
using Placed = std::vector<std::pair<std::string, std::array<LONG, 4>>>;
Placed ChildRects(HWND window) {
    Placed rects;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        rects.push_back({Text(child), {r.left, r.top, r.right, r.bottom}});
    }
    return rects;
}

// At 144 and 192 dots per inch every window is laid out half as large again
// and twice as large, with its pictures drawn for the scale.
TEST_F(Quenmar, LaysOutForTheScale) {
    for (const int scale : {144, 192}) {
        SCOPED_TRACE(scale);
        const auto at = [&](int pixels96) { return MulDiv(pixels96, scale, 96); };
        const std::string suffix = "-" + std::to_string(scale) + "dpi";
        const SystemDpi dpi(scale);
        Start();
        RECT client{};
        GetClientRect(main, &client);
        EXPECT_EQ(client.right, at(598));
        EXPECT_EQ(client.bottom, at(429));
        // Nothing sticks out of the window or overlaps the Exit button.
        const HWND exitButton = Button("E&xit");
        RECT exitRect{};
        GetWindowRect(exitButton, &exitRect);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&exitRect), 2);
        for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child)) continue;
            RECT r{};
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_LE(r.right, client.right) << Text(child);
            EXPECT_LE(r.bottom, client.bottom) << Text(child);
            RECT overlap{};
            if (child != exitButton) {
                EXPECT_FALSE(IntersectRect(&overlap, &r, &exitRect)) << Text(child);
            }
        }
        Screenshot(main, "main-window" + suffix);

        const HWND folderKind = Button("Use Drive or &Folder for Selected Place");
        Click(folderKind);
        Await(main, [&] { return SendMessageW(folderKind, BM_GETCHECK, 0, 0) == BST_CHECKED; });
        const HWND picker = Opened("Browse...", "TSelectFolderForm", "Select Folder or Drive");
        ASSERT_NE(picker, nullptr);
        RECT pickerClient{};
        GetClientRect(picker, &pickerClient);
        EXPECT_GE(pickerClient.right, at(358));
        const HWND toolbar = Children(picker, "ToolbarWindow32").at(0);
        const HWND tree = Children(picker, "SysTreeView32").at(0);
        RECT toolbarRect{}, treeRect{};
        GetWindowRect(toolbar, &toolbarRect);
        GetWindowRect(tree, &treeRect);
        EXPECT_GT(treeRect.top, toolbarRect.bottom - 1) << "the tree starts below the tool buttons";
        Screenshot(picker, "folder-picker" + suffix);
        PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
        AwaitClosed(picker);

        const HWND about = Opened("&About...", "TfrmQuenmarAbout", "About Quenmar");
        ASSERT_NE(about, nullptr);
        GetClientRect(about, &client);
        EXPECT_EQ(client.right, at(423));
        Screenshot(about, "about" + suffix);
        Click(FindChild(about, "Button", "OK"));
        AwaitClosed(about);
        Click(Button("E&xit"));
        ASSERT_TRUE(app->Exited(10000));
        app.reset();
    }
}

// A window moved to a monitor of another scale lays itself out as a window
// started at that scale does, and back again.
TEST_F(Quenmar, ADpiChangeLaysOutAsAWindowStartedAtThatDpi) {
    Placed at144;
    RECT client144{};
    {
        const SystemDpi dpi(144);
        Start();
        at144 = ChildRects(main);
        GetClientRect(main, &client144);
        Key(places, VK_ESCAPE);
        ASSERT_TRUE(app->Exited(10000));
    }
    Start();
    const auto at96 = ChildRects(main);
    RECT outer{}, client{};
    GetWindowRect(main, &outer);
    GetClientRect(main, &client);
    // The frame stays as this system draws it; the client area is the other window's.
    const RECT suggested{outer.left, outer.top, outer.right + client144.right - client.right,
                         outer.bottom + client144.bottom - client.bottom};
    app->SendRect(main, WM_DPICHANGED, MAKEWPARAM(144, 144), suggested);
    Await(main, [&] { return ChildRects(main) == at144; });
    EXPECT_EQ(ChildRects(main), at144);
    app->SendRect(main, WM_DPICHANGED, MAKEWPARAM(96, 96), outer);
    Await(main, [&] { return ChildRects(main) == at96; });
    EXPECT_EQ(ChildRects(main), at96);
    Screenshot(main, "main-window-after-dpi-changes");
}

// The session's language is the locale this test runs in (a program that
// Wine starts inherits its starter's): ctest runs it once for each locale.
// Each locale's texts are the string table of its language in the exe, and
// a locale of a language the program lacks reads English's.
struct Spoken {
    const char* locale;
    const char* name;  // of the screenshots
    LANGID language;
    bool rightToLeft = false;  // its windows mirrored
    // The text of the program's table of this language.
    std::string Text(UINT id, std::initializer_list<std::string_view> arguments = {}) const {
        const HMODULE exe = LoadLibraryExW(win::Wide(ExeDirectory() + "\\Quenmar.exe").c_str(), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        const HRSRC block = FindResourceExW(exe, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
        const auto* units = block ? static_cast<const wchar_t*>(LockResource(LoadResource(exe, block))) : nullptr;
        std::wstring text;
        for (UINT n = 0; units && n <= id % 16; units += 1 + *units, ++n) {
            if (n == id % 16) text.assign(units + 1, *units);
        }
        FreeLibrary(exe);
        return FormatText(win::Utf8(text), arguments);
    }
};
const Spoken kSpoken[] = {
    {"de_DE.UTF-8", "de", MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL)},
    {"fr_FR.UTF-8", "fr", MAKELANGID(LANG_FRENCH, SUBLANG_NEUTRAL)},
    {"es_ES.UTF-8", "es", MAKELANGID(LANG_SPANISH, SUBLANG_NEUTRAL)},
    {"ru_RU.UTF-8", "ru", MAKELANGID(LANG_RUSSIAN, SUBLANG_NEUTRAL)},
    {"zh_CN.UTF-8", "zh-Hans", MAKELANGID(LANG_CHINESE, SUBLANG_NEUTRAL)},
    {"ja_JP.UTF-8", "ja", MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL)},
    {"he_IL.UTF-8", "he", MAKELANGID(LANG_HEBREW, SUBLANG_NEUTRAL), true},
    {"ar_EG.UTF-8", "ar", MAKELANGID(LANG_ARABIC, SUBLANG_NEUTRAL), true},
    {"en_US.UTF-8", "en-US", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)},
    {"it_IT.UTF-8", "it", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)},  // a language the program lacks
};
const Spoken* SessionLanguage() {
    wchar_t locale[64] = {};
    GetEnvironmentVariableW(L"LC_ALL", locale, 64);
    for (const Spoken& spoken : kSpoken) {
        if (win::Wide(spoken.locale) == locale) return &spoken;
    }
    return nullptr;
}

// Started in a session of a language, its main window, folder picker and
// About speak it; screenshots of each land in build/screenshots.
TEST_F(Quenmar, SpeaksTheLanguageOfTheSession) {
    const Spoken* session = SessionLanguage();
    ASSERT_NE(session, nullptr) << "LC_ALL names no locale of the table";
    const Spoken& spoken = *session;
    ASSERT_EQ(spoken.Text(IDS_EXIT).empty(), false) << "the exe's table of " << spoken.name;
    registry.Put(kPlacesBarKey, "Place0", REG_SZ, Sz("C:\\windows\\"));
    registry.Put(kPlacesBarKey, "Place1", REG_SZ, Sz("C:\\quenmar-no-such-folder\\"));
    // Japanese at twice the scale as it starts, and any language the run
    // names a scale for.
    std::optional<SystemDpi> dpi;
    wchar_t named[8] = {};
    if (GetEnvironmentVariableW(L"QUENMAR_TEST_DPI", named, 8)) {
        dpi.emplace(_wtoi(named));
    } else if (std::string(spoken.name) == "ja") {
        dpi.emplace(192);
    }
    Start();
    // Mirrored for a language read from right to left, each window of it
    // and each control the system draws; left to right for any other.
    EXPECT_EQ((GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0, spoken.rightToLeft);
    EXPECT_EQ(Text(main), spoken.Text(IDS_CAPTION, {"Quenmar", "1.0"}))
        << "is " << spoken.locale << " generated (scripts/bootstrap)?";
    for (const UINT button : {IDS_BROWSE, IDS_RESTORE, IDS_ABOUT}) Button(spoken.Text(button).c_str());
    Button(spoken.Text(IDS_HIDE).c_str());
    RECT client{};
    GetClientRect(main, &client);
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_LE(r.right, client.right) << Text(child) << " sticks out";
    }
    Screenshot(main, std::string(spoken.name) + "-main-window" + (dpi ? "-" + std::to_string(dpi->Dpi()) + "dpi" : ""));
    // The left-out note, the longest text under the path box, in its words.
    SelectSlot(1);
    const HWND note = FindChild(main, "Static", spoken.Text(IDS_LEFT_OUT_NO_FOLDER).c_str());
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(IsWindowVisible(note));
    Screenshot(main, std::string(spoken.name) + "-left-out" + (dpi ? "-" + std::to_string(dpi->Dpi()) + "dpi" : ""));
    SelectSlot(0);

    const std::string browse = spoken.Text(IDS_BROWSE);
    const HWND picker = Opened(browse.c_str(), "TSelectFolderForm", spoken.Text(IDS_PICKER_TITLE).c_str());
    ASSERT_NE(picker, nullptr);
    EXPECT_NE(FindChild(picker, "Button", spoken.Text(IDS_PICKER_CANCEL).c_str()), nullptr);
    EXPECT_EQ((GetWindowLongW(picker, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0, spoken.rightToLeft);
    Screenshot(picker, std::string(spoken.name) + "-folder-picker" + (dpi ? "-" + std::to_string(dpi->Dpi()) + "dpi" : ""));
    PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
    AwaitClosed(picker);

    const std::string aboutButton = spoken.Text(IDS_ABOUT);
    const HWND about = Opened(aboutButton.c_str(), "TfrmQuenmarAbout", spoken.Text(IDS_ABOUT_CAPTION, {"Quenmar"}).c_str());
    ASSERT_NE(about, nullptr);
    EXPECT_EQ((GetWindowLongW(about, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0, spoken.rightToLeft);
    Screenshot(about, std::string(spoken.name) + "-about" + (dpi ? "-" + std::to_string(dpi->Dpi()) + "dpi" : ""));
    const HWND ok = FindChild(about, "Button", spoken.Text(IDS_ABOUT_OK).c_str());
    ASSERT_NE(ok, nullptr);
    Click(ok);
    AwaitClosed(about);
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(app->Exited(10000));

    // A Group Policy Object that sets every place, in the same words: its
    // title, and a picture of its banner for the help page of the language.
    const std::string gpo = "C:\\quenmar-gpo-" + std::string(spoken.name);
    std::filesystem::create_directories(std::filesystem::path(gpo) / "User");
    std::ofstream(std::filesystem::path(gpo) / "User" / "Registry.pol", std::ios::binary)
        << testing::kPolicyHeader + testing::PolicyEntryBytes(kPlacesBarKey, "Place0", 4, testing::Le32(17)) +
               testing::PolicyEntryBytes(kPlacesBarKey, "Place1", 1, testing::Units("C:\\windows\\")) +
               testing::PolicyEntryBytes(kPlacesBarKey, "Place2", 4, testing::Le32(5)) +
               testing::PolicyEntryBytes(kPlacesBarKey, "Place3", 4, testing::Le32(0)) +
               testing::PolicyEntryBytes(kPlacesBarKey, "Place4", 4, testing::Le32(0x12));
    std::ofstream(std::filesystem::path(gpo) / "gpt.ini", std::ios::binary) << "[General]\r\nVersion=5\r\n";
    Start("/policy " + gpo);
    EXPECT_NE(Text(main).find(spoken.Text(IDS_POLICY_FILE_TARGET, {gpo})), std::string::npos) << Text(main);
    Screenshot(main, std::string(spoken.name) + "-group-policy" + (dpi ? "-" + std::to_string(dpi->Dpi()) + "dpi" : ""));
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(app->Exited(10000));
    std::filesystem::remove_all(gpo);
}

}  // namespace
}  // namespace quenmar::e2e
