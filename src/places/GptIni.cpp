#include "places/GptIni.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "places/AsciiCase.h"

namespace quenmar {

namespace {

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "[{A}{B}][{C}{D}{E}]": groups of GUIDs, each a client-side extension and
// its tools. Nothing when the text is not such a list.
std::optional<std::vector<std::vector<std::string>>> Groups(std::string_view text) {
    std::vector<std::vector<std::string>> groups;
    size_t at = 0;
    while (at < text.size()) {
        if (text[at++] != '[') return std::nullopt;
        std::vector<std::string> group;
        while (at < text.size() && text[at] == '{') {
            const size_t end = text.find('}', at);
            if (end == std::string_view::npos || end - at != 37) return std::nullopt;
            group.emplace_back(text.substr(at, end - at + 1));
            at = end + 1;
        }
        if (group.empty() || at >= text.size() || text[at++] != ']') return std::nullopt;
        groups.push_back(std::move(group));
    }
    return groups;
}

std::string WithRegistryExtension(std::vector<std::vector<std::string>> groups) {
    const auto less = [](const std::string& a, const std::string& b) { return AsciiUpper(a) < AsciiUpper(b); };
    const auto same = [](const std::string& a, const std::string& b) { return AsciiUpper(a) == AsciiUpper(b); };
    auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return same(g[0], kRegistryExtension); });
    if (group == groups.end()) group = groups.insert(groups.end(), {kRegistryExtension});
    if (std::none_of(group->begin() + 1, group->end(), [&](const auto& tool) { return same(tool, kAdministrativeTemplatesUserTool); })) {
        group->push_back(kAdministrativeTemplatesUserTool);
    }
    for (auto& g : groups) std::sort(g.begin() + 1, g.end(), less);
    std::sort(groups.begin(), groups.end(), [&](const auto& a, const auto& b) { return less(a[0], b[0]); });
    std::string list;
    for (const auto& g : groups) {
        list += '[';
        for (const std::string& guid : g) list += guid;
        list += ']';
    }
    return list;
}

}  // namespace

std::optional<std::string> GptIniAfterUserSave(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) return std::nullopt;
    // Each line with the ending it has (the last may have none): a line
    // changed keeps its own, a line added takes the one before it.
    struct Line {
        std::string text;
        std::string ending;
    };
    std::vector<Line> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        Line line{std::string(text.substr(at, end - at)), end < text.size() ? "\n" : ""};
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.ending = "\r" + line.ending;
        }
        lines.push_back(std::move(line));
        at = end + 1;
    }
    if (lines.empty()) lines.push_back({"[General]", "\r\n"});
    const auto insertAfter = [&](size_t at, std::string added) {
        // After a last line without an ending, the added line ends the file
        // as that one did, and that one takes the ending of the lines before.
        Line& before = lines[at];
        std::string ending = before.ending;
        if (ending.empty()) {
            ending = at > 0 && !lines[at - 1].ending.empty() ? lines[at - 1].ending : "\r\n";
            std::swap(before.ending, ending);
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at + 1), Line{std::move(added), ending});
    };
    std::optional<size_t> general, version, extensions;
    bool inGeneral = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = Trimmed(lines[i].text);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return std::nullopt;
            inGeneral = AsciiUpper(line) == "[GENERAL]";
            if (inGeneral) general = i;
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        const std::string name = AsciiUpper(Trimmed(line.substr(0, equals)));
        if (inGeneral && name == "VERSION") version = i;
        if (inGeneral && name == "GPCUSEREXTENSIONNAMES") extensions = i;
    }
    if (!general) return std::nullopt;

    uint32_t number = 0;
    if (version) {
        const std::string& line = lines[*version].text;
        const std::string_view value = Trimmed(std::string_view(line).substr(line.find('=') + 1));
        if (value.empty() || value.size() > 10 || value.find_first_not_of("0123456789") != std::string_view::npos) {
            return std::nullopt;
        }
        const uint64_t read = std::stoull(std::string(value));
        if (read > UINT32_MAX) return std::nullopt;
        number = static_cast<uint32_t>(read);
    }
    uint32_t user = ((number >> 16) + 1) & 0xFFFF;
    if (user == 0) user = 1;
    const std::string versionLine = "Version=" + std::to_string((user << 16) | (number & 0xFFFF));

    std::vector<std::vector<std::string>> groups;
    if (extensions) {
        const std::string& line = lines[*extensions].text;
        const auto read = Groups(Trimmed(std::string_view(line).substr(line.find('=') + 1)));
        if (!read) return std::nullopt;
        groups = *read;
    }
    const std::string extensionsLine = "gPCUserExtensionNames=" + WithRegistryExtension(std::move(groups));

    if (extensions) {
        lines[*extensions].text = extensionsLine;
    } else {
        insertAfter(version.value_or(*general), extensionsLine);
    }
    if (version) {
        lines[*version].text = versionLine;
    } else {
        insertAfter(*general, versionLine);
    }
    std::string out;
    for (const Line& line : lines) out += line.text + line.ending;
    return out;
}

}  // namespace quenmar
