#include "places/Catalogue.h"

#include <algorithm>

#include "places/Utf16.h"

namespace quenmar {

std::optional<int> CatalogueRow(int32_t csidl) {
    for (size_t row = 0; row < kSpecialFolders.size(); ++row) {
        if (kSpecialFolders[row].csidl == csidl) return static_cast<int>(row);
    }
    return std::nullopt;
}

std::string SpecialFolderName(int32_t csidl) {
    const auto row = CatalogueRow(csidl);
    return TextOf(row ? kSpecialFolders[*row].nameText : IDS_UNKNOWN_FOLDER);
}

std::array<std::string, kSpecialFolders.size()> CatalogueNames(
    const std::array<const ShellAnswer*, kSpecialFolders.size()>& answers) {
    std::array<std::string, kSpecialFolders.size()> names;
    for (size_t row = 0; row < names.size(); ++row) {
        const ShellAnswer* answer = answers[row];
        names[row] = answer && answer->found && !answer->name.empty() ? answer->name
                                                                        : TextOf(kSpecialFolders[row].nameText);
    }
    std::array<std::string, kSpecialFolders.size()> shown = names;
    for (size_t row = 0; row < names.size(); ++row) {
        const ShellAnswer* answer = answers[row];
        if (!answer || answer->location.empty()) continue;
        for (size_t other = 0; other < names.size(); ++other) {
            if (other != row && names[other] == names[row]) {
                shown[row] = names[row] + " (" + answer->location + ")";
                break;
            }
        }
    }
    return shown;
}

std::vector<std::pair<std::string, std::string>> TwoLineBreaks(const std::string& text) {
    const std::u16string units = Utf8ToUtf16(text);
    std::vector<std::pair<std::string, std::string>> breaks;
    for (size_t i = 0; i < units.size();) {
        const char16_t unit = units[i];
        const bool pair = unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size();
        i += pair ? 2 : 1;
        if (unit == u' ' || ((pair || unit >= 0x2E80) && i < units.size())) {
            breaks.emplace_back(Utf16ToUtf8(units.substr(0, i)), Utf16ToUtf8(units.substr(i)));
        }
    }
    return breaks;
}

int PlaceNamesWidth(const TextWidths& widthsOf) {
    std::vector<std::string> texts;  // each name, then the two lines of each of its breaks
    std::vector<size_t> breakCounts;
    for (const SpecialFolder& row : kSpecialFolders) {
        std::string name = TextOf(row.nameText);
        auto breaks = TwoLineBreaks(name);
        texts.push_back(std::move(name));
        for (auto& [first, second] : breaks) {
            texts.push_back(std::move(first));
            texts.push_back(std::move(second));
        }
        breakCounts.push_back(breaks.size());
    }
    const std::vector<int> widths = widthsOf(texts);
    int widest = 0;
    size_t n = 0;
    for (const size_t count : breakCounts) {
        int narrowest = widths[n++];
        for (size_t b = 0; b < count; ++b, n += 2) narrowest = std::min(narrowest, std::max(widths[n], widths[n + 1]));
        widest = std::max(widest, narrowest);
    }
    return widest;
}

}  // namespace quenmar
