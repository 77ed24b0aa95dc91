#include "StringTables.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "places/Texts.h"

namespace quenmar::testing {

namespace {

constexpr const char* kSourceDir = QUENMAR_SOURCE_DIR;
constexpr const char* kLanguageDir = QUENMAR_SOURCE_DIR "/src/app/res/lang";

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// A quoted text as the resource compiler reads it: "" is a quote, and the
// escapes \n, \t, \\ and \" stand for what they do in C.
std::string Unquote(const std::string& quoted) {
    std::string text;
    for (size_t i = 0; i < quoted.size(); ++i) {
        const char next = i + 1 < quoted.size() ? quoted[i + 1] : '\0';
        if (quoted[i] == '"' && next == '"') {
            text += '"';
            ++i;
        } else if (quoted[i] == '\\' && next) {
            text += next == 'n' ? '\n' : next == 't' ? '\t' : next;
            ++i;
        } else {
            text += quoted[i];
        }
    }
    return text;
}

}  // namespace

std::map<std::string, int> TextNumbers() {
    std::map<std::string, int> numbers;
    const std::regex define(R"(^#define\s+(IDS_\w+)\s+(\d+)\s*$)");
    for (const char* header : {"src/places/Texts.h", "src/win32/Texts.h", "src/widgets/Resources.h",
                               "src/folderpicker/FolderPickerResources.h", "src/app/AppTexts.h"}) {
        for (const std::string& line : Lines(std::string(kSourceDir) + "/" + header)) {
            std::smatch match;
            if (std::regex_match(line, match, define)) numbers[match[1]] = std::stoi(match[2]);
        }
    }
    return numbers;
}

std::map<int, std::string> TextNames() {
    std::map<int, std::string> names;
    for (const auto& [name, number] : TextNumbers()) names[number] = name;
    return names;
}

StringTable ReadStringTable(const std::string& fileName) {
    static const std::map<std::string, int> numbers = TextNumbers();
    StringTable table;
    table.file = fileName;
    const std::regex language(R"(^LANGUAGE\s+(\w+)\s*,\s*(\w+)\s*$)");
    const std::regex entry(R"re(^\s*(IDS_\w+)\s*,\s*"(.*)"\s*$)re");
    bool inTable = false;
    for (const std::string& line : Lines(std::string(kLanguageDir) + "/" + fileName)) {
        std::smatch match;
        const auto first = line.find_first_not_of(" \t");
        const std::string trimmed = first == std::string::npos ? "" : line.substr(first);
        if (std::regex_match(line, match, language)) {
            table.language = std::string(match[1]) + ", " + std::string(match[2]);
        } else if (trimmed == "BEGIN") {
            inTable = true;
        } else if (trimmed == "END") {
            inTable = false;
        } else if (!inTable || trimmed.empty() || trimmed.rfind("//", 0) == 0) {
            continue;
        } else if (std::regex_match(line, match, entry) && numbers.count(match[1])) {
            const int number = numbers.at(match[1]);
            if (!table.texts.emplace(number, Unquote(match[2])).second) table.errors.push_back("twice: " + line);
        } else {
            table.errors.push_back(line);
        }
    }
    return table;
}

std::vector<StringTable> ReadStringTables() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(kLanguageDir)) {
        if (entry.path().extension() == ".rc") files.push_back(entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    std::vector<StringTable> tables;
    for (const auto& file : files) tables.push_back(ReadStringTable(file));
    return tables;
}

void UseEnglishStringTable() {
    static const StringTable english = ReadStringTable("en-US.rc");
    SetTextReader([](int id) {
        const auto found = english.texts.find(id);
        return found == english.texts.end() ? std::string() : found->second;
    });
}

}  // namespace quenmar::testing
