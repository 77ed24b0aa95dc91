// The path text rules and folder captions on any bytes, each held against a
// reference written here from the rule itself. The whole input is the text.
#include <cstdlib>

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
    // A slot kept unexpanded is asked about and shown by its expanded path
    // (Windows' dialog expands it).
    Place entry = Place::Folder(text);
    entry.keepUnexpanded = !text.empty() && text[0] == '%';
    const std::string shown = entry.keepUnexpanded ? shell.ExpandEnvironment(text) : text;
    CHECK(QueryOf(entry, shell, OpenDialog::Windows) == (PlaceQuery{false, 0, shown}));
    const SlotDisplay display = DisplayFor(entry, nullptr, shell, OpenDialog::Windows);
    CHECK(display.caption == captionOf(shown));
    return 0;
}
