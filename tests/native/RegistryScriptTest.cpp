#include <gtest/gtest.h>
#include <unistd.h>

#include "RawValue.h"
#include "ToolOutput.h"
#include "places/RegistryScript.h"

namespace quenmar::testing {
namespace {

const std::string kHead =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[-HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar]\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32]\r\n";
const std::string kPlacesKey =
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar]\r\n";

// The script's text: the file's bytes after the byte-order mark, read as
// UTF-16LE units.
std::u16string Decoded(const std::string& file) {
    EXPECT_EQ(file.substr(0, 2), "\xFF\xFE") << "the byte-order mark";
    std::u16string text;
    for (size_t at = 2; at + 1 < file.size(); at += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(file[at]) |
                                      static_cast<unsigned char>(file[at + 1]) << 8);
    }
    return text;
}

std::string Narrow(const std::u16string& text) {
    std::string narrow;
    for (char16_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '#';
    return narrow;
}

struct Script : ::testing::Test {
    Places entries{Place::Special(34), Place::Special(0), Place::Special(5), Place::Special(17),
                   Place::Special(18)};
    std::string Text(bool hidden = false) {
        return Narrow(Decoded(PlacesScript(entries, hidden)));
    }
};

TEST_F(Script, DefaultsAsTheRegistryEditorWritesThem) {
    EXPECT_EQ(Text(), kHead + "\"NoPlacesBar\"=dword:00000000\r\n\r\n" + kPlacesKey +
                          "\"Place0\"=dword:00000022\r\n\"Place1\"=dword:00000000\r\n\"Place2\"=dword:00000005\r\n"
                          "\"Place3\"=dword:00000011\r\n\"Place4\"=dword:00000012\r\n\r\n");
    EXPECT_NE(Text(true).find("\"NoPlacesBar\"=dword:00000001\r\n"), std::string::npos);

    // Encoded: a byte-order mark, then UTF-16LE.
    const std::string bytes =
        PlacesScript(entries, false);
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(bytes.substr(0, 6), std::string("\xFF\xFEW\0i\0", 6));
    EXPECT_EQ(bytes.size(), 2 + 2 * Text().size());
}

TEST_F(Script, EveryKindOfValue) {
    entries[0] = Place::Folder("C:\\Program Files\\\"Quoted\"\\");
    entries[1] = Place::Folder("");
    entries[2] = Place::Folder("%WINDIR%");
    entries[2].keepUnexpanded = true;
    entries[3] = Place::Folder("C:\\\xED\xB0\x81");  // a trail surrogate alone
    entries[4] = Place::Special(-7);
    entries[4].path = "D:\\not stored";
    const std::string text = Text();
    const std::string places = text.substr(text.find(kPlacesKey) + kPlacesKey.size());
    EXPECT_EQ(places,
              "\"Place0\"=\"C:\\\\Program Files\\\\\\\"Quoted\\\"\\\\\"\r\n"
              "\"Place1\"=\"\"\r\n"
              "\"Place2\"=hex(2):25,00,57,00,49,00,4e,00,44,00,49,00,52,00,25,00,00,00\r\n"
              "\"Place3\"=hex(1):43,00,3a,00,5c,00,01,dc,00,00\r\n"
              "\"Place4\"=dword:fffffff9\r\n\r\n");
}

TEST_F(Script, TextBeyondAsciiAndLongOrBrokenValues) {
    entries[0] = Place::Folder("C:\\Café\\Папка\\文件夹 😀");
    entries[1] = Place::Folder("C:\\line\nbreak");
    entries[2] = Place::Folder("%USERPROFILE%\\" + std::string(40, 'x'));
    entries[2].keepUnexpanded = true;
    entries[3] = Place::Folder("C:\\a\rb\tc");  // every control character, not the line feed alone
    entries[4] = Place::Folder("C:\x01\x1F");  // the rarest too
    const std::u16string wide =
        Decoded(PlacesScript(entries, false));
    EXPECT_NE(wide.find(u"\"Place0\"=\"C:\\\\Café\\\\Папка\\\\文件夹 😀\"\r\n"), std::u16string::npos)
        << "UTF-16 text";
    const std::string text = Narrow(wide);
    EXPECT_NE(text.find("\"Place1\"=hex(1):43,00,3a,00,5c,00,6c,00,69,00,6e,00,65,00,0a,00,62,00,72,00,65,\\\r\n"
                        "  00,61,00,6b,00,00,00\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\"Place3\"=hex(1):43,00,3a,00,5c,00,61,00,0d,00,62,00,09,00,63,00,00,00\r\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("\"Place4\"=hex(1):43,00,3a,00,01,00,1f,00,00,00\r\n"), std::string::npos) << text;
    // Long values wrap as the registry editor wraps them.
    const size_t start = text.find("\"Place2\"=hex(2):");
    const std::string value = text.substr(start, text.find("\"Place3\"") - start);
    size_t lines = 0;
    for (size_t at = 0, end; (end = value.find("\r\n", at)) != std::string::npos; at = end + 2, ++lines) {
        EXPECT_LE(end - at, 80u) << value;
        if (lines > 0) {
            EXPECT_EQ(value.substr(at, 2), "  ");
        }
    }
    EXPECT_EQ(lines, 5u) << value;
}

}  // namespace
}  // namespace quenmar::testing

namespace quenmar::testing {
namespace {

// Exported for Group Policy: the five places in their types and, when the
// bar is hidden, the hide flag; nothing more. Read by Samba, not by us.
TEST_F(Script, APolicyFileHoldsThePlacesAndTheHideFlagAsSambaReadsThem) {
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";
    EXPECT_EQ(SambaReads(ExportedSettings(ExportFormatFor("C:\\Defaults.POL"), entries, HideFlag::Show, {})),
              "PReg 1\n" + key + "\\Placesbar|Place0|4|34\n" + key + "\\Placesbar|Place1|4|0\n" + key +
                  "\\Placesbar|Place2|4|5\n" + key + "\\Placesbar|Place3|4|17\n" + key + "\\Placesbar|Place4|4|18\n");
    entries[1] = Place::Folder("C:\\\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0\\");  // Cyrillic
    entries[2] = Place::Folder("%USERPROFILE%\\Projects");
    entries[2].keepUnexpanded = true;
    entries[3] = Place::Folder("\\\\server\\share\\");
    EXPECT_EQ(SambaReads(PlacesPolicyFile(entries, true)),
              "PReg 1\n" + key + "\\Placesbar|Place0|4|34\n" + key + "\\Placesbar|Place1|1|C:\\\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0\\\n" +
                  key + "\\Placesbar|Place2|2|%USERPROFILE%\\Projects\n" + key + "\\Placesbar|Place3|1|\\\\server\\share\\\n" +
                  key + "\\Placesbar|Place4|4|18\n" + key + "|NoPlacesBar|4|1\n");
    EXPECT_EQ(ExportFormatFor("places.reg"), ExportFormat::RegistryScript);
    EXPECT_EQ(ExportFormatFor("places.pol.txt"), ExportFormat::RegistryScript);
}

// Group Policy Preferences items, checked by xmllint against a schema
// written from [MS-GPPREF], and read back through XPath: each value in its
// type, numbers as eight hex digits, text as it was, each item its own uid.
TEST_F(Script, PreferencesItemsFollowTheSchemaAndHoldEachValue) {
    int made = 0;
    const PreferenceStamps stamps{[&] { return "{00000000-0000-0000-0000-00000000000" + std::to_string(made++) + "}"; },
                                  "2026-12-09 10:30:00"};
    entries[1] = Place::Folder("C:\\A & <B> \"q\"\t\xD0\x9F");
    entries[2] = Place::Folder("%USERPROFILE%\\Projects");
    entries[2].keepUnexpanded = true;
    const std::string xml = ExportedSettings(ExportFormatFor("C:\\Places.XML"), entries, HideFlag::Hide, stamps);
    EXPECT_EQ(made, 6) << "one uid for each item";
    const std::string schema = std::string(QUENMAR_SOURCE_DIR) + "/tests/common/GppRegistry.xsd";
    EXPECT_NE(OutputAbout(xml, "xmllint --noout --schema " + schema).find(" validates"), std::string::npos)
        << OutputAbout(xml, "xmllint --noout --schema " + schema);
    const auto item = [&](const std::string& name) {
        std::string read = OutputAbout(xml, "xmllint --xpath \"concat(//Registry[@name='" + name +
                                    "']/Properties/@hive, '|', //Registry[@name='" + name + "']/Properties/@key, '|', "
                                    "//Registry[@name='" + name + "']/Properties/@type, '|', //Registry[@name='" + name +
                                    "']/Properties/@value, '|', //Registry[@name='" + name + "']/Properties/@action)\"");
        if (!read.empty() && read.back() == '\n') read.pop_back();
        return read;
    };
    const std::string places = "HKEY_CURRENT_USER|Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";
    EXPECT_EQ(item("Place0"), places + "\\Placesbar|REG_DWORD|00000022|U");
    EXPECT_EQ(item("Place1"), places + "\\Placesbar|REG_SZ|C:\\A & <B> \"q\"\t\xD0\x9F|U");
    EXPECT_EQ(item("Place2"), places + "\\Placesbar|REG_EXPAND_SZ|%USERPROFILE%\\Projects|U");
    EXPECT_EQ(item("Place4"), places + "\\Placesbar|REG_DWORD|00000012|U");
    EXPECT_EQ(item("NoPlacesBar"), places + "|REG_DWORD|00000001|U");
}

}  // namespace
}  // namespace quenmar::testing
