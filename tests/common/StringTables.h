#pragma once

#include <map>
#include <string>
#include <vector>

namespace quenmar::testing {

// One language's resource file, read as text: its LANGUAGE statement and
// its string table by number, the texts as the resource compiler makes them.
struct StringTable {
    std::string file;      // the file's name, "de.rc"
    std::string language;  // "LANG_GERMAN, SUBLANG_NEUTRAL"
    std::map<int, std::string> texts;
    std::vector<std::string> errors;  // lines that are no text of the table
};

// The texts' numbers by name, from every header the language files include.
std::map<std::string, int> TextNumbers();
// The names by number.
std::map<int, std::string> TextNames();

std::vector<StringTable> ReadStringTables();
StringTable ReadStringTable(const std::string& fileName);

// The portable code's texts from the English file, for the native tests.
void UseEnglishStringTable();

}  // namespace quenmar::testing
