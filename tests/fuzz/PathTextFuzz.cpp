// The path text rules and folder captions on any bytes, each held against a
// reference written here from the rule itself. The whole input is the text.
#include <cstdlib>
#include <optional>
#include <utility>

#include "FakeShell.h"
#include "FuzzInputs.h"
#include "places/Captions.h"

using namespace quenmar;

namespace {

// The text after the last backslash or colon, and up to it.
std::pair<std::string, std::string> Split(const std::string& text) {
    size_t cut = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' || text[i] == ':') cut = i + 1;
    }
    return {text.substr(0, cut), text.substr(cut)};
}

// The names Group Policy's "Items displayed in Places Bar" documents for
// special folders, and the CSIDL each stands for (shlobj.h's numbers).
std::optional<int32_t> DocumentedFolder(const std::string& text) {
    static const std::pair<const char*, int32_t> kDocumented[] = {
        {"desktop", 0x00},        {"mydocuments", 0x05},     {"documents", 0x05},      {"myfavorites", 0x06},
        {"recent", 0x08},         {"mymusic", 0x0d},         {"music", 0x0d},          {"mycomputer", 0x11},
        {"mynetworkplaces", 0x12}, {"printers", 0x04},       {"programfiles", 0x26},   {"mypictures", 0x27},
        {"pictures", 0x27},       {"commondocuments", 0x2e}, {"commonmusic", 0x35},    {"commonpictures", 0x36},
    };
    std::string folded = text;  // the policy's reader takes any letter case
    for (char& c : folded) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    for (const auto& [name, csidl] : kDocumented) {
        if (folded == name) return csidl;
    }
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool endsInBackslash = !text.empty() && text.back() == '\\';
    const std::string stripped = endsInBackslash ? text.substr(0, text.size() - 1) : text;
    const auto [directory, last] = Split(text);
    size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;

    CHECK(AddTrailingBackslash(text) == (text.empty() || endsInBackslash ? text : text + '\\'));
    CHECK(EndsWithBackslash(text) == endsInBackslash);
    CHECK(StripTrailingBackslash(text) == stripped);
    CHECK(DirectoryPart(text) == directory);
    CHECK(LastPathComponent(text) == last);
    CHECK(LastSeparator(text) == (directory.empty() ? std::string::npos : directory.size() - 1));
    CHECK(TrimControlsAndBlanks(text) == text.substr(begin, end - begin));

    // A folder slot's caption until the shell names it: its last part, or
    // whole when it has none. One final backslash never counts.
    testing::FakeShell shell;
    const auto captionOf = [](const std::string& path) {
        const std::string bare = !path.empty() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
        const std::string last = Split(bare).second;
        return last.empty() ? bare : last;
    };
    CHECK(FolderSlotCaption(text) == captionOf(text));
    // Windows' dialog asks a documented name as its special folder, and any
    // other text as a path; a slot kept unexpanded by its expanded path.
    Place entry = Place::Folder(text);
    entry.keepUnexpanded = !text.empty() && text[0] == '%';
    const std::string shown = entry.keepUnexpanded ? shell.ExpandEnvironment(text) : text;
    const std::optional<int32_t> documented = DocumentedFolder(text);
    CHECK(QueryOf(entry, shell, OpenDialog::Windows) ==
          (documented ? PlaceQuery{true, *documented, {}} : PlaceQuery{false, 0, shown}));
    const SlotDisplay display = DisplayFor(entry, nullptr, shell, OpenDialog::Windows);
    CHECK(display.caption == captionOf(shown));
    return 0;
}
