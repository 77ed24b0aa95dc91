#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <random>

#include "CatalogueTable.h"
#include "Drops.h"
#include "ModalBoxes.h"
#include "RawValue.h"
#include "RealRegistry.h"
#include "ShellOracle.h"
#include "MainWindowProbe.h"
#include "folderpicker/FolderPickerWindow.h"
#include "win32/WideText.h"

// Random sequences of what a user does in the main window (and what another
// program does to the registry meanwhile), on random starting registry
// contents, checked after every step and every save against a small model of
// the editing, showing and storing rules written here on its own.
//
// QUENMAR_SEQ_SEED replays one seed (every instance then runs it);
// QUENMAR_SEQ_OPS sets the operations of a sequence.

namespace quenmar::testing {
namespace {

constexpr const wchar_t* kPlacesKeyW = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar";
constexpr const wchar_t* kPolicyKeyW = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";
constexpr const auto& kCatalogue = kCatalogueCsidls;
constexpr const auto& kNames = kCatalogueNames;
constexpr const char* kFolders = "C:\\quenmar-seq";

// A special folder's row in the catalogue; -1 for one not listed.
int CatalogueRow(int32_t csidl) {
    const auto row = std::find(std::begin(kCatalogue), std::end(kCatalogue), csidl) - std::begin(kCatalogue);
    return row < 13 ? static_cast<int>(row) : -1;
}

using Bytes = std::string;
Bytes Utf16(const std::wstring& text, bool terminated = true) {
    Bytes bytes(reinterpret_cast<const char*>(text.c_str()), text.size() * 2);
    return terminated ? bytes + Bytes(2, '\0') : bytes;
}
Bytes Dword4(uint32_t value) { return Bytes(reinterpret_cast<const char*>(&value), 4); }

// The model ----------------------------------------------------------------

struct ModelEntry {
    bool isDir = false;
    std::wstring dir;  // the text of a folder slot
    int32_t csidl = 0;
    bool expandable = false;
    bool operator==(const ModelEntry&) const = default;
};

// What a stored value is, for telling another program's write: the value's
// bytes, none for no value, and nothing at all with no key.
using Snapshot = std::optional<std::optional<RawValue>>;

struct Model {
    std::optional<std::map<int, RawValue>> places;  // none: no Placesbar key; Place5 and Place6 are another's
    std::optional<RawValue> noPlacesBar;
    std::array<ModelEntry, 5> slots;
    // As last read or written, the slots and the flag, and what was stored:
    // another program's write is told by the stored value's change.
    std::array<ModelEntry, 5> read;
    std::array<Snapshot, 5> stored;
    bool readHidden = false;
    std::optional<bool> storedHidden;  // none: not a DWORD, unreadable
    bool hidden = false;
    int current = 0;  // -1: no slot selected
    std::string warning;  // what loading tells, if anything

    static ModelEntry Default(int n) { return {false, L"C:\\", kCatalogue[n], false}; }

    void Load() {
        std::string replaced;
        for (int n = 0; n < 5; ++n) {
            slots[n] = LoadSlot(n);
            if (slots[n].csidl < 0) {
                slots[n] = Default(n);
                replaced += (replaced.empty() ? "Place" : ", Place") + std::to_string(n);
            }
        }
        warning = replaced.empty() ? "" : "These places could not be read from the registry and show their default "
                                          "places instead: " + replaced +
                                              ".\n\nThey are stored with the default places when Quenmar saves.";
        // Only a DWORD of exactly 1 hides the bar; another type is as none.
        hidden = noPlacesBar && noPlacesBar->type == REG_DWORD && noPlacesBar->data == Dword4(1);
        current = 0;
        Remember();
        storedHidden = HiddenStored();
    }
    void Remember() {
        read = slots;
        readHidden = hidden;
        for (int n = 0; n < 5; ++n) stored[n] = Stored(n);
    }
    Snapshot Stored(int n) const {
        if (!places) return std::nullopt;
        const auto found = places->find(n);
        return found == places->end() ? std::optional<RawValue>() : found->second;
    }
    std::optional<bool> HiddenStored() const {
        if (!noPlacesBar) return false;
        if (noPlacesBar->type != REG_DWORD) return std::nullopt;
        return noPlacesBar->data == Dword4(1);
    }
    // Another program wrote: each slot and the flag the user has not changed
    // since shows the stored value; the user's changes stay. Returns what
    // the window tells of values it cannot read.
    std::string TakeStoredChanges() {
        std::string replaced;
        for (int n = 0; n < 5; ++n) {
            if (Stored(n) == stored[n]) continue;
            stored[n] = Stored(n);
            ModelEntry loaded = LoadSlot(n);
            if (loaded.csidl < 0) {
                loaded = Default(n);
                replaced += (replaced.empty() ? "Place" : ", Place") + std::to_string(n);
            }
            if (slots[n] == read[n]) slots[n] = loaded;
            read[n] = loaded;
        }
        const std::optional<bool> flag = HiddenStored();
        if (flag && flag != storedHidden) {
            if (hidden == readHidden) hidden = *flag;
            readHidden = *flag;
        }
        if (flag) storedHidden = flag;
        return replaced.empty() ? "" : "These places could not be read from the registry and show their default "
                                       "places instead: " + replaced +
                                           ".\n\nThey are stored with the default places when Quenmar saves.";
    }
    // A value of a type no slot is read from comes back with the CSIDL -1.
    ModelEntry LoadSlot(int n) const {
        if (!places) return Default(n);
        const auto found = places->find(n);
        if (found == places->end()) return {false, L"", 0, false};
        const RawValue& value = found->second;
        if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
            std::wstring text(value.data.size() / 2, L'\0');  // up to the first zero unit
            std::memcpy(text.data(), value.data.data(), text.size() * 2);
            text.resize(wcsnlen(text.c_str(), text.size()));
            return {true, text.empty() ? L"C:\\" : text, 0, value.type == REG_EXPAND_SZ && !text.empty()};
        }
        if (value.type == REG_DWORD && value.data.size() <= 4) {
            uint32_t csidl = 0;
            for (size_t i = 0; i < value.data.size(); ++i) csidl |= static_cast<unsigned char>(value.data[i]) << (8 * i);
            return {false, L"C:\\", static_cast<int32_t>(csidl), false};
        }
        return {false, L"", -1, false};
    }
    void Save() {
        if (!places) places.emplace();
        for (int n = 0; n < 5; ++n) {
            const ModelEntry& e = slots[n];
            if (!e.isDir) {
                (*places)[n] = {REG_DWORD, Dword4(static_cast<uint32_t>(e.csidl))};
            } else {
                (*places)[n] = {static_cast<uint32_t>(e.expandable ? REG_EXPAND_SZ : REG_SZ), Utf16(e.dir)};
            }
        }
        noPlacesBar = RawValue{REG_DWORD, Dword4(hidden ? 1 : 0)};
        Remember();
        storedHidden = hidden;
    }
    // What a slot's caption is: a special folder's name, or a folder's last
    // part (of its expanded form), one final backslash not counting.
    static std::wstring Caption(const ModelEntry& e) {
        if (!e.isDir) {
            const int row = CatalogueRow(e.csidl);
            return win::Wide(row >= 0 ? kNames[row] : "Unknown");
        }
        std::wstring path = e.dir;
        if (e.expandable) {
            wchar_t expanded[32768];
            path.assign(expanded, ExpandEnvironmentStringsW(e.dir.c_str(), expanded, 32768) - 1);
        }
        if (!path.empty() && path.back() == L'\\') path.pop_back();
        const std::wstring last = path.substr(path.find_last_of(L"\\:") + 1);
        if (path.size() != 2) return last.empty() ? path : last;
        SHFILEINFOW drive{};  // a drive, as the shell names it
        SHGetFileInfoW((path + L"\\").c_str(), 0, &drive, sizeof drive, SHGFI_DISPLAYNAME);
        return drive.szDisplayName + (L" " + last);
    }
    // A path given to the current slot from any source.
    void GivePath(const std::wstring& path) {
        ModelEntry& e = slots[current];
        if (path == e.dir) return;
        e.dir = path;
        e.expandable = false;
    }
};

// The registry, read and written as it stores values ---------------------------

void WriteValue(const wchar_t* key, const std::wstring& name, const RawValue& value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, key, name.c_str(), value.type, value.data.data(),
                    static_cast<DWORD>(value.data.size()));
}

std::wstring PlaceName(int n) { return L"Place" + std::to_wstring(n); }

// The sequences --------------------------------------------------------------

class RandomEdits : public ::testing::TestWithParam<unsigned> {
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

    // A name in any script, a surrogate without its partner among them.
    std::wstring AnyScript() {
        const wchar_t* names[] = {L"Папка", L"文件夹", L"Проект 😀 Ω", L"x\xD800y", L"\xDC01"};
        return names[Pick(5)] + std::to_wstring(Pick(9));
    }
    std::wstring RandomPath() {
        const int length = Pick(4) == 0 ? 250 + Pick(51) : 3 + Pick(20);
        std::wstring path = Pick(4) ? L"C:\\" : L"C:\\" + AnyScript() + L"\\";
        while (static_cast<int>(path.size()) < length) path += static_cast<wchar_t>(L'a' + Pick(26));
        return Pick(2) ? path + L"\\" : path;
    }
    RawValue RandomValue() {
        switch (Pick(14)) {
        case 0: return {REG_SZ, ""};                                   // 0 bytes
        case 1: return {REG_SZ, Utf16(L"")};
        case 2: return {REG_SZ, Utf16(RandomPath(), false)};           // no terminator
        case 3: return {REG_SZ, Utf16(RandomPath()) + Bytes(1, '\0')};  // odd length
        case 4: return {REG_SZ, Utf16(L"C:\\uni\\" + AnyScript())};
        case 5: return {REG_EXPAND_SZ, Utf16(Pick(2) ? L"%WINDIR%\\system32" : L"%SystemDrive%\\x")};
        case 6: return {REG_EXPAND_SZ, Utf16(Pick(2) ? L"" : L"%WINDIR%\\\x0416")};
        case 7: return {REG_DWORD, Dword4(static_cast<uint32_t>(kCatalogue[Pick(13)]))};
        case 8: return {REG_DWORD, Dword4(Pick(2) ? 8 : 0x7FFF0000)};  // not in the catalogue
        case 9: return {REG_DWORD, Bytes(Pick(3) * 4 % 9, '\x05')};  // 0, 4 or 8 bytes
        case 10: return {REG_BINARY, Dword4(5)};
        case 11: return {REG_QWORD, Bytes(8, '\1')};
        case 12: return {REG_MULTI_SZ, Utf16(L"a") + Utf16(L"")};
        default: return {REG_NONE, Bytes(Pick(5), 'x')};
        }
    }
    void RandomStart() {
        if (Pick(8)) {
            model.places.emplace();
            for (int n = 0; n < 5; ++n) {
                if (Pick(5)) (*model.places)[n] = RandomValue();
            }
            win::UniqueKey key;
            RegCreateKeyExW(HKEY_CURRENT_USER, kPlacesKeyW, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
            for (auto& [n, value] : *model.places) {
                WriteValue(kPlacesKeyW, PlaceName(n), value);
                value = *StoredValue(kPlacesKeyW, PlaceName(n));  // as the registry took it
            }
        }
        if (Pick(4)) PutHideFlag();
    }
    // The hide flag, stored as Quenmar stores it or with another type.
    void PutHideFlag() {
        const RawValue flags[] = {{REG_DWORD, Dword4(0)}, {REG_DWORD, Dword4(1)}, {REG_DWORD, Dword4(2)},
                                  {REG_SZ, Utf16(L"1")}, {REG_BINARY, Dword4(1)}, {REG_QWORD, Dword4(1) + Dword4(0)}};
        model.noPlacesBar = flags[Pick(6)];
        WriteValue(kPolicyKeyW, L"NoPlacesBar", *model.noPlacesBar);
    }
    // Another program changes a value, removes one or removes the key.
    void ChangeBehindTheWindow() {
        const int n = static_cast<int>(Pick(7));
        switch (Pick(4)) {
        case 0:
            RegDeleteTreeW(HKEY_CURRENT_USER, kPlacesKeyW);
            model.places.reset();
            break;
        case 1:
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kPlacesKeyW, PlaceName(n).c_str());
            if (model.places) model.places->erase(n);
            break;
        case 2:
            PutHideFlag();
            break;
        default:
            if (!model.places) model.places.emplace();
            WriteValue(kPlacesKeyW, PlaceName(n), RandomValue());
            (*model.places)[n] = *StoredValue(kPlacesKeyW, PlaceName(n));  // as the registry took it
        }
    }

    void Open() {
        ModalBoxes notices([](const SeenBox&) { return IDOK; });
        form = std::make_unique<MainWindowProbe>();
        form->Show();
        PumpMessages();
        form->WaitForIcons();
        model.Load();
        ASSERT_EQ(notices.seen.size(), model.warning.empty() ? 0u : 1u) << Where();
        if (model.warning.empty()) return;
        ASSERT_EQ(notices.seen[0].text, model.warning) << Where();
        ASSERT_EQ(notices.seen[0].icon, LoadIcon(nullptr, IDI_EXCLAMATION)) << Where();
    }
    void Close() {
        Press(form->exitButton_);
        ASSERT_EQ(form->Handle(), nullptr) << Where();
        form.reset();
        model.Save();
    }
    void Press(widgets::Control& control) {
        SendMessageW(control.Handle(), BM_CLICK, 0, 0);
        PumpMessages();
    }
    // The shell's large icon of a special folder.
    static int SpecialIcon(int32_t csidl) { return ShellsOwnSpecialIcon(csidl, false); }
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
    void Move(int delta, bool twice) {
        widgets::Control& button = delta < 0 ? static_cast<widgets::Control&>(form->moveUpButton_) : form->moveDownButton_;
        twice ? DoubleClick(button) : Press(button);
        for (int n = 0; n < (twice ? 2 : 1); ++n) {
            const int target = model.current + delta;
            if (target < 0 || target > 4) break;
            std::swap(model.slots[model.current], model.slots[target]);
            model.current = target;
        }
    }

    // The picker opened on the slot, and OK with one of two folders or Cancel.
    void Browse() {
        const int choice = static_cast<int>(Pick(3));
        const std::wstring picked = choice == 0 ? L"" : win::Wide(kFolders) + (choice == 1 ? L"\\Alpha" : L"\\Beta b");
        Soon([picked] {
            auto* picker = ShownForm<FolderPickerWindow>(L"TSelectFolderForm");
            if (!picker) return ADD_FAILURE() << "no picker";
            if (!picked.empty()) picker->Tree().CurrentFolder.SetPath(win::Utf8(picked));
            picker->SetModalResult(picked.empty() ? IDCANCEL : IDOK);
        });
        Press(form->browseButton_);
        if (!picked.empty()) model.GivePath(picked + L"\\");
    }
    // Export through the system menu, to a file reg.exe then imports, or to
    // one held open by another program, which the export reports.
    void Export() {
        const bool held = Pick(2);
        const std::wstring file = win::Wide(kFolders) + (held ? L"\\held.reg" : L"\\out.reg");
        DeleteFileW(file.c_str());
        win::UniqueFile holder(held ? CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                  nullptr, CREATE_ALWAYS, 0, nullptr)
                                    : INVALID_HANDLE_VALUE);
        ModalBoxes boxes([&](const SeenBox& box) {
            if (box.caption != "Export Settings") return ModalBoxes::ButtonId(box.window, box.buttons.size() > 1 ? "Yes" : "OK");
            SetDlgItemTextW(box.window, 0x047C, file.c_str());
            SetDlgItemTextW(box.window, 0x0480, file.c_str());
            return IDOK;
        });
        SendMessageW(form->Handle(), WM_SYSCOMMAND, 0x0110, 0);
        PumpMessages();
        ASSERT_NO_FATAL_FAILURE(CheckRegistry()) << "the export saves nothing";
        if (held) {
            ASSERT_EQ(boxes.seen.size(), 3u) << "the file box, replace?, the failure; " << Where();
            ASSERT_EQ(boxes.seen[2].text.rfind("Could not write \"" + win::Utf8(file) + "\"", 0), 0u) << Where();
            return;
        }
        ASSERT_EQ(boxes.seen.size(), 1u) << Where();
        ASSERT_EQ(RegImport(win::Utf8(file)), 0u) << Where();
        // The import replaces the key whole, with what Exit would save; to
        // the window it is another program's write.
        Model saved = model;
        saved.places.emplace();
        saved.Save();
        model.places = saved.places;
        model.noPlacesBar = saved.noPlacesBar;
        CheckRegistry();
        ASSERT_NO_FATAL_FAILURE(FollowStoredChanges());
    }

    void Step() {
        ModelEntry& e = model.slots[std::max(model.current, 0)];
        const bool editing = !model.hidden, slot = editing && model.current >= 0;
        const int op = Pick(18);
        last = op;
        if (op == 0 && editing) {
            model.current = Pick(5);
            UserSelect(form->placesList_, model.current, true);
        } else if (op == 1 && slot && e.isDir) {
            Pick(2) ? Press(form->specialKind_) : DoubleClick(form->specialKind_);
            e.isDir = false;
        } else if (op == 2 && slot && !e.isDir) {
            Pick(2) ? Press(form->folderKind_) : DoubleClick(form->folderKind_);
            e.isDir = true;
        } else if (op == 3 && slot && !e.isDir) {
            const int row = Pick(13);
            UserSelect(form->catalogue_, row, true);
            e.csidl = kCatalogue[row];
        } else if (op == 4 && slot && e.isDir) {
            const std::wstring path = RandomPath();
            SetWindowTextW(form->pathEdit_.Handle(), path.c_str());
            model.GivePath(path);
        } else if (op == 5 && slot && model.current > 0) {
            Move(-1, Pick(2));
        } else if (op == 6 && slot && model.current < 4) {
            Move(+1, Pick(2));
        } else if (op == 7) {
            const std::wstring folders = L"C:\\quenmar-seq\\";
            const std::vector<std::pair<std::wstring, std::wstring>> drops = {
                {folders + L"Alpha", folders + L"Alpha\\"},
                {folders + L"Beta b\\", folders + L"Beta b\\"},
                {folders + L"Alpha\\f.txt", folders + L"Alpha\\"},
                {folders + L"none", L""},
                {L"C:\\", L"C:\\"},
            };
            // With a name too long to store beside it, which is told while
            // the places can be edited.
            const auto& [name, result] = drops[Pick(drops.size())];
            const bool tooLong = Pick(4) == 0;
            ModalBoxes told([](const SeenBox&) { return IDOK; });
            SendDrop(form->Handle(), tooLong ? std::vector{name, L"C:\\" + std::wstring(300, L'x')} : std::vector{name});
            PumpMessages();
            ASSERT_EQ(told.seen.size(), tooLong && editing ? 1u : 0u) << Where();
            if (slot && !result.empty()) {
                e.isDir = true;
                model.GivePath(result);
            }
        } else if (op == 8) {
            const bool twice = Pick(2);  // each click of a double click acts
            twice ? DoubleClick(form->hideBox_) : Press(form->hideBox_);
            model.hidden = twice ? model.hidden : !model.hidden;
        } else if (op == 9) {
            const bool yes = Pick(2);
            ModalBoxes question([yes](const SeenBox& box) { return ModalBoxes::ButtonId(box.window, yes ? "Yes" : "No"); });
            Press(form->restoreButton_);
            ASSERT_EQ(question.seen.size(), 1u) << Where();
            if (yes) {
                for (int n = 0; n < 5; ++n) model.slots[n] = Model::Default(n);
                model.places.reset();
                model.current = 0;
                model.read = model.slots;
                for (int n = 0; n < 5; ++n) model.stored[n] = model.Stored(n);
                ASSERT_FALSE(StoredValue(kPlacesKeyW, L"Place0")) << "the key is deleted at once; " << Where();
            }
        } else if (op == 10) {
            ModalBoxes dialog([](const SeenBox&) { return IDCANCEL; });
            Press(form->previewButton_);
            ASSERT_EQ(dialog.seen.size(), 1u) << Where();
            model.Save();
            CheckRegistry();
        } else if (op == 11) {
            Close();
            CheckRegistry();
            if (Pick(2)) ChangeBehindTheWindow();  // read when the window opens again
            Open();
        } else if (op == 12 && slot) {
            UserSelect(form->placesList_, model.current, false);
            PumpMessages();
            model.current = -1;
        } else if (op == 13) {
            ChangeBehindTheWindow();
            ASSERT_NO_FATAL_FAILURE(FollowStoredChanges());
        } else if (op == 14 && slot && e.isDir) {
            Browse();
        } else if (op == 15 && Pick(3) == 0) {
            Export();
        } else {
            return;  // not something the user can do now
        }
        ++operations;
        CheckWindow();
    }

    // The window follows another program's write when its watch tells it:
    // the model decides what it must then show, and what it tells.
    void FollowStoredChanges() {
        const std::string warning = model.TakeStoredChanges();
        ModalBoxes notices([](const SeenBox&) { return IDOK; });
        // Told now, as the watch tells it, so that the steps that follow meet
        // a window that has taken the change (the watch's own word comes
        // later, and finds nothing new).
        SendMessageW(form->Handle(), MainWindowProbe::kStoredSettingsChanged, 0, 0);
        PumpMessages();
        ASSERT_EQ(notices.seen.size(), warning.empty() ? 0u : 1u) << Where();
        if (!warning.empty()) {
            ASSERT_EQ(notices.seen[0].text, warning) << Where();
        }
    }

    void CheckRegistry() {
        for (int n = 0; n < 7; ++n) {
            std::optional<RawValue> expected;
            if (model.places && model.places->count(n)) expected = model.places->at(n);
            ASSERT_EQ(StoredValue(kPlacesKeyW, PlaceName(n)), expected) << "Place" << n << "; " << Where();
        }
        ASSERT_EQ(StoredValue(kPolicyKeyW, L"NoPlacesBar"), model.noPlacesBar) << Where();
    }
    void CheckWindow() {
        for (int n = 0; n < 5; ++n) {
            const ModelEntry& slot = model.slots[n];
            ASSERT_EQ(win::Wide(form->placesList_.ItemText(n)), Model::Caption(slot)) << n << "; " << Where();
            ASSERT_TRUE(slot.isDir || form->placesList_.ItemImage(n) == SpecialIcon(slot.csidl)) << n << "; " << Where();
        }
        ASSERT_EQ(form->CurrentSlot(), model.current) << Where();
        ASSERT_EQ(form->hideBox_.Checked(), model.hidden) << Where();
        ASSERT_EQ(form->placesList_.Enabled(), !model.hidden) << Where();
        const bool slot = !model.hidden && model.current >= 0;
        ASSERT_EQ(form->moveUpButton_.Enabled(), slot && model.current > 0) << Where();
        ASSERT_EQ(form->moveDownButton_.Enabled(), slot && model.current < 4) << Where();
        // The inputs the checked kind (with no slot, as the last one left it),
        // the selection and the hide flag leave usable.
        const bool folder = form->folderKind_.Checked(), editing = !model.hidden;
        ASSERT_EQ(form->folderKind_.Enabled(), editing) << Where();
        ASSERT_EQ(form->specialKind_.Enabled(), editing) << Where();
        ASSERT_EQ(form->pathEdit_.Enabled(), folder && slot) << Where();
        ASSERT_EQ(form->browseButton_.Enabled(), folder && slot) << Where();
        ASSERT_EQ(form->catalogue_.Enabled(), !folder && slot) << Where();
        if (model.current < 0) {
            ASSERT_FALSE(form->changeFolderButton_.Enabled()) << Where();
            return;
        }
        const ModelEntry& e = model.slots[model.current];
        ASSERT_EQ(form->folderKind_.Checked(), e.isDir) << Where();
        ASSERT_EQ(form->specialKind_.Checked(), !e.isDir) << Where();
        ASSERT_EQ(form->changeFolderButton_.Enabled(), slot && e.isDir) << Where();
        if (!e.isDir) {
            ASSERT_EQ(form->catalogue_.SelectedIndex(), CatalogueRow(e.csidl)) << Where();
        } else {
            wchar_t shown[1024] = {};
            GetWindowTextW(form->pathEdit_.Handle(), shown, 1024);
            ASSERT_EQ(std::wstring(shown), e.dir) << Where();
        }
    }
    std::string Where() const {
        return "seed " + std::to_string(seed) + ", operation " + std::to_string(operations) + " (kind " +
               std::to_string(last) + ")";
    }
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); }

    unsigned seed = 0;
    int operations = 0;
    int last = -1;
    std::mt19937 random;
    Model model;
    std::unique_ptr<MainWindowProbe> form;
};

TEST_P(RandomEdits, AgreeWithTheModel) {
    const char* replay = std::getenv("QUENMAR_SEQ_SEED");
    const char* length = std::getenv("QUENMAR_SEQ_OPS");
    seed = replay ? static_cast<unsigned>(std::strtoul(replay, nullptr, 10)) : GetParam();
    const int count = length ? std::atoi(length) : 420;
    std::printf("seed %u, %d operations (replay: QUENMAR_SEQ_SEED=%u)\n", seed, count, seed);
    random.seed(seed);
    RandomStart();
    Open();
    ASSERT_NO_FATAL_FAILURE(CheckWindow());
    while (operations < count && !HasFatalFailure()) Step();
    if (!HasFatalFailure()) Close();
    if (!HasFatalFailure()) CheckRegistry();
    std::printf("seed %u: %d operations, %s\n", seed, operations, HasFailure() ? "MISMATCH" : "0 mismatches");
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEdits, ::testing::Values(1u, 2u, 3u, 4u, 5u));

}  // namespace
}  // namespace quenmar::testing
