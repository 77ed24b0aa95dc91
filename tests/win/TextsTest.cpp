// Which language's text the program shows for a user's interface language:
// the language's own, its neutral form's, else English (United States).

#include <windows.h>

#include <gtest/gtest.h>

#include "app/AppTexts.h"
#include "win32/Texts.h"
#include "win32/WideText.h"

namespace quenmar::testing {
namespace {

// The Restore button's text in exactly that table of the program's
// resources, read here apart from the loader.
std::wstring RestoreIn(LANGID table) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(IDS_RESTORE / 16 + 1), table);
    const auto* units = block ? static_cast<const wchar_t*>(LockResource(LoadResource(module, block))) : nullptr;
    for (UINT n = 0; units; units += 1 + *units, ++n) {
        if (n == IDS_RESTORE % 16) return std::wstring(units + 1, *units);
    }
    return {};
}

TEST(Texts, ALanguageFallsBackToItsNeutralFormThenToEnglish) {
    const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    struct Case {
        LANGID user;
        LANGID table;  // whose texts the user gets
    };
    const Case cases[] = {
        {english, english},
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), english},
        {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL)},
        {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_SWISS), MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL)},
        {MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH_CANADIAN), MAKELANGID(LANG_FRENCH, SUBLANG_NEUTRAL)},
        {MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MEXICAN), MAKELANGID(LANG_SPANISH, SUBLANG_NEUTRAL)},
        {MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA), MAKELANGID(LANG_RUSSIAN, SUBLANG_NEUTRAL)},
        {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), MAKELANGID(LANG_CHINESE, SUBLANG_NEUTRAL)},
        {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SINGAPORE), MAKELANGID(LANG_CHINESE, SUBLANG_NEUTRAL)},
        // Traditional Chinese is a language of its own, which the program lacks.
        {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), english},
        {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_HONGKONG), english},
        {MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), MAKELANGID(LANG_JAPANESE, SUBLANG_NEUTRAL)},
        {MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN), english},
        {MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), english},
    };
    for (const Case& c : cases) {
        win::SetTextLanguage(c.user);
        const std::wstring expected = RestoreIn(c.table);
        ASSERT_FALSE(expected.empty()) << "no table " << std::hex << c.table;
        EXPECT_EQ(TextOf(IDS_RESTORE), win::Utf8(expected)) << std::hex << c.user;
    }
    win::SetTextLanguage(0);
    EXPECT_EQ(win::ResourceText(99), "") << "no language has a text of that number";
}

}  // namespace
}  // namespace quenmar::testing
