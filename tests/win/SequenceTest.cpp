#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "ShellOracle.h"
#include "CatalogueTable.h"
#include "Drops.h"
#include "MainWindowProbe.h"
#include "MemoryRegistry.h"
#include "ModalBoxes.h"
#include "RawValue.h"
#include "RealRegistry.h"
#include "SequenceRun.h"
#include "folderpicker/FolderPickerWindow.h"
#include "Accessibility.h"
#include "places/Catalogue.h"
#include "win32/WideText.h"

// Random sequences of what a user does in the main window, with what another
// program writes meanwhile, checked after every step: each control shows
// the state of the window's editor, the control used reached the editor, and
// Exit leaves stored what the editor held. The editor's rules themselves are
// checked natively, against a model, in many more steps.
//
// QUENMAR_SEQ_SEED replays one seed; QUENMAR_SEQ_OPS sets the steps.

namespace quenmar::testing {
namespace {

constexpr const wchar_t* kPlacesKeyW = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar";
constexpr const wchar_t* kPolicyKeyW = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";
constexpr const char* kFolders = "C:\\quenmar-seq";

class WindowSequences : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kPolicyKeyW);
        std::filesystem::create_directories(std::string(kFolders) + "\\Alpha");
        std::filesystem::create_directories(std::string(kFolders) + "\\Beta b");
        std::ofstream(std::string(kFolders) + "\\Alpha\\f.txt");
    }
    void TearDown() override {
        form.reset();
        PumpMessages();
        RegDeleteTreeW(HKEY_CURRENT_USER, kPolicyKeyW);
        std::error_code inUse;  // the shell may still watch the folder; the next run takes it over
        std::filesystem::remove_all(kFolders, inUse);
    }
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); }
    const PlacesEditor& Editor() const { return form->Editor(); }
    const Place& Selected() const { return *Editor().SelectedPlace(); }

    // A name in any script, and a value another program may store.
    std::wstring AnyScript() {
        const wchar_t* names[] = {L"Папка", L"文件夹", L"Проект 😀 Ω", L"x\xD800y"};
        return names[Pick(4)] + std::to_wstring(Pick(9));
    }
    RawValue AnyValue() {
        switch (Pick(6)) {
        case 0: return {REG_SZ, Sz(u"C:\\windows")};
        case 1: return {REG_EXPAND_SZ, Sz(u"%WINDIR%\\system32")};
        case 2: return DwordValue(static_cast<uint32_t>(kCatalogueCsidls[Pick(13)]));
        case 3: return DwordValue(8);  // not in the catalogue
        case 4: return {REG_BINARY, Dword(5)};  // unreadable: told
        default: {
            const std::wstring text = L"C:\\" + AnyScript();
            return {REG_SZ, Sz(std::u16string(text.begin(), text.end()))};
        }
        }
    }
    void WriteBehind() {
        const std::wstring name = L"Place" + std::to_wstring(Pick(5));
        switch (Pick(4)) {
        case 0: RegDeleteTreeW(HKEY_CURRENT_USER, kPlacesKeyW); break;
        case 1: RegDeleteKeyValueW(HKEY_CURRENT_USER, kPlacesKeyW, name.c_str()); break;
        case 2: {
            const DWORD flag = static_cast<DWORD>(Pick(3));
            RegSetKeyValueW(HKEY_CURRENT_USER, kPolicyKeyW, L"NoPlacesBar", REG_DWORD, &flag, 4);
            break;
        }
        default: {
            const RawValue value = AnyValue();
            RegSetKeyValueW(HKEY_CURRENT_USER, kPlacesKeyW, name.c_str(), value.type, value.data.data(),
                            static_cast<DWORD>(value.data.size()));
        }
        }
    }

    void Open() {
        AcceptedBoxes notices;
        form = std::make_unique<MainWindowProbe>();
        form->Show();
        PumpMessages();
        form->WaitForIcons();
        PumpMessages();
        for (const SeenBox& box : notices.seen) ASSERT_EQ(box.icon, LoadIcon(nullptr, IDI_EXCLAMATION)) << Where();
    }
    void Close() {
        Places held;
        for (int n = 0; n < kSlotCount; ++n) held[n] = Editor().Slot(n);
        const bool hidden = Editor().Hidden();
        Press(form->exitButton);
        ASSERT_EQ(form->Handle(), nullptr) << Where();
        form.reset();
        // What the editor held is stored, as the store writes it.
        MemoryRegistry expected;
        ASSERT_TRUE(PlacesStore(expected).Save(held, hidden).Done());
        for (int n = 0; n < kSlotCount; ++n) {
            const MemoryRegistry::Value* value = expected.Find(kPlacesBarKey, PlaceValueName(n));
            ASSERT_EQ(StoredValue(kPlacesKeyW, L"Place" + std::to_wstring(n)), (RawValue{value->type, value->data}))
                << n << "; " << Where();
        }
        ASSERT_EQ(StoredValue(kPolicyKeyW, L"NoPlacesBar"), DwordValue(hidden ? 1 : 0)) << Where();
    }
    void Press(widgets::Control& control) {
        SendMessageW(control.Handle(), BM_CLICK, 0, 0);
        PumpMessages();
    }
    // What a real mouse sends; the second click only while the control is
    // still enabled, as the mouse would find it.
    void DoubleClick(widgets::Control& control) {
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
            if (message == WM_LBUTTONDBLCLK) PumpMessages();
            if (!control.Enabled()) return;
            SendMessageW(control.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(4, 4));
        }
        PumpMessages();
    }
    void Browse() {
        const int choice = static_cast<int>(Pick(3));
        const std::string picked = choice == 0 ? "" : std::string(kFolders) + (choice == 1 ? "\\Alpha" : "\\Beta b");
        Soon([picked] {
            auto* picker = ShownForm<FolderPickerWindow>(L"TSelectFolderForm");
            if (!picker) return ADD_FAILURE() << "no picker";
            if (!picked.empty()) picker->Tree().CurrentFolder.SetPath(picked);
            picker->SetModalResult(picked.empty() ? IDCANCEL : IDOK);
        });
        Press(form->browseButton);
        if (!picked.empty()) {
            ASSERT_EQ(Selected().path, picked + "\\") << Where();
        }
    }

    void Step() {
        const bool editing = !Editor().Hidden(), slot = editing && Editor().Selected().has_value();
        const bool folder = slot && Selected().isFolder;
        const int op = static_cast<int>(Pick(15));
        last = op;
        if (op == 0 && editing) {
            const int n = static_cast<int>(Pick(5));
            UserSelect(form->placesList, n, true);
            ASSERT_EQ(Editor().Selected(), n) << Where();
        } else if (op == 1 && slot) {
            widgets::Control& kind = folder ? static_cast<widgets::Control&>(form->specialKind) : form->folderKind;
            Pick(2) ? Press(kind) : DoubleClick(kind);
            ASSERT_EQ(Selected().isFolder, !folder) << Where();
        } else if (op == 2 && slot && !folder) {
            const int row = static_cast<int>(Pick(13));
            UserSelect(form->catalogue, row, true);
            ASSERT_EQ(Selected().csidl, kCatalogueCsidls[row]) << Where();
        } else if (op == 3 && folder) {
            const std::wstring path = L"C:\\" + AnyScript() + (Pick(2) ? L"\\" : L"");
            SetWindowTextW(form->pathEdit.Handle(), path.c_str());
            ASSERT_EQ(win::Wide(Selected().path), path) << Where();
            ASSERT_TRUE(form->WaitForIcons()) << "typed text is asked once typing pauses; " << Where();
        } else if ((op == 4 || op == 5) && slot && *Editor().Selected() != (op == 4 ? 0 : kSlotCount - 1)) {
            const int from = *Editor().Selected(), delta = op == 4 ? -1 : 1;
            const bool twice = Pick(2);
            widgets::Control& button = delta < 0 ? static_cast<widgets::Control&>(form->moveUpButton) : form->moveDownButton;
            twice ? DoubleClick(button) : Press(button);
            const int moved = std::clamp(from + delta * (twice ? 2 : 1), 0, kSlotCount - 1);
            ASSERT_EQ(Editor().Selected(), moved) << Where();
        } else if (op == 6) {
            const std::string name = std::string(kFolders) + (Pick(2) ? "\\Alpha\\f.txt" : "\\Beta b");
            const bool tooLong = Pick(4) == 0;
            AcceptedBoxes told;
            const std::wstring wide = win::Wide(name);
            SendDrop(form->Handle(), tooLong ? std::vector{wide, L"C:\\" + std::wstring(300, L'x')} : std::vector{wide});
            PumpMessages();
            ASSERT_EQ(told.seen.size(), tooLong && editing ? 1u : 0u) << Where();
            if (slot) {
                ASSERT_EQ(Selected().path.rfind(kFolders, 0), 0u) << Where();
            }
        } else if (op == 7) {
            const bool hidden = Editor().Hidden(), twice = Pick(2);  // each click of a double click acts
            twice ? DoubleClick(form->hideBox) : Press(form->hideBox);
            ASSERT_EQ(Editor().Hidden(), twice ? hidden : !hidden) << Where();
        } else if (op == 8) {
            const bool yes = Pick(2);
            ModalBoxes question([yes](const SeenBox& box) { return ModalBoxes::ButtonId(box.window, yes ? "Yes" : "No"); });
            Press(form->restoreButton);
            ASSERT_EQ(question.seen.size(), 1u) << Where();
            if (yes) {
                ASSERT_FALSE(StoredValue(kPlacesKeyW, L"Place0")) << "the key is deleted at once; " << Where();
            }
        } else if (op == 9) {
            ModalBoxes dialog([](const SeenBox&) { return IDCANCEL; });
            Press(form->previewButton);
            ASSERT_EQ(dialog.seen.size(), 1u) << Where();
            ASSERT_EQ(StoredValue(kPolicyKeyW, L"NoPlacesBar"), DwordValue(Editor().Hidden() ? 1 : 0)) << Where();
        } else if (op == 10) {
            ASSERT_NO_FATAL_FAILURE(Close());
            if (Pick(2)) WriteBehind();  // read when the window opens again
            ASSERT_NO_FATAL_FAILURE(Open());
        } else if (op == 11 && slot) {
            UserSelect(form->placesList, *Editor().Selected(), false);
            PumpMessages();
            ASSERT_EQ(Editor().Selected(), std::nullopt) << Where();
        } else if (op == 12) {
            WriteBehind();
            AcceptedBoxes notices;
            SendMessageW(form->Handle(), MainWindowProbe::kStoredSettingsChanged, 0, 0);
            PumpMessages();
        } else if (op == 13 && folder) {
            ASSERT_NO_FATAL_FAILURE(Browse());
        } else {
            return;  // not something the user can do now
        }
        ++operations;
        ASSERT_NO_FATAL_FAILURE(CheckWindow());
    }

    // What a place must show, by the shell asked here as Wine's Open dialog
    // asks it (a special folder by its location, text by its parse, an
    // expandable value as it stands): the name and large icon of what the
    // shell finds; else the place as stored (a special folder by the table's
    // name), marked left out.
    struct Expected {
        bool found = false;
        std::string caption;
        int icon = -1;
    };
    // The shell's icon of a folder, by its attributes only.
    static int FolderIcon() {
        SHFILEINFOW info{};
        SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_LARGEICON);
        return info.iIcon;
    }
    static Expected ExpectedOf(const Place& place) {
        LPITEMIDLIST item = nullptr;
        const HRESULT located = place.isFolder
                                    ? SHParseDisplayName(win::Wide(place.path).c_str(), nullptr, &item, 0, nullptr)
                                    : SHGetSpecialFolderLocation(nullptr, place.csidl, &item);
        if (FAILED(located) || !item) return {false, place.isFolder ? place.path : SpecialFolderName(place.csidl)};
        SHFILEINFOW info{};
        SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_LARGEICON);
        CoTaskMemFree(item);
        return {true, win::Utf8(info.szDisplayName), info.iIcon};
    }

    // Every control shows the editor's state, once the shell has answered.
    void CheckWindow() {
        ASSERT_TRUE(form->WaitForIcons()) << Where();
        const PlacesEditor& editor = Editor();
        for (int n = 0; n < kSlotCount; ++n) {
            const Expected expected = ExpectedOf(editor.Slot(n));
            ASSERT_EQ(ItemText(form->placesList, n), expected.caption) << n << "; " << Where();
            const bool marked = !AccessibleDescription(form->placesList.Handle(), n + 1).empty();
            ASSERT_EQ(marked, !expected.found) << n << "; " << Where();
            // A place left out shows a folder's icon, marked.
            const int shellIcon = expected.found ? expected.icon : FolderIcon();
            ASSERT_EQ(LooksBeside(ListView_GetImageList(form->placesList.Handle(), LVSIL_NORMAL),
                                  form->placesList.ItemImage(n), shellIcon),
                      expected.found ? IconLooks::Same : IconLooks::Marked)
                << n << "; " << Where();
        }
        const std::optional<int> selected = editor.Selected();
        ASSERT_EQ(form->placesList.SelectedIndex(), selected.value_or(-1)) << Where();
        ASSERT_EQ(form->hideBox.Checked(), editor.Hidden()) << Where();
        ASSERT_EQ(form->folderKind.Checked(), editor.ShownKind() == PlaceKind::Folder) << Where();
        ASSERT_EQ(form->specialKind.Checked(), editor.ShownKind() == PlaceKind::SpecialFolder) << Where();
        const UsableInputs usable = editor.Inputs();
        const std::pair<const widgets::Control*, bool> enabled[] = {
            {&form->placesList, usable.places},      {&form->folderKind, usable.kinds},
            {&form->specialKind, usable.kinds},      {&form->pathEdit, usable.path},
            {&form->browseButton, usable.browse},    {&form->catalogue, usable.catalogue},
            {&form->moveUpButton, usable.moveUp},    {&form->moveDownButton, usable.moveDown},
            {&form->changeFolderButton, usable.changeFolder}};
        for (const auto& [control, on] : enabled) ASSERT_EQ(control->Enabled(), on) << Where();
        const Place* place = editor.SelectedPlace();
        ASSERT_EQ(form->pathEdit.Text(), place && place->isFolder ? place->path : "") << Where();
        int row = -1;
        for (int r = 0; r < kCatalogueRows && place && !place->isFolder; ++r) {
            if (kCatalogueCsidls[r] == place->csidl) row = r;
        }
        ASSERT_EQ(form->catalogue.SelectedIndex(), row) << Where();
    }
    std::string Where() const {
        return "seed " + std::to_string(seed) + ", operation " + std::to_string(operations) + " (kind " +
               std::to_string(last) + ")";
    }

    unsigned seed = 0;
    int operations = 0;
    int last = -1;
    std::mt19937 random;
    std::unique_ptr<MainWindowProbe> form;
};

TEST_P(WindowSequences, ShowTheEditorsState) {
    const SequenceRun run(GetParam(), "QUENMAR_SEQ_OPS", 420);
    seed = run.seed;
    const int count = run.length;
    random.seed(seed);
    if (Pick(2)) WriteBehind();
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_NO_FATAL_FAILURE(CheckWindow());
    while (operations < count && !HasFatalFailure()) Step();
    if (!HasFatalFailure()) Close();
}

INSTANTIATE_TEST_SUITE_P(Seeds, WindowSequences, ::testing::Values(1u, 2u, 3u, 4u, 5u));

}  // namespace
}  // namespace quenmar::testing
