// The policy file's reader on any input: it reads the file or refuses it
// with a reason at an offset inside it, and never half. What it reads comes
// back byte for byte; after an edit, every other entry comes back as it was
// and in its place, and the file reads again. And a file built from the
// input by a writer of the format's own (so valid by construction) is
// always read, with the entries it was built from.
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "places/PolicyFile.h"

using namespace quenmar;

namespace {

struct Built {
    std::string key, value;
    uint32_t type;
    std::string data;
};

// Text as the format stores it: UTF-16LE, each character here one unit.
std::string Utf16(const std::u16string& text) {
    std::string out;
    for (const char16_t unit : text) out += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return out;
}

// A name of 1 to 16 characters chosen by the input: letters, digits, a
// space, and Cyrillic and CJK ones; a key's also backslashes inside it.
std::u16string Name(const uint8_t*& at, const uint8_t* end, bool key) {
    static const char16_t kChars[] = u"abcXYZ019 _-.\u0416\u044F\u6587\u00E9";
    const size_t length = at < end ? 1 + *at++ % 16 : 1;
    std::u16string name;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t pick = at < end ? *at++ : 0;
        const bool backslash = key && i > 0 && i + 1 < length && pick % 7 == 0;
        name += backslash ? u'\\' : kChars[pick % (std::size(kChars) - 1)];
    }
    return name;
}

std::string Utf8(const std::u16string& text) {
    std::string out;
    for (const char16_t c : text) {
        if (c < 0x80) out += static_cast<char>(c);
        else if (c < 0x800) out += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        else out += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
    return out;
}

void ReadsWhatAWriterOfItsOwnBuilds(const uint8_t* at, const uint8_t* end) {
    std::string file("PReg\x01\x00\x00\x00", 8);
    std::vector<Built> built;
    while (at < end && built.size() < 16) {
        const std::u16string key = Name(at, end, true), value = Name(at, end, false);
        const uint32_t type = at < end ? *at++ % 12 : 1;
        const size_t size = at < end ? std::min<size_t>(*at++ % 24, static_cast<size_t>(end - at)) : 0;
        const std::string data(reinterpret_cast<const char*>(at), size);
        at += size;
        auto number = [](uint32_t n) {
            return std::string{static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16), static_cast<char>(n >> 24)};
        };
        file += Utf16(u"[") + Utf16(key) + std::string(2, '\0') + Utf16(u";") + Utf16(value) + std::string(2, '\0') +
                Utf16(u";") + number(type) + Utf16(u";") + number(static_cast<uint32_t>(size)) + Utf16(u";") + data + Utf16(u"]");
        built.push_back({Utf8(key), Utf8(value), type, data});
    }
    std::optional<PolicyFileRefusal> refusal;
    const PolicyFile read = PolicyFile::Read(file, refusal);
    if (refusal || read.Entries().size() != built.size()) abort();
    for (size_t i = 0; i < built.size(); ++i) {
        const PolicyEntry& entry = read.Entries()[i];
        if (entry.key != built[i].key || entry.value != built[i].value || entry.type != built[i].type ||
            entry.data != built[i].data) {
            abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadsWhatAWriterOfItsOwnBuilds(data, data + size);
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
