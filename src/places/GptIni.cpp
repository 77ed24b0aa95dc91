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

}  // namespace

std::optional<GptIni> GptIni::Read(std::string_view text, GptIniRefusal& refusal) {
    GptIni ini;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        Line line{std::string(text.substr(at, end - at)), end < text.size() ? "\n" : ""};
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.ending = "\r" + line.ending;
        }
        ini.lines_.push_back(std::move(line));
        at = end + 1;
    }
    if (ini.lines_.empty()) ini.lines_.push_back({"[General]", "\r\n"});
    const auto refuse = [&](GptIniRefusal::Fault fault, std::optional<size_t> at) -> std::optional<GptIni> {
        refusal = {fault, at ? *at + 1 : 0, at ? ini.lines_[*at].text : std::string()};
        return std::nullopt;
    };
    std::optional<size_t> general;
    bool inGeneral = false;
    for (size_t i = 0; i < ini.lines_.size(); ++i) {
        if (ini.lines_[i].text.find('\0') != std::string::npos) return refuse(GptIniRefusal::Fault::NotText, i);
        const std::string_view line = Trimmed(ini.lines_[i].text);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return refuse(GptIniRefusal::Fault::NotALine, i);
            inGeneral = AsciiUpper(line) == "[GENERAL]";
            if (inGeneral && !general) general = i;
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) return refuse(GptIniRefusal::Fault::NotALine, i);
        if (!inGeneral) continue;
        const std::string name = AsciiUpper(Trimmed(line.substr(0, equals)));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        if (name == "VERSION") {
            if (value.empty() || value.size() > 10 || value.find_first_not_of("0123456789") != std::string_view::npos ||
                std::stoull(std::string(value)) > UINT32_MAX) {
                return refuse(GptIniRefusal::Fault::VersionNotANumber, i);
            }
            ini.version_ = i;
            ini.number_ = static_cast<uint32_t>(std::stoull(std::string(value)));
        } else if (name == "GPCUSEREXTENSIONNAMES") {
            auto groups = Groups(value);
            if (!groups) return refuse(GptIniRefusal::Fault::ExtensionsNotAList, i);
            ini.extensions_ = i;
            ini.groups_ = std::move(*groups);
        }
    }
    if (!general) return refuse(GptIniRefusal::Fault::NoGeneralSection, std::nullopt);
    ini.general_ = *general;
    return ini;
}

void GptIni::InsertAfter(size_t at, std::string added) {
    // After a last line without an ending, the added line ends the file as
    // that one did, and that one takes the ending of the lines before.
    std::string ending = lines_[at].ending;
    if (ending.empty()) {
        ending = at > 0 && !lines_[at - 1].ending.empty() ? lines_[at - 1].ending : "\r\n";
        std::swap(lines_[at].ending, ending);
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at + 1), Line{std::move(added), ending});
    for (std::optional<size_t>* index : {&version_, &extensions_}) {
        if (*index && **index > at) ++**index;
    }
}

void GptIni::RaiseUserVersion() {
    uint32_t user = ((number_ >> 16) + 1) & 0xFFFF;
    if (user == 0) user = 1;
    number_ = (user << 16) | (number_ & 0xFFFF);

    const auto less = [](const std::string& a, const std::string& b) { return AsciiUpper(a) < AsciiUpper(b); };
    const auto same = [](const std::string& a, const std::string& b) { return AsciiUpper(a) == AsciiUpper(b); };
    auto group = std::find_if(groups_.begin(), groups_.end(), [&](const auto& g) { return same(g[0], kRegistryExtension); });
    if (group == groups_.end()) group = groups_.insert(groups_.end(), {kRegistryExtension});
    if (std::none_of(group->begin() + 1, group->end(), [&](const auto& tool) { return same(tool, kAdministrativeTemplatesUserTool); })) {
        group->push_back(kAdministrativeTemplatesUserTool);
    }
    for (auto& g : groups_) std::sort(g.begin() + 1, g.end(), less);
    std::sort(groups_.begin(), groups_.end(), [&](const auto& a, const auto& b) { return less(a[0], b[0]); });
    std::string list;
    for (const auto& g : groups_) {
        list += '[';
        for (const std::string& guid : g) list += guid;
        list += ']';
    }

    const std::string extensionsLine = "gPCUserExtensionNames=" + list;
    if (extensions_) {
        lines_[*extensions_].text = extensionsLine;
    } else {
        InsertAfter(version_.value_or(general_), extensionsLine);
        extensions_ = version_.value_or(general_) + 1;
    }
    const std::string versionLine = "Version=" + std::to_string(number_);
    if (version_) {
        lines_[*version_].text = versionLine;
    } else {
        InsertAfter(general_, versionLine);
        version_ = general_ + 1;
    }
}

std::string GptIni::Text() const {
    std::string out;
    for (const Line& line : lines_) out += line.text + line.ending;
    return out;
}

std::optional<std::string> GptIniAfterUserSave(std::string_view text) {
    GptIniRefusal refusal;
    std::optional<GptIni> ini = GptIni::Read(text, refusal);
    if (!ini) return std::nullopt;
    ini->RaiseUserVersion();
    return ini->Text();
}

}  // namespace quenmar
