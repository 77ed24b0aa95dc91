#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <random>

#include "Drops.h"
#include "ModalBoxes.h"
#include "RawValue.h"
#include "RealRegistry.h"
#include "app/QuenmarForm.h"
#include "win32/WideText.h"

// Random sequences of what a user does in the main window, on random starting
// registry contents, checked after every save against a small model of the
// editing and storing rules written here on its own.
//
// QUENMAR_SEQ_SEED replays one seed (every instance then runs it);
// QUENMAR_SEQ_OPS sets the operations of a sequence.

namespace quenmar::testing {
namespace {

constexpr const wchar_t* kPlacesKeyW = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar";
constexpr const wchar_t* kPolicyKeyW = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";
constexpr int32_t kCatalogue[13] = {0x22, 0x00, 0x05, 0x11, 0x12, 0x20, 0x21, 0x24, 0x25, 0x26, 0x27, 0x2B, 0x2E};
constexpr const char* kFolders = "C:\\quenmar-seq";

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
};

struct Model {
    std::optional<std::map<int, RawValue>> places;  // none: no Placesbar key
    std::optional<RawValue> noPlacesBar;
    std::array<ModelEntry, 5> slots;
    bool hidden = false;
    int current = 0;

    static ModelEntry Default(int n) { return {false, L"C:\\", kCatalogue[n], false}; }

    void Load() {
        for (int n = 0; n < 5; ++n) slots[n] = LoadSlot(n);
        hidden = noPlacesBar && noPlacesBar->type == REG_DWORD && noPlacesBar->data == Dword4(1);
        current = 0;
    }
    ModelEntry LoadSlot(int n) const {
        if (!places) return Default(n);
        const auto found = places->find(n);
        if (found == places->end()) return {false, L"", 0, false};
        const RawValue& value = found->second;
        if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
            std::wstring text;
            for (size_t i = 0; i + 1 < value.data.size(); i += 2) {
                const wchar_t c = static_cast<unsigned char>(value.data[i]) |
                                  static_cast<unsigned char>(value.data[i + 1]) << 8;
                if (!c) break;
                text += c;
            }
            return {true, text.empty() ? L"C:\\" : text, 0, value.type == REG_EXPAND_SZ && !text.empty()};
        }
        if (value.type == REG_DWORD && value.data.size() <= 4) {
            uint32_t csidl = 0;
            for (size_t i = 0; i < value.data.size(); ++i) csidl |= static_cast<unsigned char>(value.data[i]) << (8 * i);
            return {false, L"C:\\", static_cast<int32_t>(csidl), false};
        }
        return Default(n);
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
        CreateDirectoryW(win::Wide(kFolders).c_str(), nullptr);
        CreateDirectoryW(win::Wide(std::string(kFolders) + "\\Alpha").c_str(), nullptr);
        CreateDirectoryW(win::Wide(std::string(kFolders) + "\\Beta b").c_str(), nullptr);
        CloseHandle(CreateFileW(win::Wide(std::string(kFolders) + "\\Alpha\\f.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
    }
    void TearDown() override {
        form.reset();
        PumpMessages();
        RegDeleteTreeW(HKEY_CURRENT_USER, kPolicyKeyW);
        DeleteFileW(win::Wide(std::string(kFolders) + "\\Alpha\\f.txt").c_str());
        RemoveDirectoryW(win::Wide(std::string(kFolders) + "\\Alpha").c_str());
        RemoveDirectoryW(win::Wide(std::string(kFolders) + "\\Beta b").c_str());
        RemoveDirectoryW(win::Wide(kFolders).c_str());
    }

    std::wstring RandomPath() {
        const int length = Pick(4) == 0 ? 250 + Pick(51) : 3 + Pick(20);
        std::wstring path = L"C:\\";
        while (static_cast<int>(path.size()) < length) path += static_cast<wchar_t>(L'a' + Pick(26));
        return Pick(2) ? path + L"\\" : path;
    }
    RawValue RandomValue() {
        switch (Pick(14)) {
        case 0: return {REG_SZ, ""};                                   // 0 bytes
        case 1: return {REG_SZ, Utf16(L"")};
        case 2: return {REG_SZ, Utf16(RandomPath(), false)};           // no terminator
        case 3: return {REG_SZ, Utf16(RandomPath()) + Bytes(1, '\0')};  // odd length
        case 4: {  // names in any script, a surrogate without its partner among them
            const wchar_t* names[] = {L"Папка", L"文件夹", L"Проект 😀 Ω", L"x\xD800y", L"\xDC01"};
            return {REG_SZ, Utf16(L"C:\\uni\\" + std::wstring(names[Pick(5)]) + std::to_wstring(Pick(9)))};
        }
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
            RegCreateKeyExW(HKEY_CURRENT_USER, kPlacesKeyW, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
            RegCloseKey(key);
            for (const auto& [n, value] : *model.places) WriteValue(kPlacesKeyW, PlaceName(n), value);
        }
        const int flag = Pick(4);
        if (flag < 3) {
            model.noPlacesBar = RawValue{REG_DWORD, Dword4(static_cast<uint32_t>(flag))};
            WriteValue(kPolicyKeyW, L"NoPlacesBar", *model.noPlacesBar);
        }
    }

    void Open() {
        ModalBoxes notices([](const SeenBox&) { return IDOK; });
        form = std::make_unique<TfrmQuenmar>();
        form->Show();
        PumpMessages();
        model.Load();
    }
    void Close() {
        Press(form->btnClose);
        ASSERT_EQ(form->Handle(), nullptr) << Where();
        form.reset();
        model.Save();
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
    void Move(int delta, bool twice) {
        widgets::Control& button = delta < 0 ? static_cast<widgets::Control&>(form->btnMoveUp) : form->btnMoveDn;
        if (twice) {
            DoubleClick(button);
        } else {
            Press(button);
        }
        for (int n = 0; n < (twice ? 2 : 1); ++n) {
            const int target = model.current + delta;
            if (target < 0 || target > 4) break;
            std::swap(model.slots[model.current], model.slots[target]);
            model.current = target;
        }
    }

    void Step() {
        ModelEntry& e = model.slots[model.current];
        const bool editing = !model.hidden;
        const int op = Pick(15);
        last = op;
        if (op == 0 && editing) {
            model.current = Pick(5);
            form->lstvwPlaces.SetSelected(model.current, true);
        } else if (op == 1 && editing && e.isDir) {
            Press(form->optUseSpecial);
            e.isDir = false;
        } else if (op == 2 && editing && !e.isDir) {
            Press(form->optUseFolder);
            e.isDir = true;
        } else if (op == 3 && editing && !e.isDir) {
            const int row = Pick(13);
            form->lstvwSelectFolders.SetSelected(row, true);
            e.csidl = kCatalogue[row];
        } else if (op == 4 && editing && e.isDir) {
            const std::wstring path = RandomPath();
            SetWindowTextW(form->edtDirectory.Handle(), path.c_str());
            model.GivePath(path);
        } else if (op == 5 && editing && model.current > 0) {
            Move(-1, Pick(2));
        } else if (op == 6 && editing && model.current < 4) {
            Move(+1, Pick(2));
        } else if (op == 7) {
            const std::wstring folders = L"C:\\quenmar-seq\\";
            const std::vector<std::pair<std::wstring, std::wstring>> drops = {
                {folders + L"Alpha", folders + L"Alpha\\"},
                {folders + L"Beta b\\", folders + L"Beta b\\"},
                {folders + L"Alpha\\f.txt", folders + L"Alpha\\"},
                {folders + L"none", L""},
            };
            const auto& [name, result] = drops[Pick(drops.size())];
            SendDrop(form->Handle(), {name});
            PumpMessages();
            if (editing && !result.empty()) {
                e.isDir = true;
                model.GivePath(result);
            }
        } else if (op == 8) {
            Press(form->chkHidePlacesBar);
            model.hidden = !model.hidden;
        } else if (op == 9) {
            const bool yes = Pick(2);
            ModalBoxes question([yes](const SeenBox& box) { return ModalBoxes::ButtonId(box.window, yes ? "Yes" : "No"); });
            Press(form->btnRestore);
            ASSERT_EQ(question.seen.size(), 1u) << Where();
            if (yes) {
                for (int n = 0; n < 5; ++n) model.slots[n] = Model::Default(n);
                model.places.reset();
                model.current = 0;
                ASSERT_FALSE(StoredValue(kPlacesKeyW, L"Place0")) << "the key is deleted at once; " << Where();
            }
        } else if (op == 10) {
            ModalBoxes dialog([](const SeenBox&) { return IDCANCEL; });
            Press(form->btnpreview);
            ASSERT_EQ(dialog.seen.size(), 1u) << Where();
            model.Save();
            CheckRegistry();
        } else if (op == 11) {
            Close();
            CheckRegistry();
            Open();
        } else {
            return;  // not something the user can do now
        }
        ++operations;
        CheckWindow();
    }

    void CheckRegistry() {
        for (int n = 0; n < 5; ++n) {
            std::optional<RawValue> expected;
            if (model.places && model.places->count(n)) expected = model.places->at(n);
            ASSERT_EQ(StoredValue(kPlacesKeyW, PlaceName(n)), expected) << "Place" << n << "; " << Where();
        }
        ASSERT_EQ(StoredValue(kPolicyKeyW, L"NoPlacesBar"), model.noPlacesBar) << Where();
    }
    void CheckWindow() {
        const ModelEntry& e = model.slots[model.current];
        ASSERT_EQ(form->CurrentSlot(), model.current) << Where();
        ASSERT_EQ(form->chkHidePlacesBar.Checked(), model.hidden) << Where();
        ASSERT_EQ(form->optUseFolder.Checked(), e.isDir) << Where();
        ASSERT_EQ(form->optUseSpecial.Checked(), !e.isDir) << Where();
        ASSERT_EQ(form->lstvwPlaces.Enabled(), !model.hidden) << Where();
        ASSERT_EQ(form->btnMoveUp.Enabled(), !model.hidden && model.current > 0) << Where();
        ASSERT_EQ(form->btnMoveDn.Enabled(), !model.hidden && model.current < 4) << Where();
        ASSERT_EQ(form->btnChangeFolder.Enabled(), !model.hidden && e.isDir) << Where();
        if (e.isDir) {
            wchar_t shown[1024] = {};
            GetWindowTextW(form->edtDirectory.Handle(), shown, 1024);
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
    HKEY key = nullptr;
    std::unique_ptr<TfrmQuenmar> form;
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
