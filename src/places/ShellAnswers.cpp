#include "places/ShellAnswers.h"

#include <array>
#include <utility>

#include "places/AsciiCase.h"

namespace quenmar {

namespace {

// Group Policy's names of special folders: Windows XP's list, then today's
// for the same folders.
constexpr std::array<std::pair<std::string_view, int32_t>, 16> kPolicyNames{{
    {"MyComputer", 0x11},      {"MyDocuments", 0x05},     {"MyNetworkPlaces", 0x12}, {"MyFavorites", 0x06},
    {"MyPictures", 0x27},      {"MyMusic", 0x0D},         {"Desktop", 0x00},         {"Recent", 0x08},
    {"Printers", 0x04},        {"ProgramFiles", 0x26},    {"CommonDocuments", 0x2E}, {"CommonMusic", 0x35},
    {"CommonPictures", 0x36},  {"Documents", 0x05},       {"Pictures", 0x27},        {"Music", 0x0D},
}};

}  // namespace

std::optional<int32_t> PolicyNameFolder(std::string_view text) {
    // As the policy writes them; its own reader takes any case.
    for (const auto& [name, csidl] : kPolicyNames) {
        if (SameIgnoringAsciiCase(name, text)) return csidl;
    }
    return std::nullopt;
}

std::optional<std::string_view> PolicyNameOf(int32_t csidl) {
    for (const auto& [name, named] : kPolicyNames) {
        if (named == csidl) return name;
    }
    return std::nullopt;
}

bool IsPolicyName(std::string_view text) {
    // Today's names that stand for known folders with no CSIDL.
    static constexpr std::array<std::string_view, 4> kWithoutCsidl{
        "Recent Places", "Recently Changed", "Attachments", "Saved Searches"};
    for (const std::string_view name : kWithoutCsidl) {
        if (SameIgnoringAsciiCase(name, text)) return true;
    }
    return PolicyNameFolder(text).has_value();
}

bool WrittenAsPath(std::string_view text) {
    const bool drive = text.size() >= 2 && text[1] == ':' &&
                       ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
    return drive || text.substr(0, 2) == "\\\\";
}

}  // namespace quenmar
