// The policy file's reader on any input: it reads the file or refuses it
// with a reason at an offset inside it, and never half. What it reads comes
// back byte for byte; after an edit, every other entry comes back as it was
// and in its place, and the file reads again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "places/PolicyFile.h"

using namespace quenmar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::optional<PolicyFileRefusal> refusal;
    PolicyFile file = PolicyFile::Read(bytes, refusal);
    if (refusal) {
        if (refusal->offset > size || !file.Entries().empty()) abort();
        return 0;
    }
    if (!bytes.empty() && file.Bytes() != bytes) abort();
    if (file.Entries().empty()) return 0;
    // An edit of the first entry's value: only that entry, or a new last one, differs.
    const std::vector<PolicyEntry> before = file.Entries();
    file.Set(before[0].key, before[0].value, 4, std::string("\x11\x22\x33\x44", 4));
    PolicyFile again = PolicyFile::Read(file.Bytes(), refusal);
    if (refusal) abort();
    const auto& after = again.Entries();
    if (after.size() != before.size() && after.size() != before.size() + 1) abort();
    size_t changed = 0;
    for (size_t i = 0; i < before.size(); ++i) changed += after[i].bytes != before[i].bytes;
    if (changed > 1 || (changed == 1 && after.size() != before.size())) abort();
    const PolicyEntry* set = again.Find(before[0].key, before[0].value);
    if (!set || set->type != 4 || set->data != std::string("\x11\x22\x33\x44", 4)) abort();
    return 0;
}
