// Every language's texts fit their controls at 100, 150 and 200 percent: each
// caption measured in its control's own font against its control's
// rectangle, in the main window, the folder picker and About, and no two
// controls on top of each other.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "MainWindowProbe.h"
#include "MemoryRegistry.h"
#include "ModalBoxes.h"
#include "app/AboutWindow.h"
#include "app/AppTexts.h"
#include "folderpicker/FolderPickerWindow.h"
#include "places/Catalogue.h"
#include "win32/Texts.h"
#include "win32/WideText.h"

namespace quenmar::testing {
namespace {

struct Language {
    std::string name;  // the locale name of its identifier
    LANGID id;
};

// The languages of the program's string tables, each as its resources name
// it: the English of the United States and the others' neutral forms.
BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    LCIDToLocaleName(MAKELCID(language, SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0);
    reinterpret_cast<std::vector<Language>*>(languages)->push_back({win::Utf8(name), language});
    return TRUE;
}

std::vector<Language> ProgramLanguages() {
    std::vector<Language> languages;
    EnumResourceLanguagesW(GetModuleHandleW(nullptr), RT_STRING, MAKEINTRESOURCEW(IDS_RESTORE / 16 + 1), AddLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

void PrintTo(const Language& language, std::ostream* out) { *out << language.name; }

TEST(TextsFitLanguages, AreEveryLanguageTheProgramSpeaks) {
    std::set<LANGID> ids;
    for (const Language& language : ProgramLanguages()) ids.insert(language.id);
    EXPECT_EQ(ids, (std::set<LANGID>{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL),
                                     MAKELANGID(LANG_FRENCH, SUBLANG_NEUTRAL), MAKELANGID(LANG_SPANISH, SUBLANG_NEUTRAL),
                                     MAKELANGID(LANG_RUSSIAN, SUBLANG_NEUTRAL), MAKELANGID(LANG_CHINESE, SUBLANG_NEUTRAL),
                                     MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL), MAKELANGID(LANG_ARABIC, SUBLANG_NEUTRAL),
                                     MAKELANGID(LANG_HEBREW, SUBLANG_NEUTRAL)}));
}

int Scaled(int pixels96, int dpi) { return MulDiv(pixels96, dpi, 96); }

RECT ClientRectOf(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A text as drawn in a font (the control's own unless given).
RECT Measured(HWND control, const std::wstring& text, UINT format, int width = 0, HFONT face = nullptr) {
    const win::WindowDC dc(control);
    const win::SelectedObject font(dc.get(), face ? face : reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextW(dc.get(), text.c_str(), -1, &r, format | DT_CALCRECT);
    return r;
}

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return win::Utf8(name);
}

// Checks one window's controls. Owner-drawn buttons (ours) draw a glyph of
// 16 pixels and a gap of 4 before their caption, inside a frame of a pixel
// (at 96 dpi); `glyphed` are those with a glyph, `glyphOnly` those that show
// no caption at all.
class FitChecker {
public:
    FitChecker(std::string where, int dpi) : where_(std::move(where)), dpi_(dpi) {}
    std::set<HWND> glyphed, glyphOnly;

    void Check(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        std::vector<HWND> shown;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child)) continue;
            shown.push_back(child);
            const RECT r = ClientRectOf(child);
            RECT inside{};
            IntersectRect(&inside, &r, &client);
            EXPECT_TRUE(EqualRect(&inside, &r)) << Where(child) << " reaches out of the window";
            CheckText(child, r);
        }
        for (size_t a = 0; a < shown.size(); ++a) {
            for (size_t b = a + 1; b < shown.size(); ++b) {
                RECT ra = ClientRectOf(shown[a]), rb = ClientRectOf(shown[b]), both{};
                EXPECT_FALSE(IntersectRect(&both, &ra, &rb)) << Where(shown[a]) << " overlaps " << Where(shown[b]);
            }
        }
    }

private:
    std::string Where(HWND control) const {
        return where_ + " at " + std::to_string(dpi_) + " dpi: " + ClassOf(control) + " \"" +
               win::WindowText(control) + "\"";
    }
    int Width(const RECT& r) const { return r.right - r.left; }

    void CheckText(HWND control, const RECT& r) {
        const std::string type = ClassOf(control);
        const std::wstring text = win::Wide(win::WindowText(control));
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        if (type == "Static") {
            const LONG kind = style & SS_TYPEMASK;
            if (kind == SS_BITMAP || kind == SS_ICON || text.empty()) return;
            const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
            const RECT one = Measured(control, text, DT_SINGLELINE | prefix);
            if (Width(one) <= Width(r)) {
                EXPECT_LE(one.bottom, r.bottom - r.top) << Where(control) << " is cut at the bottom";
                return;
            }
            const RECT wrapped = Measured(control, text, DT_WORDBREAK | prefix, Width(r));
            EXPECT_LE(wrapped.bottom, r.bottom - r.top) << Where(control) << " has more lines than room";
            EXPECT_LE(Width(wrapped), Width(r)) << Where(control) << " has a word wider than itself";
        } else if (type == "Button") {
            const LONG kind = style & BS_TYPEMASK;
            const int caption = Width(Measured(control, text, DT_SINGLELINE));
            int needed = caption + Scaled(10, dpi_);
            if (kind == BS_OWNERDRAW) {
                if (glyphOnly.count(control)) return;
                needed = caption + 2 * Scaled(1, dpi_) + (glyphed.count(control) ? Scaled(16, dpi_) + 4 : 0);
            } else if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
                       kind == BS_AUTORADIOBUTTON) {
                needed = caption + Scaled(16, dpi_);
            }
            EXPECT_LE(needed, Width(r)) << Where(control) << " is cut off";
        } else if (type == "ToolbarWindow32") {
            const int count = static_cast<int>(SendMessageW(control, TB_BUTTONCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                TBBUTTON button{};
                SendMessageW(control, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
                if (button.fsStyle & BTNS_SEP) continue;
                wchar_t caption[256] = {};
                SendMessageW(control, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(caption));
                RECT item{};
                SendMessageW(control, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
                EXPECT_LE(Width(Measured(control, caption, DT_SINGLELINE)) + Scaled(16, dpi_), Width(item))
                    << Where(control) << ": tool \"" << win::Utf8(caption) << "\" is cut off";
                RECT toolbar{};
                GetClientRect(control, &toolbar);
                EXPECT_LE(item.right, toolbar.right) << Where(control) << ": tool \"" << win::Utf8(caption) << "\"";
            }
        }
    }

    std::string where_;
    int dpi_;
};


// Opens a window by its button, moves it to the scale, checks it and closes
// it with the given result.
template <typename FormClass>
void CheckOpenedWindow(widgets::Control& opener, const wchar_t* className, const std::string& where, int dpi,
                       int result) {
    Soon([=] {
        auto* window = ShownForm<FormClass>(className);
        if (!window) return ADD_FAILURE() << "no " << where;
        if (dpi != 96) ChangeDpi(window->Handle(), 96, dpi);
        FitChecker(where, dpi).Check(window->Handle());
        window->SetModalResult(result);
    });
    SendMessageW(opener.Handle(), BM_CLICK, 0, 0);
}

class TextsFit : public ::testing::TestWithParam<Language> {
protected:
    // Mirrored, as the program is, for a language read from right to left.
    void SetUp() override {
        win::SetTextLanguage(GetParam().id);
        SetProcessDefaultLayout(win::ReadsRightToLeft(GetParam().id) ? LAYOUT_RTL : 0);
    }
    void TearDown() override {
        form.reset();
        PumpMessages();
        win::SetTextLanguage(0);
        SetProcessDefaultLayout(0);
    }
    std::unique_ptr<MainWindowProbe> form;
};

TEST_P(TextsFit, InTheMainWindowThePickerAndAboutAtEveryScale) {
    form = std::make_unique<MainWindowProbe>(std::make_unique<MemoryRegistry>());
    form->Show();
    PumpMessages();
    const std::string language = GetParam().name;
    ASSERT_FALSE(language.empty());
    ASSERT_EQ(form->restoreButton.Text(), TextOf(IDS_RESTORE)) << "the window speaks the language chosen";
    int shownAt = 96;
    for (const int dpi : {96, 144, 192}) {
        if (dpi != shownAt) ChangeDpi(form->Handle(), shownAt, dpi);
        shownAt = dpi;
        PumpMessages();
        FitChecker main(language + " main window", dpi);
        main.glyphed = {form->browseButton.Handle(), form->previewButton.Handle(), form->restoreButton.Handle(),
                        form->aboutButton.Handle()};
        main.glyphOnly = {form->moveUpButton.Handle(), form->moveDownButton.Handle(),
                          form->changeFolderButton.Handle()};
        main.Check(form->Handle());
        // A place's caption is broken between words, never within one, and
        // shows whole: a place shows two lines at most and ends a longer
        // caption with an ellipsis (each special folder's name tried in the
        // first item, in the list's font).
        const HWND places = form->placesList.Handle();
        const std::wstring shown = win::Wide(ItemText(form->placesList, 0));
        // (The table's names, which the window is laid out for: the shell's
        // come later, and a longer one ends in an ellipsis.)
        for (const SpecialFolder& folder : kSpecialFolders) {
            const std::wstring name = win::Wide(TextOf(folder.nameText));
            LVITEMW item{};
            item.pszText = const_cast<wchar_t*>(name.c_str());
            SendMessageW(places, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
            RECT label{LVIR_LABEL};
            SendMessageW(places, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label));
            // The list wraps a caption 12 pixels inside its item: the name
            // wrapped so has the list's lines, all of which the label must hold.
            RECT bounds{LVIR_BOUNDS};
            SendMessageW(places, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&bounds));
            const RECT whole = Measured(places, name, DT_WORDBREAK | DT_EDITCONTROL | DT_CENTER | DT_NOPREFIX,
                                        bounds.right - bounds.left - 12);
            EXPECT_LE(whole.bottom - whole.top, label.bottom - label.top)
                << language << " at " << dpi << " dpi: \"" << win::Utf8(name) << "\" as a place's caption is cut short";
            // Words as the list breaks them: at spaces, after hyphens, and
            // after any Chinese or Japanese character.
            for (size_t start = 0; start < name.size();) {
                size_t end = start;
                while (end < name.size() && name[end] != L' ' && name[end] != L'-' && name[end] < 0x2E80) ++end;
                if (end < name.size() && name[end] != L' ') ++end;
                const std::wstring word = name.substr(start, end - start);
                EXPECT_LE(Measured(places, word, DT_SINGLELINE | DT_NOPREFIX).right, label.right - label.left)
                    << language << " at " << dpi << " dpi: \"" << win::Utf8(word) << "\" of a place's caption is cut";
                start = end + (end < name.size() && name[end] == L' ' ? 1 : 0);
            }
        }
        LVITEMW item{};
        item.pszText = const_cast<wchar_t*>(shown.c_str());
        SendMessageW(places, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));

        // The tagline (or what a policy's banner says instead) is written into
        // the banner, right of its mark, in the window's font or, where that
        // is too wide, down to four fifths of it.
        for (const int line : {IDS_TAGLINE, IDS_BANNER_LOCAL_POLICY, IDS_BANNER_POLICY_FILE, IDS_BANNER_POLICY_OBJECT}) {
            const RECT tagline = Measured(form->Handle(), win::Wide(TextOf(line)), DT_SINGLELINE | DT_NOPREFIX, 0, form->Font());
            EXPECT_LE(tagline.right * 4 / 5, Scaled(218 - 49, dpi)) << language << " \"" << TextOf(line) << "\" at " << dpi << " dpi";
        }

        CheckOpenedWindow<FolderPickerWindow>(form->browseButton, L"TSelectFolderForm", language + " folder picker", dpi,
                                              IDCANCEL);
        CheckOpenedWindow<AboutWindow>(form->aboutButton, L"TfrmQuenmarAbout", language + " About", dpi, IDOK);
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, TextsFit, ::testing::ValuesIn(ProgramLanguages()), [](const auto& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

}  // namespace
}  // namespace quenmar::testing
