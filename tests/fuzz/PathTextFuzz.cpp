// The path text rules and captions on any bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "FakeShell.h"
#include "places/Captions.h"

using namespace quenmar;

#define CHECK(condition) \
    if (!(condition)) std::abort()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string text = in.ConsumeRemainingBytesAsString();

    const std::string added = AddTrailingBackslash(text);
    CHECK(added == (text.empty() || text.back() == '\\' ? text : text + '\\'));
    const std::string stripped = StripTrailingBackslash(text);
    CHECK(stripped == text || (stripped.size() + 1 == text.size() && EndsWithBackslash(text)));
    CHECK(!EndsWithBackslash(text) || stripped != text);

    // The directory part and the last component make up the whole text.
    const size_t separator = LastSeparator(text);
    CHECK(separator == std::string::npos || (text[separator] == '\\' || text[separator] == ':'));
    CHECK(DirectoryPart(text) + LastPathComponent(text) == text);

    const std::string trimmed = TrimControlsAndBlanks(text);
    CHECK(text.find(trimmed) != std::string::npos);
    CHECK(trimmed.empty() || (static_cast<unsigned char>(trimmed.front()) > 32 &&
                              static_cast<unsigned char>(trimmed.back()) > 32));

    testing::FakeShell shell;
    const std::string caption = FolderSlotCaption(text, shell);
    CHECK(!caption.empty() || StripTrailingBackslash(text).empty());
    TDirInfo entry(text);
    entry.DirExpandable = !text.empty() && text[0] == '%';
    DisplayFor(entry, shell);
    return 0;
}
