// Which language's text the program shows for a user's interface language:
// the language's own, its neutral form's, else English (United States).

#include <windows.h>

#include <gtest/gtest.h>

#include "app/AppTexts.h"
#include "win32/Texts.h"

namespace quenmar::testing {
namespace {

TEST(Texts, ALanguageFallsBackToItsNeutralFormThenToEnglish) {
    struct Case {
        LANGID user;
        const char* restore;  // what the Restore button says
    };
    const Case cases[] = {
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), "Restore &Defaults..."},
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), "Restore &Defaults..."},
        {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), "Stan&dard wiederherstellen..."},
        {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_SWISS), "Stan&dard wiederherstellen..."},
        {MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH_CANADIAN), "&Rétablir les valeurs par défaut..."},
        {MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MEXICAN), "&Restaurar valores predeterminados..."},
        {MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA), "&Восстановить по умолчанию..."},
        {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), "还原默认值(&D)..."},
        {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SINGAPORE), "还原默认值(&D)..."},
        // Traditional Chinese is a language of its own, which the program lacks.
        {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), "Restore &Defaults..."},
        {MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_HONGKONG), "Restore &Defaults..."},
        {MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), "既定値に戻す(&D)..."},
        {MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN), "Restore &Defaults..."},
        {MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), "Restore &Defaults..."},
    };
    for (const Case& c : cases) {
        win::SetTextLanguage(c.user);
        EXPECT_EQ(TextOf(IDS_RESTORE), c.restore) << std::hex << c.user;
    }
    win::SetTextLanguage(0);
    EXPECT_EQ(win::ResourceText(99), "") << "no language has a text of that number";
}

}  // namespace
}  // namespace quenmar::testing
