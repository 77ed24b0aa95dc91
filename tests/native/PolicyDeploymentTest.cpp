// The deployments of a domain's policy, held against the languages' own
// rules: PowerShell's single-quoted strings (about_Quoting_Rules: only a
// single quotation mark, of any of its four forms, is doubled), XML's
// attribute values, and the Intune ADMX-backed settings' form.

#include <gtest/gtest.h>

#include "places/PolicyDeployment.h"

namespace quenmar::testing {
namespace {

TEST(PolicyDeployment, PowerShellQuotesAsItsSingleQuotedStringsAreRead) {
    const std::pair<std::string, std::string> rows[] = {
        {"", "''"},
        {"C:\\Data\\", "'C:\\Data\\'"},
        {"O'Brien", "'O''Brien'"},
        {"it\u2019s", "'it\u2019\u2019s'"},                                   // right single quotation mark
        {"\u2018a\u201Ab\u201B", "'\u2018\u2018a\u201A\u201Ab\u201B\u201B'"},  // and its other three forms
        {"$HOME `n $(x)", "'$HOME `n $(x)'"},                                 // nothing else is special
        {"\u201Cdouble\u201D & <x>", "'\u201Cdouble\u201D & <x>'"},
        {"D:\\\u0414\u0430\u043D\u043D\u044B\u0435\\\u6587\u4EF6", "'D:\\\u0414\u0430\u043D\u043D\u044B\u0435\\\u6587\u4EF6'"},
        {"\u2019", "'\u2019\u2019'"},
        {"\xE2\x80", "'\xE2\x80'"},  // cut short: not a quotation mark
    };
    for (const auto& [text, quoted] : rows) EXPECT_EQ(PowerShellQuoted(text), quoted) << text;
}

TEST(PolicyDeployment, TheScriptSetsWhatThePolicySetsAndRemovesTheRest) {
    Places places{Place::Special(5), Place::Folder("C:\\it's"), Place::NotSet(), Place::Folder("%HOMEDRIVE%\\x"),
                  Place::NotSet()};
    places[3].keepUnexpanded = true;
    const std::string key = "'HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";
    const std::string script = PlacesPowerShell(places, HideFlag::NotSet, "{31B2F340-016D-11D2-945F-00C04FB984F9}");
    EXPECT_EQ(script.substr(0, 3), "\xEF\xBB\xBF");
    for (const std::string& line : {
             std::string("param([string] $Guid = '{31B2F340-016D-11D2-945F-00C04FB984F9}')\r\n$gpo = @{ Guid = $Guid }\r\n"),
             "Set-GPRegistryValue @gpo -Key " + key + "\\Placesbar' -ValueName 'Place0' -Type DWord -Value 5 | Out-Null\r\n",
             "Set-GPRegistryValue @gpo -Key " + key + "\\Placesbar' -ValueName 'Place1' -Type String -Value 'C:\\it''s' | Out-Null\r\n",
             "Remove-GPRegistryValue @gpo -Key " + key + "\\Placesbar' -ValueName 'Place2' -ErrorAction SilentlyContinue | Out-Null\r\n",
             "Set-GPRegistryValue @gpo -Key " + key +
                 "\\Placesbar' -ValueName 'Place3' -Type ExpandString -Value '%HOMEDRIVE%\\x' | Out-Null\r\n",
             "Remove-GPRegistryValue @gpo -Key " + key + "\\Placesbar' -ValueName 'Place4' -ErrorAction SilentlyContinue | Out-Null\r\n",
             "Remove-GPRegistryValue @gpo -Key " + key + "' -ValueName 'NoPlacesBar' -ErrorAction SilentlyContinue | Out-Null\r\n"}) {
        EXPECT_NE(script.find(line), std::string::npos) << line << "\nin:\n" << script;
    }
    const std::string named = PlacesPowerShell(places, HideFlag::Show, "");
    EXPECT_NE(named.find("param([Parameter(Mandatory = $true)] [string] $Name)\r\n$gpo = @{ Name = $Name }\r\n"), std::string::npos);
    EXPECT_NE(named.find("-ValueName 'NoPlacesBar' -Type DWord -Value 0 | Out-Null"), std::string::npos);
}

TEST(PolicyDeployment, IntuneTakesTheDocumentedNamesAndEscapedText) {
    const std::string uri = "./User/Vendor/MSFT/Policy/Config/ADMX_WindowsExplorer/";
    struct Row {
        Places places;
        HideFlag hide;
        std::variant<std::vector<IntuneSetting>, int32_t> expected;
    };
    const Row rows[] = {
        {{Place::Special(5), Place::Folder("C:\\A & B <x>"), Place::NotSet(), Place::Special(0x11),
          Place::Folder("D:\\\"q\"\u2019\u6587")},
         HideFlag::NotSet,
         std::vector<IntuneSetting>{{uri + "PlacesBar",
                                     "<enabled/><data id=\"Places0\" value=\"MyDocuments\"/>"
                                     "<data id=\"Places1\" value=\"C:\\A &amp; B &lt;x&gt;\"/>"
                                     "<data id=\"Places3\" value=\"MyComputer\"/>"
                                     "<data id=\"Places4\" value=\"D:\\&quot;q&quot;\u2019\u6587\"/>"}}},
        {{Place::Special(0), Place::NotSet(), Place::NotSet(), Place::NotSet(), Place::Special(0x12)},
         HideFlag::Hide,
         std::vector<IntuneSetting>{
             {uri + "PlacesBar", "<enabled/><data id=\"Places0\" value=\"Desktop\"/><data id=\"Places4\" value=\"MyNetworkPlaces\"/>"},
             {uri + "NoPlacesBar", "<enabled/>"}}},
        {{Place::NotSet(), Place::NotSet(), Place::NotSet(), Place::NotSet(), Place::NotSet()},
         HideFlag::Show,
         std::vector<IntuneSetting>{{uri + "NoPlacesBar", "<disabled/>"}}},
        // History has no name in the policy's explain text: told, not guessed.
        {{Place::Special(0x22), Place::NotSet(), Place::NotSet(), Place::NotSet(), Place::NotSet()}, HideFlag::Hide, 0x22},
    };
    for (const Row& row : rows) EXPECT_EQ(PlacesForIntune(row.places, row.hide), row.expected);
}

}  // namespace
}  // namespace quenmar::testing
