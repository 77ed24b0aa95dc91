// A Group Policy registry file (Registry.pol): a header ("PReg", version 1)
// and entries [key;value;type;size;data], every text in UTF-16LE with its
// terminating zero. Group Policy applies them in their order to the hive the
// file is for, at log-on and at each refresh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenmar {

struct PolicyEntry {
    std::string key;    // UTF-8, as the portable code holds text
    std::string value;  // the value's name, or a marker such as "**del.Place0"
    uint32_t type = 0;
    std::string data;   // the value's bytes as stored
    // The entry as it stands in the file, from '[' to ']': written back as
    // it is, whatever another tool put in it.
    std::string bytes;
};

// Why a file was refused, and the byte where reading stopped.
enum class PolicyFileFault { NotPolicyFile, OtherVersion, CutShort, Malformed, SizePastEnd, NameTooLong, TooLarge };
struct PolicyFileRefusal {
    PolicyFileFault fault = PolicyFileFault::Malformed;
    size_t offset = 0;
};
// What the user reads: the file, what is wrong with it and where.
std::string DescribeRefusal(std::string_view fileName, const PolicyFileRefusal& refusal);

class PolicyFile {
public:
    // Larger than any policy file can sensibly be.
    static constexpr size_t kLargestFile = 16u << 20;
    // The format's limit for a value's name, in UTF-16 units.
    static constexpr size_t kLongestValueName = 259;

    // Reads a whole file, or refuses it with the reason and the offset.
    // Nothing is made of a refused file; an empty one is an empty policy.
    static PolicyFile Read(std::string_view bytes, std::optional<PolicyFileRefusal>& refusal);

    // The whole file: every entry Set and Remove left alone byte for byte and
    // in its place.
    std::string Bytes() const;

    const std::vector<PolicyEntry>& Entries() const { return entries_; }
    // The entry setting a value, by its key and name as the registry
    // compares them (letters of either case alike); the last one of several.
    const PolicyEntry* Find(std::string_view key, std::string_view value) const;
    // Sets a value: an entry for it keeps its place and becomes the new one
    // (unless it already held this type and these bytes); else one is added
    // at the end, after any marker that would delete it. Whether the file
    // changed.
    bool Set(std::string_view key, std::string_view value, uint32_t type, std::string_view data);
    // Removes every entry that sets the value; whether there was one.
    bool Remove(std::string_view key, std::string_view value);
    // Removes every entry that sets a value of the key or a key below it.
    bool RemoveKey(std::string_view key);
    // Whether the file, applied, leaves any value set in the key itself.
    bool HasValues(std::string_view key) const;

private:
    std::vector<PolicyEntry> entries_;
};

// Text as a string value stores it: UTF-16LE with its terminating zero.
std::string StringData(std::string_view text);
// A string value's text, up to its first zero unit.
std::string TextOfStringData(std::string_view data);
std::string DwordData(uint32_t number);
// A REG_DWORD's number from its four bytes, least significant first.
uint32_t NumberOfDwordData(std::string_view data);

}  // namespace quenmar
