// The path text rules and captions on any bytes, in a single-byte and a
// double-byte code page.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "FakeShell.h"
#include "places/Captions.h"

using namespace quenmar;

#define CHECK(condition) \
    if (!(condition)) std::abort()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const LeadByteTest isLead = in.ConsumeBool() ? ShiftJisLeadByte : NoLeadBytes;
    const std::string text = in.ConsumeRemainingBytesAsString();

    const std::string added = AddTrailingBackslash(text);
    CHECK(added == (text.empty() || text.back() == '\\' ? text : text + '\\'));
    const std::string stripped = StripTrailingBackslash(text, isLead);
    CHECK(stripped == text || (stripped.size() + 1 == text.size() && EndsWithBackslash(text, isLead)));
    CHECK(!EndsWithBackslash(text, isLead) || stripped != text);

    // The directory part and the last component make up the whole text.
    const size_t separator = LastSeparator(text, isLead);
    CHECK(separator == std::string::npos || (text[separator] == '\\' || text[separator] == ':'));
    CHECK(DirectoryPart(text, isLead) + LastPathComponent(text, isLead) == text);

    const std::string trimmed = TrimControlsAndBlanks(text);
    CHECK(text.find(trimmed) != std::string::npos);
    CHECK(trimmed.empty() || (static_cast<unsigned char>(trimmed.front()) > 32 &&
                              static_cast<unsigned char>(trimmed.back()) > 32));

    testing::FakeShell shell;
    const std::string caption = FolderSlotCaption(text, shell, isLead);
    CHECK(!caption.empty() || StripTrailingBackslash(text, isLead).empty());
    TDirInfo entry(text);
    entry.DirExpandable = !text.empty() && text[0] == '%';
    DisplayFor(entry, shell, isLead);
    return 0;
}
