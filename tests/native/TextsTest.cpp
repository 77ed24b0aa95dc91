// The string tables of every language, read from their resource files: each
// has every text the English has, with the same placeholders, and each
// window's mnemonics are unique and reachable on the language's keyboard.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>

#include "StringTables.h"
#include "FileBytes.h"
#include "app/AppTexts.h"
#include "folderpicker/FolderPickerResources.h"
#include "places/Texts.h"

namespace quenmar::testing {
namespace {

// The native tests read the portable code's texts from the English file.
const bool englishTexts = (UseEnglishStringTable(), true);

const std::vector<StringTable>& Tables() {
    static const std::vector<StringTable> tables = ReadStringTables();
    return tables;
}

const StringTable& English() {
    for (const auto& table : Tables()) {
        if (table.file == "en-US.rc") return table;
    }
    throw std::runtime_error("no en-US.rc");
}

// The placeholders of a text, sorted: %1 to %9 and the C ones (%d, %s).
std::multiset<std::string> Placeholders(const std::string& text) {
    std::multiset<std::string> found;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '%') continue;
        const char next = text[i + 1];
        if (next == '%') {
            ++i;
        } else if ((next >= '1' && next <= '9') || next == 'd' || next == 's') {
            found.insert(text.substr(i, 2));
            ++i;
        }
    }
    return found;
}

// The placeholders of a text that stand in quotation marks, of any language
// ('%1', « %1 », „%2“, 「%1」), spaces and direction marks inside the
// marks allowed.
std::set<std::string> QuotedPlaceholders(const std::string& text) {
    static const std::vector<std::string> marks{"'", "\"", "\u201C", "\u201D", "\u201E", "\u00AB", "\u00BB",
                                                "\u300C", "\u300D", "\u300E", "\u300F", "\u2018", "\u2019"};
    static const std::vector<std::string> spaces{" ", "\u00A0", "\u202F", "\u200E", "\u200F"};
    const auto skip = [&](size_t at, bool back) {
        for (bool more = true; more;) {
            more = false;
            for (const std::string& space : spaces) {
                if (back && at >= space.size() && text.compare(at - space.size(), space.size(), space) == 0) {
                    at -= space.size();
                    more = true;
                } else if (!back && text.compare(at, space.size(), space) == 0) {
                    at += space.size();
                    more = true;
                }
            }
        }
        return at;
    };
    const auto markAt = [&](size_t at, bool back) {
        for (const std::string& mark : marks) {
            if (back ? at >= mark.size() && text.compare(at - mark.size(), mark.size(), mark) == 0
                     : text.compare(at, mark.size(), mark) == 0) {
                return true;
            }
        }
        return false;
    };
    std::set<std::string> quoted;
    for (const std::string& placeholder : Placeholders(text)) {
        for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + 1)) {
            if (markAt(skip(at, true), true) && markAt(skip(at + 2, false), false)) quoted.insert(placeholder);
        }
    }
    return quoted;
}

// The mnemonics of a text: the characters after a single '&' (UTF-8).
std::vector<std::string> Mnemonics(const std::string& text) {
    std::vector<std::string> found;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        size_t length = 1;
        const auto lead = static_cast<unsigned char>(text[i + 1]);
        if (lead >= 0xF0) length = 4; else if (lead >= 0xE0) length = 3; else if (lead >= 0xC0) length = 2;
        found.push_back(text.substr(i + 1, length));
    }
    return found;
}

// A mnemonic key as the keyboard gives it: ASCII letters and digits, or a
// letter of a Latin or Cyrillic alphabet (two UTF-8 bytes, from U+00C0 to
// U+04FF), of the Hebrew one (U+05D0 to U+05EA) or of the Arabic one
// (U+0621 to U+064A). Chinese and Japanese texts take an ASCII letter in
// parentheses.
bool Reachable(const std::string& key, bool asciiOnly) {
    if (key.size() == 1) return std::isalnum(static_cast<unsigned char>(key[0])) != 0;
    if (asciiOnly || key.size() != 2) return false;
    const int code = ((key[0] & 0x1F) << 6) | (key[1] & 0x3F);
    return (code >= 0xC0 && code <= 0x4FF && code != 0xD7 && code != 0xF7) || (code >= 0x5D0 && code <= 0x5EA) ||
           (code >= 0x621 && code <= 0x64A);
}

std::string Folded(std::string key) {
    if (key.size() == 1) return std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(key[0]))));
    // Latin-1 and Cyrillic capitals fold by their distance to the small ones.
    int code = ((key[0] & 0x1F) << 6) | (key[1] & 0x3F);
    if (code >= 0xC0 && code <= 0xDE) code += 0x20;
    else if (code >= 0x410 && code <= 0x42F) code += 0x20;
    else if (code >= 0x400 && code <= 0x40F) code += 0x50;
    return {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
}

// The texts each window shows at once, whose mnemonics must not collide.
const std::map<std::string, std::vector<int>> kWindows{
    {"main window", {IDS_USE_FOLDER, IDS_USE_SPECIAL, IDS_BROWSE, IDS_PREVIEW, IDS_RESTORE, IDS_EXIT, IDS_ABOUT,
                     IDS_HIDE}},
    {"folder picker", {IDS_PICKER_OK, IDS_PICKER_CANCEL, IDS_PICKER_CREATE_FOLDER, IDS_PICKER_DELETE}},
    {"About", {IDS_ABOUT_OK, IDS_VISIT_ONLINE}},
};

TEST(StringTables, EveryLanguageTheProgramSpeaksHasAFileOfItsOwn) {
    std::set<std::string> languages;
    for (const auto& table : Tables()) {
        EXPECT_TRUE(table.errors.empty()) << table.file << ": " << (table.errors.empty() ? "" : table.errors[0]);
        EXPECT_TRUE(languages.insert(table.language).second) << table.file << " repeats " << table.language;
    }
    for (const char* language : {"LANG_ENGLISH, SUBLANG_ENGLISH_US", "LANG_GERMAN, SUBLANG_NEUTRAL",
                                 "LANG_FRENCH, SUBLANG_NEUTRAL", "LANG_SPANISH, SUBLANG_NEUTRAL",
                                 "LANG_RUSSIAN, SUBLANG_NEUTRAL", "LANG_CHINESE, SUBLANG_NEUTRAL",
                                 "LANG_JAPANESE, SUBLANG_NEUTRAL", "LANG_ARABIC, SUBLANG_NEUTRAL",
                                 "LANG_HEBREW, SUBLANG_NEUTRAL"}) {
        EXPECT_TRUE(languages.count(language)) << "no file of " << language;
    }
}

TEST(StringTables, EveryNumberedTextIsInEnglish) {
    const auto names = TextNames();
    for (const auto& [number, name] : names) {
        EXPECT_TRUE(English().texts.count(number)) << name << " has no English text";
    }
    EXPECT_EQ(English().texts.size(), names.size());
}

TEST(StringTables, EveryLanguageHasEveryTextWithTheEnglishPlaceholders) {
    const auto names = TextNames();
    for (const auto& table : Tables()) {
        for (const auto& [number, english] : English().texts) {
            const auto found = table.texts.find(number);
            if (found == table.texts.end()) {
                ADD_FAILURE() << table.file << " lacks " << names.at(number);
                continue;
            }
            EXPECT_FALSE(found->second.empty()) << table.file << ": " << names.at(number) << " is empty";
            EXPECT_EQ(Placeholders(found->second), Placeholders(english)) << table.file << ": " << names.at(number);
            // What English quotes (a name) is quoted in every language: not another argument.
            EXPECT_EQ(QuotedPlaceholders(found->second), QuotedPlaceholders(english))
                << table.file << ": " << names.at(number) << ": " << found->second;
        }
        EXPECT_EQ(table.texts.size(), English().texts.size()) << table.file << " has texts the English lacks";
    }
}

// Each language's typography, as rows: a sign that must not follow what
// stands before it. French puts a no-break space (U+00A0) before : ; ? !
// and inside « », so that the sign never wraps onto a line of its own;
// Chinese and Japanese sentences take full-width ！？：（, also after a Latin
// word or a closing quotation mark, and Japanese sets 「」 without spaces;
// Arabic takes its own ؟ and ،. A drive's colon ("C:\") is no sign.
TEST(StringTables, EachLanguagesTypography) {
    struct Rule {
        const char* file;
        const char* what;
        // A text, "CJK" (any ideograph or kana: the bytes E3 to E9 lead them),
        // "Latin in CJK" (a Latin letter or a closing mark in a text with
        // CJK), "Arabic", or for "(" what follows it.
        std::string before;
        std::string sign;
    };
    const Rule rules[] = {
        {"fr.rc", "a plain space before a colon", " ", ":"},   {"fr.rc", "a plain space before a semicolon", " ", ";"},
        {"fr.rc", "a plain space before ?", " ", "?"},          {"fr.rc", "a plain space before !", " ", "!"},
        {"fr.rc", "a plain space after «", "\u00AB", " "},      {"fr.rc", "a plain space before »", " ", "\u00BB"},
        {"zh-Hans.rc", "a half-width ! after Chinese", "CJK", "!"}, {"zh-Hans.rc", "a half-width ? after Chinese", "CJK", "?"},
        {"zh-Hans.rc", "a half-width : after Chinese", "CJK", ":"}, {"ja.rc", "a half-width ! after Japanese", "CJK", "!"},
        {"ja.rc", "a half-width ? after Japanese", "CJK", "?"},   {"ja.rc", "a half-width : after Japanese", "CJK", ":"},
        {"ar.rc", "a Latin ? after Arabic (\u061F)", "Arabic", "?"}, {"ar.rc", "a Latin , after Arabic (\u060C)", "Arabic", ","},
        {"zh-Hans.rc", "a half-width ? after a Latin word or quote", "Latin in CJK", "?"},
        {"zh-Hans.rc", "a half-width : after a Latin word or quote", "Latin in CJK", ":"},
        {"zh-Hans.rc", "Chinese in half-width brackets", "CJK", "("}, {"ja.rc", "Japanese in half-width brackets", "CJK", "("},
        {"ja.rc", "a half-width ? after a Latin word or quote", "Latin in CJK", "?"},
        {"ja.rc", "a half-width : after a Latin word or quote", "Latin in CJK", ":"},
        {"ja.rc", "a space before \u300C", " ", "\u300C"}, {"ja.rc", "a space after \u300D", "\u300D", " "},
    };
    const auto cjkAt = [](const std::string& text, size_t at) {
        const auto lead = static_cast<unsigned char>(text[at]);
        return at + 3 <= text.size() && lead >= 0xE3 && lead <= 0xE9;
    };
    const auto names = TextNames();
    for (const Rule& rule : rules) {
        for (const auto& table : Tables()) {
            if (table.file != rule.file) continue;
            for (const auto& [number, text] : table.texts) {
                for (size_t at = text.find(rule.sign); at != std::string::npos; at = text.find(rule.sign, at + 1)) {
                    bool bad = false;
                    if (rule.sign == "(") {
                        bad = cjkAt(text, at + 1);
                    } else if (rule.before == "Latin in CJK") {
                        const bool hasCjk = std::ranges::any_of(text, [](char c) {
                            return static_cast<unsigned char>(c) >= 0xE3 && static_cast<unsigned char>(c) <= 0xE9;
                        });
                        // A drive's colon, or a switch's ("/target:user").
                        const bool drive = at + 1 < text.size() &&
                                           (text[at + 1] == '\\' || std::isalpha(static_cast<unsigned char>(text[at + 1])));
                        const bool latin = at >= 1 && std::isalpha(static_cast<unsigned char>(text[at - 1]));
                        const bool closing = at >= 3 && (text.compare(at - 3, 3, "\u201D") == 0 || text.compare(at - 3, 3, "\u300D") == 0);
                        bad = hasCjk && !drive && (latin || closing);
                    } else if (rule.before == "Arabic") {
                        // The letter before: two bytes, its lead from D8 (U+0600) to DB.
                        bad = at >= 2 && static_cast<unsigned char>(text[at - 2]) >= 0xD8 &&
                              static_cast<unsigned char>(text[at - 2]) <= 0xDB;
                    } else if (rule.before == "CJK") {
                        // The character before: three bytes, its lead from E3 (U+3000) to E9.
                        bad = at >= 3 && static_cast<unsigned char>(text[at - 3]) >= 0xE3 &&
                              static_cast<unsigned char>(text[at - 3]) <= 0xE9;
                    } else {
                        bad = at >= rule.before.size() && text.compare(at - rule.before.size(), rule.before.size(), rule.before) == 0;
                    }
                    EXPECT_FALSE(bad) << rule.file << ": " << rule.what << " in " << names.at(number) << ": " << text;
                }
            }
        }
    }
}

// In Arabic and Hebrew a switch read after right-to-left text, or starting
// a line of a box that reads from right to left, would show its slash at its
// far end ("export/"): a left-to-right mark (U+200E) stands between them.
// Blanks, brackets and punctuation between them take the direction of the
// text before them ("يحتاج: /export" reads "export/" too).
TEST(StringTables, EverySwitchAfterRightToLeftTextHasALeftToRightMark) {
    const std::string mark = "\u200E";
    const auto names = TextNames();
    for (const auto& table : Tables()) {
        if (table.file != "ar.rc" && table.file != "he.rc") continue;
        for (const auto& [number, text] : table.texts) {
            for (const std::string switchText : {"/export", "/quiet", "/?", "/policy"}) {
                for (size_t at = text.find(switchText); at != std::string::npos; at = text.find(switchText, at + 1)) {
                    size_t before = at;
                    bool marked = false;
                    for (;;) {
                        if (before >= mark.size() && text.compare(before - mark.size(), mark.size(), mark) == 0) {
                            marked = true;
                            before -= mark.size();
                        } else if (before > 0 && std::string_view(" \t[]():;,.!?'\"-").find(text[before - 1]) !=
                                                     std::string_view::npos) {
                            --before;
                        } else if (before >= 2 && (text.compare(before - 2, 2, "\u00AB") == 0 ||
                                                   text.compare(before - 2, 2, "\u00BB") == 0)) {
                            before -= 2;
                        } else {
                            break;
                        }
                    }
                    // Hebrew letters lead with D6 or D7, Arabic with D8 to DB
                    // (its comma and question mark among them).
                    const auto lead = before >= 2 ? static_cast<unsigned char>(text[before - 2]) : 0;
                    const bool afterRightToLeft = before == 0 || text[before - 1] == '\n' || (lead >= 0xD6 && lead <= 0xDB);
                    EXPECT_FALSE(afterRightToLeft && !marked)
                        << table.file << ": " << switchText << " in " << names.at(number) << ": " << text;
                }
            }
        }
    }
}

// A path in Arabic or Hebrew text has a left-to-right mark on each side:
// else a share's leading \\ or a GPO's closing } moves to its far end.
TEST(StringTables, APathInRightToLeftTextIsMarkedOnBothSides) {
    const std::string mark = "\u200E";
    const auto names = TextNames();
    const int kCouldNotRead = TextNumbers().at("IDS_COULD_NOT_READ"), kCouldNotWrite = TextNumbers().at("IDS_COULD_NOT_WRITE");
    for (const auto& table : Tables()) {
        if (table.file != "ar.rc" && table.file != "he.rc") continue;
        for (const int number : {IDS_GPT_INI_UNREADABLE, IDS_POLICY_UNREADABLE, kCouldNotRead, kCouldNotWrite,
                                 IDS_POLICY_FILE_TARGET, IDS_USE_PATH_INSTEAD, IDS_POLICY_FOLDER_MISSING,
                                 IDS_GPT_INI_NOT_WRITTEN}) {
            const std::string& text = table.texts.at(number);
            EXPECT_NE(text.find(mark + "%1" + mark), std::string::npos) << table.file << ": " << names.at(number) << ": " << text;
        }
    }
}

// A language names a thing one way: each reason the Open dialog leaves a
// place out begins with the same words for the dialog, and Hebrew spells
// each of its words one way.
TEST(StringTables, EachLanguageNamesAThingOneWay) {
    const auto names = TextNames();
    for (const auto& table : Tables()) {
        std::set<std::string> dialog;
        for (const int number : {IDS_LEFT_OUT_NO_FOLDER, IDS_LEFT_OUT_UNKNOWN_NAME, IDS_LEFT_OUT_NO_SPECIAL, IDS_LEFT_OUT_NOT_EXPANDED}) {
            const std::string& text = table.texts.at(number);
            dialog.insert(text.substr(0, std::min(text.find(':'), text.find("\uFF1A"))));
        }
        EXPECT_EQ(dialog.size(), 1u) << table.file;
    }
    const std::pair<const char*, const char*> hebrew[] = {{"\u05EA\u05D9\u05E7\u05D9\u05D9\u05D4", "folder"},
                                                          {"\u05D2\u05E8\u05E1\u05D4", "version"}};
    for (const auto& table : Tables()) {
        if (table.file != "he.rc") continue;
        for (const auto& [number, text] : table.texts) {
            for (const auto& [other, word] : hebrew) {
                EXPECT_EQ(text.find(other), std::string::npos) << names.at(number) << ": the other spelling of " << word;
            }
        }
    }
}

TEST(StringTables, EachWindowsMnemonicsAreUniqueAndOnTheKeyboard) {
    const auto names = TextNames();
    for (const auto& table : Tables()) {
        const bool cjk = table.language.find("CHINESE") != std::string::npos ||
                         table.language.find("JAPANESE") != std::string::npos;
        for (const auto& [window, texts] : kWindows) {
            std::map<std::string, std::string> taken;  // folded key -> text's name
            for (const int number : texts) {
                const auto found = table.texts.find(number);
                if (found == table.texts.end()) continue;  // told by the completeness test
                const auto keys = Mnemonics(found->second);
                EXPECT_EQ(keys.size(), Mnemonics(English().texts.at(number)).size())
                    << table.file << ": " << names.at(number) << " \"" << found->second << "\"";
                for (const auto& key : keys) {
                    EXPECT_TRUE(Reachable(key, cjk)) << table.file << ": " << names.at(number) << " &" << key;
                    const auto [where, added] = taken.emplace(Folded(key), names.at(number));
                    EXPECT_TRUE(added) << table.file << ", " << window << ": &" << key << " of " << names.at(number)
                                       << " is " << where->second << "'s too";
                }
            }
        }
    }
}

// Each language's help page names the window's commands as that language's
// build shows them (without their access keys): the English page for
// en-US.rc, a folder of the file's name for every other.
TEST(StringTables, EachHelpPageNamesTheCommandsAsItsLanguageShowsThem) {
    const auto names = TextNames();
    const auto shown = [](std::string text) {
        if (const size_t key = text.find("(&"); key != std::string::npos) text.erase(key, 4);  // "(&X)"
        text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
        return text;
    };
    for (const auto& table : Tables()) {
        const std::string language = table.file.substr(0, table.file.size() - 3);
        const std::string path = std::string(QUENMAR_SOURCE_DIR) + "/docs/help/" +
                                 (language == "en-US" ? "" : language + "/") + "Quenmar.htm";
        const std::string bytes = FileBytes(path);
        ASSERT_FALSE(bytes.empty()) << path;
        // Its words as a browser shows them: a line's break is a blank.
        std::string page;
        for (const char c : bytes) {
            const bool blank = c == ' ' || c == '\n' || c == '\r';
            if (!blank || (!page.empty() && page.back() != ' ')) page += blank ? ' ' : c;
        }
        for (const int number : {IDS_USE_FOLDER, IDS_USE_SPECIAL, IDS_BROWSE, IDS_PREVIEW, IDS_RESTORE, IDS_EXIT, IDS_HIDE,
                                 IDS_UNSET_PLACE, IDS_NOT_SET, IDS_COPY_AS_POWERSHELL, IDS_COPY_FOR_INTUNE,
                                 IDS_COPY_FOR_PREFERENCES, IDS_EDIT_LOCAL_POLICY}) {
            const std::string text = shown(table.texts.at(number));
            EXPECT_NE(page.find(text), std::string::npos) << path << " does not name " << names.at(number) << ": " << text;
        }
    }
}

TEST(FormatText, PutsTheArgumentsWhereTheirNumbersStand) {
    struct Case {
        const char* pattern;
        const char* first;
        const char* second;
        const char* expected;
    };
    const Case cases[] = {
        {"Failed to set data for '%1'", "Place0", "", "Failed to set data for 'Place0'"},
        {"%2 before %1", "one", "two", "two before one"},
        {"%1%1", "ab", "", "abab"},
        {"100%% of %1", "it", "", "100% of it"},
        {"%3 has no argument", "a", "b", "%3 has no argument"},
        {"an argument is not read again: %1", "%2", "x", "an argument is not read again: %2"},
        {"ends on a sign %", "", "", "ends on a sign %"},
        {"%0 and %a stay", "x", "", "%0 and %a stay"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatText(c.pattern, {c.first, c.second}), c.expected) << c.pattern;
}

}  // namespace
}  // namespace quenmar::testing
