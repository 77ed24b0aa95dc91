#include "places/PolicyFile.h"

#include <algorithm>

#include "places/AsciiCase.h"
#include "places/RegistryAccessor.h"
#include "places/Texts.h"
#include "places/Utf16.h"

namespace quenmar {

namespace {

constexpr std::string_view kSignature{"PReg\x01\x00\x00\x00", 8};

// The registry compares names with letters of either case alike.
bool SameName(std::string_view a, std::string_view b) { return SameIgnoringAsciiCase(a, b); }

bool InKey(std::string_view entryKey, std::string_view key) {
    return SameName(entryKey, key) ||
           (entryKey.size() > key.size() && entryKey[key.size()] == '\\' && SameName(entryKey.substr(0, key.size()), key));
}

// A marker ("**del.Name", "**DeleteValues", ...) deletes or guards; it sets
// no value of its own.
bool IsMarker(std::string_view value) { return value.starts_with("**"); }

void PutUnit(std::string& out, char16_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

void PutNumber(std::string& out, uint32_t number) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((number >> shift) & 0xFF);
}

void PutText(std::string& out, std::string_view text) {
    for (const char16_t unit : Utf8ToUtf16(text)) PutUnit(out, unit);
    PutUnit(out, 0);
}

std::string EntryBytes(const PolicyEntry& entry) {
    std::string out;
    PutUnit(out, u'[');
    PutText(out, entry.key);
    PutUnit(out, u';');
    PutText(out, entry.value);
    PutUnit(out, u';');
    PutNumber(out, entry.type);
    PutUnit(out, u';');
    PutNumber(out, static_cast<uint32_t>(entry.data.size()));
    PutUnit(out, u';');
    out += entry.data;
    PutUnit(out, u']');
    return out;
}

// Reads the body's entries one after another; the first fault ends it.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool AtEnd() const { return at_ == bytes_.size(); }
    size_t At() const { return at_; }
    std::optional<PolicyFileRefusal> fault;

    std::optional<PolicyEntry> Entry() {
        const size_t start = at_;
        PolicyEntry entry;
        if (!Expect(u'[')) return std::nullopt;
        const auto key = Text(0);
        if (!key || !Expect(u';')) return std::nullopt;
        const auto value = Text(PolicyFile::kLongestValueName);
        if (!value || !Expect(u';')) return std::nullopt;
        const auto type = Number();
        if (!type || !Expect(u';')) return std::nullopt;
        const size_t sizeAt = at_;
        const auto size = Number();
        if (!size || !Expect(u';')) return std::nullopt;
        if (*size > bytes_.size() - at_) return Refuse(PolicyFileFault::SizePastEnd, sizeAt);
        entry.data = std::string(bytes_.substr(at_, *size));
        at_ += *size;
        if (!Expect(u']')) return std::nullopt;
        entry.key = Utf16ToUtf8(*key);
        entry.value = Utf16ToUtf8(*value);
        entry.type = *type;
        entry.bytes = std::string(bytes_.substr(start, at_ - start));
        return entry;
    }

private:
    std::nullopt_t Refuse(PolicyFileFault why, size_t offset) {
        fault = PolicyFileRefusal{why, offset};
        return std::nullopt;
    }
    std::optional<char16_t> Unit() {
        if (bytes_.size() - at_ < 2) return std::nullopt;
        const auto low = static_cast<unsigned char>(bytes_[at_]), high = static_cast<unsigned char>(bytes_[at_ + 1]);
        at_ += 2;
        return static_cast<char16_t>(low | (high << 8));
    }
    // The format's next delimiter.
    bool Expect(char16_t wanted) {
        const size_t start = at_;
        const auto unit = Unit();
        if (unit == wanted) return true;
        Refuse(unit ? PolicyFileFault::Malformed : PolicyFileFault::CutShort, start);
        return false;
    }
    // Units up to the terminating zero; at most `longest` of them if not 0.
    std::optional<std::u16string> Text(size_t longest) {
        const size_t start = at_;
        std::u16string text;
        for (;;) {
            const auto unit = Unit();
            if (!unit) return Refuse(PolicyFileFault::CutShort, start);
            if (*unit == 0) return text;
            if (longest && text.size() == longest) return Refuse(PolicyFileFault::NameTooLong, start);
            text += *unit;
        }
    }
    std::optional<uint32_t> Number() {
        if (bytes_.size() - at_ < 4) return Refuse(PolicyFileFault::CutShort, at_);
        const uint32_t number = NumberOfDwordData(bytes_.substr(at_, 4));
        at_ += 4;
        return number;
    }

    std::string_view bytes_;
    size_t at_ = kSignature.size();
};

}  // namespace

PolicyFile PolicyFile::Read(std::string_view bytes, std::optional<PolicyFileRefusal>& refusal) {
    refusal.reset();
    PolicyFile file;
    if (bytes.empty()) return file;
    if (bytes.size() > kLargestFile) {
        refusal = PolicyFileRefusal{PolicyFileFault::TooLarge, kLargestFile};
        return {};
    }
    if (bytes.size() < 4 || bytes.substr(0, 4) != kSignature.substr(0, 4)) {
        refusal = PolicyFileRefusal{PolicyFileFault::NotPolicyFile, 0};
        return {};
    }
    if (bytes.size() < kSignature.size() || bytes.substr(4, 4) != kSignature.substr(4)) {
        refusal = PolicyFileRefusal{bytes.size() < kSignature.size() ? PolicyFileFault::CutShort
                                                                      : PolicyFileFault::OtherVersion, 4};
        return {};
    }
    Reader reader(bytes);
    while (!reader.AtEnd()) {
        std::optional<PolicyEntry> entry = reader.Entry();
        if (!entry) {
            refusal = reader.fault;
            return {};
        }
        file.entries_.push_back(std::move(*entry));
    }
    return file;
}

std::string PolicyFile::Bytes() const {
    std::string out(kSignature);
    for (const PolicyEntry& entry : entries_) out += entry.bytes;
    return out;
}

const PolicyEntry* PolicyFile::Find(std::string_view key, std::string_view value) const {
    // As Group Policy applies the entries: in order, a marker deleting what
    // came before it.
    const auto listed = [](std::string_view list, std::string_view name) {
        for (size_t start = 0; start <= list.size();) {
            const size_t end = std::min(list.find(';', start), list.size());
            if (SameName(list.substr(start, end - start), name)) return true;
            start = end + 1;
        }
        return false;
    };
    const PolicyEntry* found = nullptr;
    for (const PolicyEntry& entry : entries_) {
        if (SameName(entry.key, key)) {
            if (SameName(entry.value, value)) {
                found = &entry;
            } else if (SameName(entry.value, "**delvals.") ||
                       SameName(entry.value, "**del." + std::string(value)) ||
                       (SameName(entry.value, "**DeleteValues") && listed(TextOfStringData(entry.data), value))) {
                found = nullptr;
            }
        } else if (SameName(entry.value, "**DeleteKeys") && InKey(key, entry.key)) {
            // Its list names keys below the entry's own.
            const std::string_view below = key.substr(std::min(key.size(), entry.key.size() + 1));
            if (listed(TextOfStringData(entry.data), below.substr(0, below.find('\\')))) found = nullptr;
        }
    }
    return found;
}

bool PolicyFile::Set(std::string_view key, std::string_view value, uint32_t type, std::string_view data) {
    const auto last = std::find_if(entries_.rbegin(), entries_.rend(), [&](const PolicyEntry& entry) {
        return SameName(entry.key, key) && SameName(entry.value, value);
    });
    // An entry a later marker deletes is left as it is, and the value set
    // after the marker. A string that holds the text already is kept as it
    // was written, with whatever followed its end.
    if (last != entries_.rend() && Find(key, value) == &*last) {
        const bool sameText = (type == kRegSz || type == kRegExpandSz) && TextOfStringData(last->data) == TextOfStringData(data);
        if (last->type == type && (last->data == data || sameText)) return false;
        last->type = type;
        last->data = std::string(data);
        last->bytes = EntryBytes(*last);
        return true;
    }
    PolicyEntry entry{std::string(key), std::string(value), type, std::string(data), {}};
    entry.bytes = EntryBytes(entry);
    entries_.push_back(std::move(entry));
    return true;
}

bool PolicyFile::Remove(std::string_view key, std::string_view value) {
    return std::erase_if(entries_, [&](const PolicyEntry& entry) {
               return SameName(entry.key, key) && SameName(entry.value, value);
           }) > 0;
}

bool PolicyFile::RemoveKey(std::string_view key) {
    return std::erase_if(entries_, [&](const PolicyEntry& entry) {
               return !IsMarker(entry.value) && InKey(entry.key, key);
           }) > 0;
}

bool PolicyFile::HasValues(std::string_view key) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const PolicyEntry& entry) {
        return !IsMarker(entry.value) && SameName(entry.key, key) && Find(key, entry.value) == &entry;
    });
}

std::string StringData(std::string_view text) {
    std::string out;
    PutText(out, text);
    return out;
}

std::string TextOfStringData(std::string_view data) {
    std::u16string text;
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(data[i]) |
                                                (static_cast<unsigned char>(data[i + 1]) << 8));
        if (unit == 0) break;
        text += unit;
    }
    return Utf16ToUtf8(text);
}

std::string DwordData(uint32_t number) {
    std::string out;
    PutNumber(out, number);
    return out;
}

uint32_t NumberOfDwordData(std::string_view data) {
    uint32_t number = 0;
    for (size_t i = data.size(); i-- > 0;) number = (number << 8) | static_cast<unsigned char>(data[i]);
    return number;
}

std::string DescribeRefusal(std::string_view fileName, const PolicyFileRefusal& refusal) {
    static constexpr int kReasons[] = {IDS_POLICY_NOT_PREG,      IDS_POLICY_OTHER_VERSION, IDS_POLICY_CUT_SHORT,
                                       IDS_POLICY_MALFORMED,     IDS_POLICY_SIZE_PAST_END, IDS_POLICY_NAME_TOO_LONG,
                                       IDS_POLICY_TOO_LARGE};
    return TextOf(IDS_POLICY_UNREADABLE, {fileName, TextOf(kReasons[static_cast<size_t>(refusal.fault)]),
                                          std::to_string(refusal.offset)});
}

}  // namespace quenmar
