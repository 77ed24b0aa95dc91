#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <dbt.h>
#include <shlwapi.h>

#include <algorithm>
#include <filesystem>

#include "FoundControl.h"
#include "ModalBoxes.h"
#include "RealRegistry.h"
#include "MainWindowProbe.h"
#include "folderpicker/ItemIdLists.h"
#include "folderpicker/FolderPicker.h"
#include "win32/WideText.h"

namespace quenmar::testing {
namespace {

namespace fs = std::filesystem;
using Node = ShellFolderTree::Node;
using Strings = std::vector<std::string>;

constexpr const char* kRoot = "C:\\quenmar-picker";

bool IsExpanded(const ShellFolderTree& tree, Node node) {
    return (SendMessageW(tree.Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
}

FolderPickerWindow* PickerWindow() { return ShownForm<FolderPickerWindow>(L"TSelectFolderForm"); }

// The picker's controls, found by their IDs; a tool button by its command
// in the tool bar, pressed as a click on it is.
widgets::Button& OkOf(FolderPickerWindow& window) { return FoundControl<widgets::Button>(window, FolderPickerWindow::kOkButton); }
widgets::Button& CancelOf(FolderPickerWindow& window) {
    return FoundControl<widgets::Button>(window, FolderPickerWindow::kCancelButton);
}
constexpr int kCreate = FolderPickerWindow::kCreateFolderCommand, kDelete = FolderPickerWindow::kDeleteFolderCommand;
widgets::ToolButton ToolOf(FolderPickerWindow& window, int command) {
    widgets::ToolButton button;
    button.Attach(GetDlgItem(window.Handle(), FolderPickerWindow::kToolBar), command);
    return button;
}
void PressTool(FolderPickerWindow& window, int command) {
    SendMessageW(window.Handle(), WM_COMMAND, command,
                 reinterpret_cast<LPARAM>(GetDlgItem(window.Handle(), FolderPickerWindow::kToolBar)));
}
HWND StatusBarOf(FolderPickerWindow& window) { return GetDlgItem(window.Handle(), FolderPickerWindow::kStatusBar); }
std::string StatusTextOf(FolderPickerWindow& window) {
    wchar_t text[1024] = {};
    SendMessageW(StatusBarOf(window), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    return win::Utf8(text);
}

std::string DesktopDirectory() {
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE);
    return win::Utf8(path);
}

class FolderPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::error_code ignored;
        fs::remove_all(kRoot, ignored);
        fs::create_directories(std::string(kRoot) + "\\Alpha\\Beta\\Gamma");
        fs::create_directories(std::string(kRoot) + "\\Work");
        dialog.Options.createDeleteButtons = true;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(kRoot, ignored);
    }

    // Runs the picker; the step sees the window and must close it.
    bool Run(std::function<void(FolderPickerWindow&)> step) {
        Soon([&, step] {
            FolderPickerWindow* window = PickerWindow();
            if (!window) {
                ADD_FAILURE() << "no picker window";
                return;
            }
            step(*window);
        });
        return dialog.Run(nullptr);
    }
    static void Press(widgets::Button& button) { SendMessageW(button.Handle(), BM_CLICK, 0, 0); }
    static std::string SelectedLabel(FolderPickerWindow& window) {
        return window.Tree().Label(window.Tree().Selected());
    }
    static Strings Labels(FolderPickerWindow& window, Node parent) {
        Strings labels;
        for (Node child : window.Tree().Children(parent)) labels.push_back(window.Tree().Label(child));
        return labels;
    }

    FolderPicker dialog;
};

TEST_F(FolderPickerTest, EmptyOrMissingPathSelectsTheDesktop) {
    for (const std::string start : {"", "C:\\quenmar-picker\\no\\such\\folder"}) {
        dialog.SetChosenPath(start);
        EXPECT_TRUE(dialog.NothingChosen()) << start;
        AcceptedBoxes boxes;
        const bool chosen = Run([&](FolderPickerWindow& window) {
            const Node root = window.Tree().Root();
            EXPECT_EQ(window.Tree().Selected(), root);
            EXPECT_TRUE(IsExpanded(window.Tree(), root));
            EXPECT_EQ(StatusTextOf(window), DesktopDirectory());
            EXPECT_TRUE(ToolOf(window, kCreate).Enabled());
            EXPECT_FALSE(ToolOf(window, kDelete).Enabled()) << "not on the root";
            EXPECT_EQ(window.Caption(), "Browse for Folder");
            EXPECT_EQ(OkOf(window).Text(), "OK");
            EXPECT_EQ(CancelOf(window).Text(), "Cancel");
            EXPECT_EQ(ToolOf(window, kCreate).Caption(), "Create Folder");
            EXPECT_EQ(ToolOf(window, kDelete).Caption(), "Delete");
            Press(OkOf(window));
        });
        EXPECT_TRUE(chosen);
        EXPECT_EQ(dialog.ChosenPath(), DesktopDirectory());
        EXPECT_TRUE(boxes.seen.empty()) << "no message for a path that does not exist";
    }
}

TEST_F(FolderPickerTest, DriveAndDeepFoldersAreExpandedTo) {
    dialog.Title = "Select Folder or Drive";
    dialog.SetChosenPath("C:\\");
    bool chosen = Run([&](FolderPickerWindow& window) {
        EXPECT_EQ(window.Caption(), "Select Folder or Drive");
        const Node drive = window.Tree().Selected();
        EXPECT_NE(SelectedLabel(window).find("(C:)"), std::string::npos) << SelectedLabel(window);
        const Node computer = window.Tree().Parent(drive);
        EXPECT_TRUE(IsExpanded(window.Tree(), computer));
        EXPECT_EQ(window.Tree().Parent(computer), window.Tree().Root());
        EXPECT_EQ(StatusTextOf(window), "C:\\");
        EXPECT_TRUE(ToolOf(window, kCreate).Enabled());
        EXPECT_TRUE(ToolOf(window, kDelete).Enabled());
        Press(CancelOf(window));
    });
    EXPECT_FALSE(chosen);
    EXPECT_EQ(dialog.ChosenPath(), "C:\\") << "Cancel keeps the folder";

    dialog.SetChosenPath("C:\\quenmar-picker\\Alpha\\Beta\\Gamma");
    chosen = Run([&](FolderPickerWindow& window) {
        EXPECT_EQ(SelectedLabel(window), "Gamma");
        EXPECT_TRUE(IsExpanded(window.Tree(), window.Tree().Parent(window.Tree().Selected())));
        EXPECT_EQ(StatusTextOf(window), "C:\\quenmar-picker\\Alpha\\Beta\\Gamma");
        // The user walks up to Alpha and takes it.
        window.Tree().CurrentFolder.SetPath("C:\\quenmar-picker\\Alpha");
        EXPECT_EQ(SelectedLabel(window), "Alpha");
        Press(OkOf(window));
    });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(dialog.ChosenPath(), "C:\\quenmar-picker\\Alpha");
}

TEST_F(FolderPickerTest, ItemsWithoutAPathCanBeChosen) {
    dialog.SetChosenPath("C:\\");
    const bool chosen = Run([&](FolderPickerWindow& window) {
        const Node computer = window.Tree().Parent(window.Tree().Selected());
        window.Tree().SelectNode(computer);
        EXPECT_EQ(SelectedLabel(window), "My Computer");
        EXPECT_FALSE(ToolOf(window, kCreate).Enabled());
        EXPECT_FALSE(ToolOf(window, kDelete).Enabled());
        EXPECT_TRUE(OkOf(window).Enabled());
        EXPECT_EQ(StatusTextOf(window), "");
        Press(OkOf(window));
    });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(dialog.ChosenPath(), "");
    EXPECT_FALSE(dialog.NothingChosen());
}

TEST_F(FolderPickerTest, EscapeAndTheCloseBoxCancelAndTheSizeIsRemembered) {
    dialog.SetChosenPath("C:\\quenmar-picker\\Work");
    SIZE closedAt{};
    bool chosen = Run([&](FolderPickerWindow& window) {
        MINMAXINFO info{};
        SendMessageW(window.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.ptMinTrackSize.x, window.Scale(366));
        EXPECT_EQ(info.ptMinTrackSize.y, window.Scale(340));
        SetWindowPos(window.Handle(), nullptr, 0, 0, 520, 470, SWP_NOMOVE | SWP_NOZORDER);
        closedAt = window.OuterSize();
        window.Tree().CurrentFolder.SetPath("C:\\quenmar-picker\\Alpha");
        PostMessageW(window.Tree().Handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    });
    EXPECT_FALSE(chosen);
    EXPECT_EQ(dialog.ChosenPath(), "C:\\quenmar-picker\\Work");
    EXPECT_EQ(dialog.LastSize().cx, closedAt.cx);
    EXPECT_EQ(dialog.LastSize().cy, closedAt.cy);

    chosen = Run([&](FolderPickerWindow& window) {
        EXPECT_EQ(window.OuterSize().cx, closedAt.cx);
        EXPECT_EQ(window.OuterSize().cy, closedAt.cy);
        EXPECT_EQ(SelectedLabel(window), "Work");
        SendMessageW(window.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_FALSE(chosen);
}

TEST_F(FolderPickerTest, RunningTwiceAtOnceIsAnError) {
    std::string error;
    Run([&](FolderPickerWindow& window) {
        try {
            dialog.Run(nullptr);
        } catch (const std::exception& e) {
            error = e.what();
        }
        Press(CancelOf(window));
    });
    EXPECT_EQ(error, "The folder picker is already open.");
    EXPECT_FALSE(dialog.Running());
}

TEST_F(FolderPickerTest, StatusBarShortensLongPathsAfterEveryResize) {
    const std::string deep = std::string(kRoot) + "\\A rather long folder name\\Another long folder name\\Leaf";
    fs::create_directories(deep);
    dialog.SetChosenPath(deep);
    Run([&](FolderPickerWindow& window) {
        // The first of the rule's shortenings, written out here, that fits the
        // bar in its font.
        const std::string shortenings[] = {deep,
                                           "C:\\...\\A rather long folder name\\Another long folder name\\Leaf",
                                           "C:\\...\\Another long folder name\\Leaf", "C:\\...\\Leaf", "...\\Leaf", "Leaf"};
        auto expected = [&] {
            RECT status{};
            GetClientRect(StatusBarOf(window), &status);
            const win::WindowDC dc(StatusBarOf(window));
            const win::SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(StatusBarOf(window), WM_GETFONT, 0, 0)));
            for (const std::string& text : shortenings) {
                const std::wstring wide = win::Wide(text);
                SIZE extent{};
                GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
                if (extent.cx <= status.right - 20) return text;
            }
            return std::string("Leaf");
        };
        EXPECT_EQ(StatusTextOf(window), expected());
        SetWindowPos(window.Handle(), nullptr, 0, 0, window.Scale(366), window.Scale(340), SWP_NOMOVE | SWP_NOZORDER);
        const std::string narrow = StatusTextOf(window);
        EXPECT_EQ(narrow, expected());
        EXPECT_NE(narrow, deep) << "too long for the narrow window";
        EXPECT_NE(narrow.find("Leaf"), std::string::npos);
        SetWindowPos(window.Handle(), nullptr, 0, 0, 900, 400, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(StatusTextOf(window), deep);
        // The tree and the buttons follow the window.
        const RECT tree = window.Tree().Rect();
        EXPECT_EQ(tree.right - tree.left, window.OuterSize().cx - window.Scale(24));
        RECT client{};
        GetClientRect(window.Handle(), &client);
        EXPECT_EQ(CancelOf(window).Rect().right, client.right - window.Scale(8));
        EXPECT_EQ(OkOf(window).Rect().right, CancelOf(window).Rect().left - window.Scale(8));
        // OK stands 2 pixels into its strip, which starts 4 under the tree.
        EXPECT_EQ(tree.bottom, OkOf(window).Rect().top - window.Scale(2) - window.Scale(4));
        Press(CancelOf(window));
    });
}

TEST_F(FolderPickerTest, TheToolButtonsShapeTheWindow) {
    dialog.Options = {.createDeleteButtons = false};
    Run([&](FolderPickerWindow& window) {
        EXPECT_FALSE(ToolOf(window, kCreate).Visible());
        EXPECT_FALSE(ToolOf(window, kDelete).Visible());
        EXPECT_EQ(window.Tree().Rect().top, window.Scale(8));
        Press(CancelOf(window));
    });
    dialog.Options = {.createDeleteButtons = true};
    Run([&](FolderPickerWindow& window) {
        EXPECT_TRUE(ToolOf(window, kCreate).Visible());
        EXPECT_EQ(window.Tree().Rect().top, ToolOf(window, kCreate).Rect().bottom + window.Scale(4));
        Press(CancelOf(window));
    });
}

// In a folder named in Cyrillic, named with Cyrillic, an emoji and Greek.
TEST_F(FolderPickerTest, CreateFolderNamesItAndOpensItsLabel) {
    const std::wstring folder = L"C:\\quenmar-picker\\Папка";
    fs::create_directories(folder + L"\\New Folder");
    dialog.SetChosenPath("C:\\quenmar-picker\\Папка");
    const bool chosen = Run([&](FolderPickerWindow& window) {
        EXPECT_EQ(StatusTextOf(window), "C:\\quenmar-picker\\Папка");
        PressTool(window, kCreate);
        EXPECT_TRUE(fs::is_directory(folder + L"\\New Folder (2)"));
        EXPECT_EQ(SelectedLabel(window), "Папка") << "the selection stays on the parent";
        const HWND editor = reinterpret_cast<HWND>(SendMessageW(window.Tree().Handle(), TVM_GETEDITCONTROL, 0, 0));
        ASSERT_NE(editor, nullptr) << "the new folder's label is open for editing";
        EXPECT_EQ(win::WindowText(editor), "New Folder (2)");
        // Typed, one UTF-16 unit a character message, through the picker's
        // own message loop, over the selected name.
        for (const wchar_t unit : std::wstring(L"  Проект 😀 Ω  ")) PostMessageW(editor, WM_CHAR, unit, 1);
        Soon([&, &window = window] {
            SendMessageW(window.Tree().Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
            EXPECT_TRUE(fs::is_directory(folder + L"\\Проект 😀 Ω"));
            EXPECT_EQ(SelectedLabel(window), "Проект 😀 Ω") << "the named folder is shown selected";
            EXPECT_EQ(StatusTextOf(window), "C:\\quenmar-picker\\Папка\\Проект 😀 Ω");
            Press(OkOf(window));
        });
    });
    EXPECT_TRUE(chosen);
    EXPECT_EQ(dialog.ChosenPath(), "C:\\quenmar-picker\\Папка\\Проект 😀 Ω") << "OK gives the renamed folder";
}

// Explorer's keys on the selected folder, each pressed through the picker's
// message loop and checked once it has been handled: what each leaves open
// (a label editor, the shell's confirmation, a context menu) is seen there.
TEST_F(FolderPickerTest, ExplorersKeysActOnTheSelectedFolder) {
    const std::string work = std::string(kRoot) + "\\Work";
    dialog.SetChosenPath(work);
    ModalBoxes boxes([](const SeenBox& box) { return ModalBoxes::ButtonId(box.window, "No"); });
    struct Key {
        const char* name;
        UINT message, key;
        BYTE control, shift;
        const char* leaves;  // "editor", "box" or "menu"
        const wchar_t* command = nullptr;  // chosen from the menu by its mnemonic (Wine's has no Rename)
    };
    const Key keys[] = {{"F2", WM_KEYDOWN, VK_F2, 0, 0, "editor"},
                        {"Ctrl+Shift+N", WM_KEYDOWN, 'N', 0x80, 0x80, "editor"},
                        {"Del", WM_KEYDOWN, VK_DELETE, 0, 0, "box"},
                        {"menu key", WM_KEYDOWN, VK_APPS, 0, 0, "menu"},
                        {"Shift+F10", WM_SYSKEYDOWN, VK_F10, 0, 0x80, "menu"},
                        {"Delete from the menu", WM_KEYDOWN, VK_APPS, 0, 0, "box", L"delete"}};
    std::vector<std::string> left;
    size_t at = 0;
    std::function<void(FolderPickerWindow&)> next = [&](FolderPickerWindow& window) {
        if (at == std::size(keys)) return Press(CancelOf(window));
        BYTE state[256] = {};
        state[VK_CONTROL] = keys[at].control;
        state[VK_SHIFT] = keys[at].shift;
        SetKeyboardState(state);
        SetFocus(window.Tree().Handle());
        PostMessageW(window.Tree().Handle(), keys[at].message, keys[at].key, 1);
        const size_t boxesBefore = boxes.seen.size();
        const HWND tree = window.Tree().Handle();
        const auto menuUp = [] {
            const HWND menu = FindWindowW(L"#32768", nullptr);
            return menu && IsWindowVisible(menu);
        };
        const auto editorUp = [tree] { return SendMessageW(tree, TVM_GETEDITCONTROL, 0, 0) != 0; };
        const auto boxSeen = [&boxes, boxesBefore] { return boxes.seen.size() > boxesBefore; };
        // Waits for what the key opens, then for what the menu's command
        // opens or for the menu to close: each as soon as it is there.
        SoonWhen([=] { return menuUp() || editorUp() || boxSeen(); }, [&, &window = window, boxesBefore, menuUp, boxSeen] {
            const HWND menu = FindWindowW(L"#32768", nullptr);
            const bool menuShown = menu && IsWindowVisible(menu);
            const auto items = reinterpret_cast<HMENU>(menuShown ? SendMessageW(menu, 0x01E1 /* MN_GETHMENU */, 0, 0) : 0);
            for (int i = 0; keys[at].command && items && i < GetMenuItemCount(items); ++i) {
                wchar_t text[64] = {};
                GetMenuStringW(items, i, text, 64, MF_BYPOSITION);
                std::wstring plain(text);
                plain.erase(std::remove(plain.begin(), plain.end(), L'&'), plain.end());
                const wchar_t* mnemonic = wcschr(text, L'&');
                if (mnemonic && _wcsicmp(plain.c_str(), keys[at].command) == 0) PostMessageW(menu, WM_CHAR, mnemonic[1], 1);
            }
            if (menuShown && !keys[at].command) EndMenu();
            const bool wantsBox = std::string(keys[at].leaves) == "box";
            SoonWhen([=] { return wantsBox ? boxSeen() : !menuUp(); }, [&, &window = window, boxesBefore, menuShown] {
                const BYTE none[256] = {};
                SetKeyboardState(const_cast<BYTE*>(none));
                const HWND editor = reinterpret_cast<HWND>(SendMessageW(window.Tree().Handle(), TVM_GETEDITCONTROL, 0, 0));
                left.push_back(editor ? "editor" : boxes.seen.size() > boxesBefore ? "box" : menuShown ? "menu" : "nothing");
                SendMessageW(window.Tree().Handle(), TVM_ENDEDITLABELNOW, TRUE, 0);
                ++at;
                next(window);
            });
        });
    };
    // The tool buttons take no focus; their tips name these keys. A screen
    // reader names the tree.
    std::vector<std::wstring> tips;
    std::wstring treeName;
    Run([&](FolderPickerWindow& window) {
        const HWND toolbar = FindWindowExW(window.Handle(), nullptr, TOOLBARCLASSNAMEW, nullptr);
        for (const int command : {kCreate, kDelete}) {
            wchar_t text[160] = {};
            TTTOOLINFOW tool{TTTOOLINFOW_V2_SIZE, 0, toolbar, static_cast<UINT_PTR>(command)};
            tool.lpszText = text;
            SendMessageW(reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0)), TTM_GETTEXTW,
                         std::size(text), reinterpret_cast<LPARAM>(&tool));
            tips.push_back(text);
        }
        treeName = AccessibleName(window.Tree().Handle());
        next(window);
    });
    EXPECT_EQ(tips, (std::vector<std::wstring>{L"Create a folder in the selected one (Ctrl+Shift+N)",
                                               L"Delete the selected folder (Del)"}));
    EXPECT_EQ(treeName, L"Folders");
    ASSERT_EQ(left.size(), std::size(keys));
    for (size_t k = 0; k < left.size(); ++k) EXPECT_EQ(left[k], keys[k].leaves) << keys[k].name;
    EXPECT_TRUE(fs::is_directory(work + "\\New Folder")) << "made by Ctrl+Shift+N";
    EXPECT_TRUE(fs::is_directory(work)) << "Del answered No";
}

// Fifty numbered names are tried: the fiftieth is still one of them.
TEST_F(FolderPickerTest, TheFiftiethNameIsTriedAndThenTheShortScheme) {
    const std::string work = std::string(kRoot) + "\\Work\\";
    fs::create_directories(work + "New Folder");
    for (int i = 2; i <= 49; ++i) fs::create_directories(work + "New Folder (" + std::to_string(i) + ")");
    dialog.SetChosenPath(work);
    Run([&](FolderPickerWindow& window) {
        PressTool(window, kCreate);
        EXPECT_TRUE(fs::is_directory(work + "New Folder (50)"));
        EXPECT_FALSE(fs::exists(work + "fldr"));
        SendMessageW(window.Tree().Handle(), TVM_ENDEDITLABELNOW, TRUE, 0);
        Press(CancelOf(window));
    });
    ASSERT_TRUE(fs::is_directory(work + "New Folder (50)")) << "all fifty taken now";
    AcceptedBoxes boxes;
    Run([&](FolderPickerWindow& window) {
        PressTool(window, kCreate);
        EXPECT_TRUE(fs::is_directory(work + "fldr"));
        SendMessageW(window.Tree().Handle(), TVM_ENDEDITLABELNOW, TRUE, 0);
        EXPECT_EQ(SelectedLabel(window), "Work") << "a cancelled label keeps the parent selected";
        EXPECT_EQ(StatusTextOf(window), work.substr(0, work.size() - 1));
        Press(OkOf(window));
    });
    EXPECT_EQ(dialog.ChosenPath(), work.substr(0, work.size() - 1)) << "OK gives what is shown";
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(FolderPickerTest, FailedCreationWarnsThreeTimes) {
    const std::string doomed = std::string(kRoot) + "\\Work";
    dialog.SetChosenPath(doomed);
    AcceptedBoxes boxes;
    Run([&](FolderPickerWindow& window) {
        ASSERT_EQ(window.Tree().NodePath(window.Tree().Selected()), doomed);
        // The folder goes away behind the picker's back: every name fails
        // with "path not found".
        RemoveDirectoryW(win::Wide(doomed).c_str());
        PressTool(window, kCreate);
        EXPECT_EQ(SendMessageW(window.Tree().Handle(), TVM_GETEDITCONTROL, 0, 0), 0) << "no label opened";
        Press(CancelOf(window));
    });
    ASSERT_EQ(boxes.seen.size(), 3u);
    for (const SeenBox& box : boxes.seen) {
        EXPECT_EQ(box.caption, "Warning");
        EXPECT_EQ(box.icon, LoadIcon(nullptr, IDI_EXCLAMATION));
    }
    EXPECT_EQ(boxes.seen[0].text.rfind("Unable to create the folder 'New Folder'\n\n", 0), 0u) << boxes.seen[0].text;
    EXPECT_EQ(boxes.seen[1].text.rfind("Unable to create the folder 'fldr'\n\n", 0), 0u) << boxes.seen[1].text;
    EXPECT_EQ(boxes.seen[2].text.rfind("Unable to create the folder 'New Folder'\n\n", 0), 0u);
    EXPECT_EQ(boxes.seen[0].text.find('\r'), std::string::npos);
    EXPECT_NE(boxes.seen[2].text, boxes.seen[0].text) << "the last one tells of a name that exists";
}

TEST_F(FolderPickerTest, DeleteGoesThroughTheShellsConfirmation) {
    dialog.SetChosenPath(std::string(kRoot) + "\\Alpha\\Beta\\Gamma");
    ModalBoxes boxes([](const SeenBox& box) { return ModalBoxes::ButtonId(box.window, "&Yes") ? IDYES : IDOK; });
    Run([&](FolderPickerWindow& window) {
        PressTool(window, kDelete);
        EXPECT_FALSE(fs::exists(std::string(kRoot) + "\\Alpha\\Beta\\Gamma"));
        EXPECT_EQ(SelectedLabel(window), "Beta") << "the nearest surviving ancestor";
        EXPECT_EQ(StatusTextOf(window), std::string(kRoot) + "\\Alpha\\Beta");
        Press(CancelOf(window));
    });
    ASSERT_GE(boxes.seen.size(), 1u);
}

// A refresh takes what changed on disk into the folder's order, and keeps
// the nodes that are still there, with their expansion and selection.
TEST_F(FolderPickerTest, RefreshMergesChangesIntoTheFolderOrder) {
    const std::string work = std::string(kRoot) + "\\Work\\";
    for (const char* name : {"a\\inner", "c", "e"}) fs::create_directories(work + name);
    dialog.SetChosenPath(work + "a\\inner");
    Run([&](FolderPickerWindow& window) {
        ShellFolderTree& tree = window.Tree();
        const ShellFolderTree::Node a = tree.Parent(tree.Selected());
        const ShellFolderTree::Node parent = tree.Parent(a);
        for (const char* name : {"b", "d", "f", "0"}) fs::create_directories(work + name);
        fs::remove(work + "c");
        tree.RefreshTree();
        std::vector<std::string> labels;
        for (ShellFolderTree::Node child : tree.Children(parent)) labels.push_back(tree.Label(child));
        EXPECT_EQ(labels, (std::vector<std::string>{"0", "a", "b", "d", "e", "f"}));
        EXPECT_EQ(tree.Parent(tree.Selected()), a) << "the node was kept, not made anew";
        EXPECT_EQ(SelectedLabel(window), "inner");
        EXPECT_TRUE(IsExpanded(tree, a));
        Press(CancelOf(window));
    });
}

// What the fill read ahead of the disk is not kept past a refresh: a
// sibling that gained a folder behind the tree's back shows an expand button.
TEST_F(FolderPickerTest, ARefreshReadsTheDiskAgain) {
    fs::create_directories(std::string(kRoot) + "\\Alpha\\Empty");
    dialog.SetChosenPath(std::string(kRoot) + "\\Alpha\\Beta");
    Run([&](FolderPickerWindow& window) {
        ShellFolderTree& tree = window.Tree();
        const auto button = [&tree](Node node) {
            TVITEMW item{TVIF_CHILDREN | TVIF_HANDLE, node};
            SendMessageW(tree.Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            return item.cChildren;
        };
        const Node empty = tree.Children(tree.Parent(tree.Selected())).back();
        ASSERT_EQ(tree.Label(empty), "Empty");
        EXPECT_EQ(button(empty), 0);
        fs::create_directories(std::string(kRoot) + "\\Alpha\\Empty\\Sub");
        tree.RefreshTree();
        EXPECT_EQ(button(empty), 1);
        // A listed folder whose only folder went away behind the tree's back
        // loses its button.
        const Node beta = tree.Selected();
        tree.Expand(beta);
        ASSERT_EQ(Labels(window, beta), Strings{"Gamma"});
        fs::remove(std::string(kRoot) + "\\Alpha\\Beta\\Gamma");
        tree.RefreshTree();
        EXPECT_EQ(Labels(window, beta), Strings{});
        EXPECT_EQ(button(beta), 0);
        Press(CancelOf(window));
    });
}

TEST_F(FolderPickerTest, RenamingALabelRenamesTheFolder) {
    fs::create_directories(std::string(kRoot) + "\\Alpha\\Delta");
    fs::create_directories(std::string(kRoot) + "\\Alpha\\Kappa");
    dialog.SetChosenPath(std::string(kRoot) + "\\Alpha\\Beta");
    AcceptedBoxes boxes;
    const bool chosen = Run([&](FolderPickerWindow& window) {
        // A name that is taken, or that no folder can have, renames nothing.
        for (const wchar_t* name : {L"Delta", L"a:b", L"Omega"}) {
            const HWND editor = window.Tree().EditLabel(window.Tree().Selected());
            ASSERT_NE(editor, nullptr);
            SetWindowTextW(editor, name);
            SendMessageW(window.Tree().Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
            EXPECT_EQ(SelectedLabel(window), name[0] == L'O' ? "Omega" : "Beta") << win::Utf8(name);
        }
        EXPECT_TRUE(fs::is_directory(std::string(kRoot) + "\\Alpha\\Delta")) << "untouched";
        EXPECT_EQ(SelectedLabel(window), "Omega");
        EXPECT_EQ(Labels(window, window.Tree().Parent(window.Tree().Selected())), (Strings{"Delta", "Kappa", "Omega"}))
            << "sorted again among its siblings";
        Press(OkOf(window));
    });
    EXPECT_TRUE(chosen);
    EXPECT_TRUE(fs::is_directory(std::string(kRoot) + "\\Alpha\\Omega\\Gamma"));
    EXPECT_EQ(dialog.ChosenPath(), std::string(kRoot) + "\\Alpha\\Omega");
}

// Browse from the main window.
class MainWindowBrowse : public FolderPickerTest {
protected:
    void SetUp() override {
        FolderPickerTest::SetUp();
        registry.Reset();
        form = std::make_unique<MainWindowProbe>();
        form->Show();
        PumpMessages();
        form->WaitForIcons();
        UserSelect(form->placesList, 2, true);
        SendMessageW(form->folderKind.Handle(), BM_CLICK, 0, 0);
    }
    void TearDown() override {
        form.reset();
        PumpMessages();
        registry.Reset();
        FolderPickerTest::TearDown();
    }
    RealRegistryBackend registry;
    std::unique_ptr<MainWindowProbe> form;
};

TEST_F(MainWindowBrowse, ThePickedFolderBecomesTheSlot) {
    Soon([] {
        FolderPickerWindow* window = PickerWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->Caption(), "Select Folder or Drive");
        EXPECT_NE(window->Tree().Label(window->Tree().Selected()).find("(C:)"), std::string::npos)
            << "opens on the slot's path";
        window->Tree().CurrentFolder.SetPath("C:\\quenmar-picker\\Work");
        SendMessageW(OkOf(*window).Handle(), BM_CLICK, 0, 0);
    });
    SendMessageW(form->browseButton.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->pathEdit.Text(), "C:\\quenmar-picker\\Work\\");
    EXPECT_EQ(ItemText(form->placesList, 2), "Work");

    // Change Folder opens it on the new path; My Computer is refused.
    AcceptedBoxes boxes;
    Soon([] {
        FolderPickerWindow* window = PickerWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->Tree().Label(window->Tree().Selected()), "Work");
        window->Tree().SelectNode(window->Tree().Parent(window->Tree().Parent(
            window->Tree().Parent(window->Tree().Selected()))));
        EXPECT_EQ(window->Tree().Label(window->Tree().Selected()), "My Computer");
        SendMessageW(OkOf(*window).Handle(), BM_CLICK, 0, 0);
    });
    SendMessageW(form->changeFolderButton.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_NE(boxes.seen[0].text.find("choose a drive or folder"), std::string::npos) << boxes.seen[0].text;
    EXPECT_EQ(form->pathEdit.Text(), "C:\\quenmar-picker\\Work\\") << "the slot keeps its path";

    // A double click on a special-folder slot opens nothing.
    UserSelect(form->placesList, 0, true);
    NMHDR click{form->placesList.Handle(), static_cast<UINT_PTR>(form->placesList.Id()), static_cast<UINT>(NM_DBLCLK)};
    SendMessageW(form->Handle(), WM_NOTIFY, click.idFrom, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(PickerWindow(), nullptr);

    form->Close();
    EXPECT_EQ(registry.Get(kPlacesBarKey, "Place2"), SzValue("C:\\quenmar-picker\\Work\\"));
}

TEST_F(FolderPickerTest, FoldersOnlyAndNewDrivesRefreshTheTree) {
    CloseHandle(CreateFileW(L"C:\\quenmar-picker\\Alpha\\notes.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    dialog.SetChosenPath(std::string(kRoot) + "\\Alpha\\Beta");
    Run([&](FolderPickerWindow& window) {
        const Node alpha = window.Tree().Parent(window.Tree().Selected());
        Strings children = Labels(window, alpha);
        EXPECT_EQ(std::find(children.begin(), children.end(), "notes.txt"), children.end()) << "folders only";
        // A folder made behind the tree's back shows when a drive comes or goes.
        fs::create_directories(std::string(kRoot) + "\\Alpha\\Zeta");
        DEV_BROADCAST_VOLUME volume{sizeof volume, DBT_DEVTYP_VOLUME, 0, 1u << ('Q' - 'A'), 0};
        SendMessageW(window.Handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume));
        children = Labels(window, alpha);
        EXPECT_NE(std::find(children.begin(), children.end(), "Zeta"), children.end());
        EXPECT_EQ(SelectedLabel(window), "Beta") << "the selection stays";
        Press(CancelOf(window));
    });
}

}  // namespace
}  // namespace quenmar::testing
