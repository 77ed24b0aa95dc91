#include <gtest/gtest.h>

#include <regex>

#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <random>

#include "CatalogueTable.h"
#include "MemoryRegistry.h"
#include "SequenceRun.h"
#include "places/PlacesEditor.h"

// Random sequences of what a user does with the editor, and of what another
// program writes meanwhile, on random starting registry contents, checked
// after every step against a small model of what is known apart from the
// editor: the bytes stored and how they read, what another program wrote,
// what the user set (and each slot remembers of its other kind), the
// selection, the shown kind and the hide flag. Where the editor takes in
// another program's writes, the model checks only what must hold whatever
// the rule of taking in (the user's change stays; nothing but the user's
// value or the store's appears) and takes the editor's slots from there:
// the rule itself is its table's, beside the editor's tests. A save leaves
// stored the bytes of what the editor shows. QUENMAR_SEQ_SEED replays one
// seed; QUENMAR_SEQ_STEPS sets the steps of each sequence.

namespace quenmar::testing {
namespace {

using Bytes = std::string;

// UTF-16 text as the registry holds it, and back to UTF-8, written here
// apart from the program's converter (no lone surrogates occur below).
Bytes Units(const std::u16string& text, bool terminated = true) {
    Bytes bytes;
    for (char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return terminated ? bytes + Bytes(2, '\0') : bytes;
}
std::string Utf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
        } else if (c < 0x10000) {
            out += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F))};
        } else {
            out += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
                    static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        }
    }
    return out;
}
std::u16string Utf16(const std::string& text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        uint32_t c = more == 0 ? lead : lead & (0x3F >> more);
        for (int k = 1; k <= more; ++k) c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += 1 + more;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            c = 0xDC00 + ((c - 0x10000) & 0x3FF);
        }
        out += static_cast<char16_t>(c);
    }
    return out;
}
// The text of a string value: up to its first zero unit, an odd last byte no unit.
std::u16string TextOfValue(const Bytes& data) {
    std::u16string text;
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(data[i]) |
                                                static_cast<unsigned char>(data[i + 1]) << 8);
        if (unit == 0) break;
        text += unit;
    }
    return text;
}
Bytes Dword4(uint32_t value) { return Bytes(reinterpret_cast<const char*>(&value), 4); }

struct Raw {
    uint32_t type = kRegNone;
    Bytes data;
    bool operator==(const Raw&) const = default;
};

// What the editor can tell of a stored value: a string's text, a number's
// value, or another type's size; with no key or no value, those.
struct Seen {
    enum { NoKey, NoValue, Text, Number, Other } what = NoKey;
    uint32_t type = 0;
    std::u16string text;
    int64_t number = 0;
    bool operator==(const Seen&) const = default;
};

struct Model {
    std::optional<std::map<int, Raw>> places;  // none: no Placesbar key
    std::optional<Raw> flag;
    std::array<Place, 5> slots{}, read{};
    std::array<Seen, 5> seen{};
    bool hidden = false, readHidden = false;
    std::optional<bool> seenFlag;  // none: unreadable
    std::optional<int> selected;
    PlaceKind shown = PlaceKind::Folder;

    static Place Default(int n) { return {"C:\\", kCatalogueCsidls[n], false, false}; }
    Seen SeenAt(int n) const {
        if (!places) return {};
        const auto found = places->find(n);
        if (found == places->end()) return {Seen::NoValue, 0, {}, 0};
        const Raw& v = found->second;
        if (v.type == kRegSz || v.type == kRegExpandSz) return {Seen::Text, v.type, TextOfValue(v.data)};
        if (v.type == kRegDword && v.data.size() <= 4) {
            uint32_t number = 0;
            std::memcpy(&number, v.data.data(), v.data.size());
            return {Seen::Number, v.type, {}, static_cast<int32_t>(number)};
        }
        return {Seen::Other, v.type, {}, static_cast<int64_t>(v.data.size())};
    }
    // A slot as read; none for a value no place can be read from.
    std::optional<Place> Decode(int n) const {
        const Seen s = SeenAt(n);
        switch (s.what) {
        case Seen::NoKey: return Default(n);
        case Seen::NoValue: return Place{"", 0, false, false};
        case Seen::Text:
            if (s.text.empty()) return Place{"C:\\", 0, true, false};
            return Place{Utf8(s.text), 0, true, s.type == kRegExpandSz};
        case Seen::Number: return Place{"C:\\", static_cast<int32_t>(s.number), false, false};
        case Seen::Other: break;
        }
        return std::nullopt;
    }
    std::optional<bool> FlagAsRead() const {
        if (!flag) return false;
        if (flag->type != kRegDword || flag->data.size() > 4) return std::nullopt;
        uint32_t value = 0;
        std::memcpy(&value, flag->data.data(), flag->data.size());
        return value == 1;
    }
    void ShowSelectedKind() {
        if (selected) shown = slots[*selected].isFolder ? PlaceKind::Folder : PlaceKind::SpecialFolder;
    }
    std::vector<std::string> Load() {
        std::vector<std::string> told;
        for (int n = 0; n < 5; ++n) {
            const std::optional<Place> place = Decode(n);
            if (!place) told.push_back("Place" + std::to_string(n));
            slots[n] = place.value_or(Default(n));
            seen[n] = SeenAt(n);
        }
        read = slots;
        seenFlag = FlagAsRead();
        if (seenFlag) hidden = *seenFlag;  // unreadable: as it was
        readHidden = hidden;
        selected = 0;
        ShowSelectedKind();
        return told;
    }
    // The editor has taken in the store: what it must show whatever the
    // rule, checked; then its slots and flag are the model's, and what the
    // store now holds is what was read. Returns the values told unreadable:
    // those another program changed to what cannot be read.
    std::vector<std::string> TakenIn(const PlacesEditor& editor, const std::string& where) {
        std::vector<std::string> told;
        for (int n = 0; n < 5; ++n) {
            const Place& shown = editor.Slot(n);
            const Place stored = Decode(n).value_or(Default(n));
            if (slots[n] != read[n]) {
                EXPECT_EQ(shown, slots[n]) << "the user's change to slot " << n << " stays; " << where;
            } else {
                EXPECT_TRUE(shown == slots[n] || shown == stored) << "slot " << n << "; " << where;
            }
            slots[n] = shown;
            if (SeenAt(n) == seen[n]) continue;
            seen[n] = SeenAt(n);
            if (!Decode(n)) told.push_back("Place" + std::to_string(n));
            read[n] = stored;
        }
        const std::optional<bool> now = FlagAsRead();
        if (hidden != readHidden || !now) {
            EXPECT_EQ(editor.Hidden(), hidden) << "the hide flag; " << where;
        } else {
            EXPECT_TRUE(editor.Hidden() == hidden || editor.Hidden() == *now) << "the hide flag; " << where;
        }
        hidden = editor.Hidden();
        if (now && now != seenFlag) {
            readHidden = *now;
            seenFlag = now;
        }
        ShowSelectedKind();
        return told;
    }
    // The editor saved: it took the store in first, then wrote what it shows.
    void Save(const PlacesEditor& editor, const std::string& where) {
        TakenIn(editor, where);
        if (!places) places.emplace();
        for (int n = 0; n < 5; ++n) {
            const Place& p = slots[n];
            (*places)[n] = p.isFolder ? Raw{p.keepUnexpanded ? kRegExpandSz : kRegSz, Units(Utf16(p.path))}
                                      : Raw{kRegDword, Dword4(static_cast<uint32_t>(p.csidl))};
        }
        flag = Raw{kRegDword, Dword4(hidden ? 1 : 0)};
        read = slots;
        readHidden = hidden;
        for (int n = 0; n < 5; ++n) seen[n] = SeenAt(n);
        seenFlag = hidden;
    }
    bool Editable() const { return selected && !hidden; }
    // A typed path, as the README says: without the blanks around it, and
    // kept unexpanded when it names a %variable% (unless it is the folder
    // the slot already holds, which keeps its form).
    bool TypePath(std::string path) {
        while (!path.empty() && static_cast<unsigned char>(path.front()) <= ' ') path.erase(0, 1);
        while (!path.empty() && static_cast<unsigned char>(path.back()) <= ' ') path.pop_back();
        const bool same = Editable() && slots[*selected].isFolder && slots[*selected].path == path;
        if (!GivePath(path)) return false;
        if (!same) slots[*selected].keepUnexpanded = std::regex_search(path, std::regex("%[^%=\\\\]+%"));
        return true;
    }
    bool GivePath(const std::string& path) {
        if (!Editable()) return false;
        Place& p = slots[*selected];
        if (p.path != path) p.keepUnexpanded = false;
        p.path = path;
        p.isFolder = true;
        shown = PlaceKind::Folder;
        return true;
    }
};

// The texts of the sequences.
const std::u16string kTexts[] = {u"C:\\", u"D:\\Work\\", u"E:\\", u"C:\\Папка\\", u"C:\\文件夹", u"C:\\Проект 😀 Ω\\",
                                 u"%TEMP%\\x", u"%WINDIR%\\\u0416", u"F:\\a b\\f.txt", u"G:", u"f.txt", u"H:\\x\\y"};

class EditorSequences : public ::testing::TestWithParam<unsigned> {
protected:
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); }
    std::u16string AnyText() { return kTexts[Pick(std::size(kTexts))]; }

    Raw RandomValue() {
        switch (Pick(13)) {
        case 0: return {kRegSz, ""};
        case 1: return {kRegSz, Units(u"")};
        case 2: return {kRegSz, Units(AnyText(), false)};            // no terminator
        case 3: return {kRegSz, Units(AnyText()) + Bytes(1, '\0')};  // odd length
        case 4: return {kRegSz, Units(AnyText())};
        case 5: return {kRegExpandSz, Units(Pick(2) ? u"%TEMP%\\x" : u"")};
        case 6: return {kRegDword, Dword4(static_cast<uint32_t>(kCatalogueCsidls[Pick(13)]))};
        case 7: return {kRegDword, Dword4(Pick(2) ? 8 : 0x7FFF0000)};
        case 8: return {kRegDword, Bytes(Pick(3) * 4 % 9, '\x08')};  // 0, 4 or 8 bytes
        case 9: return {kRegBinary, Dword4(5)};
        case 10: return {kRegQword, Bytes(8, '\1')};
        case 11: return {kRegMultiSz, Units(u"a") + Units(u"")};
        default: return {kRegNone, Bytes(Pick(5), 'x')};
        }
    }
    Raw RandomFlag() {
        const Raw flags[] = {{kRegDword, Dword4(0)}, {kRegDword, Dword4(1)}, {kRegDword, Dword4(2)},
                             {kRegSz, Units(u"1")}, {kRegBinary, Dword4(1)}, {kRegQword, Bytes(8, '\0')}};
        return flags[Pick(6)];
    }
    void Put(int n, const Raw& value) {
        registry.PutRaw(kPlacesBarKey, PlaceValueName(n), value.type, value.data);
        if (!model.places) model.places.emplace();
        (*model.places)[n] = value;
    }
    void PutFlag(const Raw& value) {
        registry.PutRaw(kComdlgPolicyKey, "NoPlacesBar", value.type, value.data);
        model.flag = value;
    }
    // Another program: a value written or removed, the key removed, the flag.
    void WriteBehind() {
        const int n = static_cast<int>(Pick(6));  // Place5 is another's
        switch (Pick(4)) {
        case 0:
            registry.DeleteKey(kPlacesBarKey);
            model.places.reset();
            break;
        case 1:
            if (model.places && model.places->erase(n)) Rebuild();
            break;
        case 2: PutFlag(RandomFlag()); break;
        default: Put(n, RandomValue());
        }
    }
    // The Placesbar key written anew from the model (a value removed).
    void Rebuild() {
        registry.DeleteKey(kPlacesBarKey);
        registry.CreateKey(kPlacesBarKey);
        for (const auto& [n, value] : *model.places) registry.PutRaw(kPlacesBarKey, PlaceValueName(n), value.type, value.data);
    }
    std::string AnyPath() {
        const std::u16string text = AnyText();
        return Utf8(Pick(3) ? text : text + u"x");
    }

    void Step() {
        const int op = static_cast<int>(Pick(16));
        last = op;
        using Dropped = PlacesEditor::Dropped;
        switch (op) {
        case 0: {
            const std::optional<int> slot = Pick(6) ? std::optional<int>(static_cast<int>(Pick(5))) : std::nullopt;
            editor->Select(slot);
            model.selected = slot;
            model.ShowSelectedKind();
            break;
        }
        case 1: {
            const PlaceKind kind = Pick(2) ? PlaceKind::Folder : PlaceKind::SpecialFolder;
            editor->SetKind(kind);
            if (!model.hidden) {
                model.shown = kind;
                if (model.selected) model.slots[*model.selected].isFolder = kind == PlaceKind::Folder;
            }
            break;
        }
        case 2: {
            const std::string path = AnyPath();
            ASSERT_EQ(editor->SetPath(path), model.TypePath(path)) << Where();
            break;
        }
        case 3: {
            const std::string path = AnyPath();
            const std::string picked = path.back() == '\\' ? path : path + "\\";
            ASSERT_EQ(editor->SetPickedFolder(path), model.GivePath(picked)) << Where();
            break;
        }
        case 4: {
            const std::string name = AnyPath();
            const Dropped found = static_cast<Dropped>(Pick(3));
            std::string folder;  // a folder's own path with its backslash, a file's folder, nothing
            if (found == Dropped::Folder) folder = name.back() == '\\' ? name : name + "\\";
            if (found == Dropped::File) folder = name.substr(0, name.find_last_of("\\:") + 1);
            ASSERT_EQ(editor->DropName(name, found), !folder.empty() && model.GivePath(folder)) << Where();
            break;
        }
        case 5: {
            const int32_t csidl = Pick(4) ? kCatalogueCsidls[Pick(13)] : 8;
            const bool accepted = model.Editable();
            ASSERT_EQ(editor->PickSpecialFolder(csidl), accepted) << Where();
            if (accepted) {
                model.slots[*model.selected].csidl = csidl;
                model.slots[*model.selected].isFolder = false;
                model.shown = PlaceKind::SpecialFolder;
            }
            break;
        }
        case 6:
        case 7: {
            const int delta = op == 6 ? -1 : 1;
            const bool accepted = model.Editable() && *model.selected + delta >= 0 && *model.selected + delta < 5;
            ASSERT_EQ(op == 6 ? editor->MoveUp() : editor->MoveDown(), accepted) << Where();
            if (accepted) {
                std::swap(model.slots[*model.selected], model.slots[*model.selected + delta]);
                *model.selected += delta;
            }
            break;
        }
        case 8:
            editor->SetHidden(!model.hidden);
            model.hidden = !model.hidden;
            break;
        case 9:
            ASSERT_TRUE(editor->RestoreDefaults().Done());
            model.places.reset();
            for (int n = 0; n < 5; ++n) model.slots[n] = Model::Default(n);
            model.read = model.slots;
            for (Seen& s : model.seen) s = {};
            model.selected = 0;
            model.ShowSelectedKind();
            break;
        case 10:
        case 11: {
            const PlacesEditor::Preview preview = editor->PreparePreview();
            ASSERT_TRUE(preview.saved.Done()) << Where();
            model.Save(*editor, Where());
            ASSERT_EQ(preview.noPlacesBar, model.hidden) << Where();
            ASSERT_NO_FATAL_FAILURE(CheckStore());
            break;
        }
        case 12: {  // closed and opened again
            ASSERT_TRUE(editor->Save().Done());
            model.Save(*editor, Where());
            ASSERT_NO_FATAL_FAILURE(CheckStore());
            if (Pick(2)) WriteBehind();
            editor = std::make_unique<PlacesEditor>(registry);
            model.hidden = false;  // a new editor's flag, where the stored one cannot be read
            ASSERT_EQ(editor->Load(), model.Load()) << Where();
            break;
        }
        case 13:
        case 14: WriteBehind(); return;  // seen at the watch's word
        default: {
            const std::vector<std::string> told = editor->TakeStoredChanges();
            ASSERT_EQ(told, model.TakenIn(*editor, Where())) << Where();
        }
        }
        ASSERT_NO_FATAL_FAILURE(CheckEditor());
    }

    void CheckEditor() {
        for (int n = 0; n < 5; ++n) ASSERT_EQ(editor->Slot(n), model.slots[n]) << "slot " << n << "; " << Where();
        ASSERT_EQ(editor->Selected(), model.selected) << Where();
        ASSERT_EQ(editor->ShownKind(), model.shown) << Where();
        ASSERT_EQ(editor->Hidden(), model.hidden) << Where();
    }
    void CheckStore() {
        for (int n = 0; n < 6; ++n) {
            const MemoryRegistry::Value* value = registry.Find(kPlacesBarKey, PlaceValueName(n));
            std::optional<Raw> expected;
            if (model.places && model.places->count(n)) expected = model.places->at(n);
            ASSERT_EQ(value ? std::optional<Raw>(Raw{value->type, value->data}) : std::nullopt, expected)
                << "Place" << n << "; " << Where();
        }
        const MemoryRegistry::Value* flag = registry.Find(kComdlgPolicyKey, "NoPlacesBar");
        ASSERT_EQ(flag ? std::optional<Raw>(Raw{flag->type, flag->data}) : std::nullopt, model.flag) << Where();
    }
    std::string Where() const {
        return "seed " + std::to_string(seed) + ", step " + std::to_string(steps) + " (kind " + std::to_string(last) + ")";
    }

    unsigned seed = 0;
    int steps = 0, last = -1;
    std::mt19937 random;
    MemoryRegistry registry;
    Model model;
    std::unique_ptr<PlacesEditor> editor;
};

TEST_P(EditorSequences, AgreeWithTheModel) {
    const SequenceRun run(GetParam(), "QUENMAR_SEQ_STEPS", 20000);
    seed = run.seed;
    const int count = run.length;
    random.seed(seed);
    registry.CreateKey(kComdlgPolicyKey);
    if (Pick(8)) {
        registry.CreateKey(kPlacesBarKey);
        model.places.emplace();
        for (int n = 0; n < 6; ++n) {
            if (Pick(5)) Put(n, RandomValue());
        }
    }
    if (Pick(4)) PutFlag(RandomFlag());
    editor = std::make_unique<PlacesEditor>(registry);
    ASSERT_EQ(editor->Load(), model.Load());
    ASSERT_NO_FATAL_FAILURE(CheckEditor());
    for (steps = 0; steps < count && !HasFailure(); ++steps) Step();
}

INSTANTIATE_TEST_SUITE_P(Seeds, EditorSequences, ::testing::Range(1u, 11u));

}  // namespace
}  // namespace quenmar::testing
