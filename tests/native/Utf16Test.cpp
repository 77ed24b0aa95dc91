#include <gtest/gtest.h>

#include "places/Utf16.h"

namespace quenmar {
namespace {

// Both sides spelled by hand (or by the compiler's own u"" encoding), so that
// neither direction of the converter is checked against the other.
struct Conversion {
    const char* name;
    std::string utf8;
    std::u16string utf16;
};

const Conversion kBothWays[] = {
    {"empty", "", u""},
    {"ASCII", "C:\\x y", u"C:\\x y"},
    {"two bytes", "Caf\xC3\xA9 \xD0\x9F", u"Caf\u00E9 \u041F"},
    {"three bytes", "\xE6\x96\x87\xE4\xBB\xB6\xE5\xA4\xB9", u"\u6587\u4EF6\u5939"},
    {"four bytes", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
    {"limits", std::string("\0\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", 20),
     std::u16string(u"\0\x7F\x80\x7FF\x800\xFFFF\xD800\xDC00\xDBFF\xDFFF", 10)},
    {"lead surrogate alone", "a\xED\xA0\x80z", u"a\xD800z"},
    {"trail surrogate alone", "\xED\xBF\xBF", u"\xDFFF"},
    {"trail before lead", "\xED\xB0\x80\xED\xA0\x80", u"\xDC00\xD800"},
    {"lead at the end", "x\xED\xAF\xBF", u"x\xDBFF"},
};

TEST(Utf16, ConvertsBothWays) {
    for (const Conversion& c : kBothWays) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.name;
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.name;
    }
}

// Bytes that are not UTF-8: one U+FFFD for each longest start of a sequence,
// and the byte that broke it is read again.
TEST(Utf16, InvalidUtf8BecomesReplacementCharacters) {
    const Conversion cases[] = {
        {"stray continuation", "a\x80z", u"a\xFFFDz"},
        {"cut short at the end", "a\xE6\x96", u"a\xFFFD"},
        {"cut short by ASCII", "\xE6\x96z", u"\xFFFDz"},
        {"cut short by a lead", "\xF0\x9F\xC3\xA9", u"\xFFFD\u00E9"},
        {"overlong two", "\xC0\xAF", u"\xFFFD\xFFFD"},
        {"overlong three", "\xE0\x80\xAF", u"\xFFFD\xFFFD\xFFFD"},
        {"overlong four", "\xF0\x8F\xBF\xBF", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
        {"never a lead", "\xF5\xFE\xFF", u"\xFFFD\xFFFD\xFFFD"},
        {"a surrogate pair in two halves", "\xED\xA0\xBD\xED\xB8\x80", u"\xD83D\xDE00"},
    };
    for (const Conversion& c : cases) EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.name;
}

}  // namespace
}  // namespace quenmar
