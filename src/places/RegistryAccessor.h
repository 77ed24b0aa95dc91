#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quenmar {

// Registry value types, by their Windows numbers.
constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;
constexpr uint32_t kRegQword = 11;

struct RegDataInfo {
    uint32_t type = kRegNone;
    uint32_t size = 0;
};

// What a registry operation came to: kRegOk, or the system's error code
// (Windows' numbers, which every store uses).
using RegStatus = uint32_t;
constexpr RegStatus kRegOk = 0;
constexpr RegStatus kRegNotFound = 2;       // ERROR_FILE_NOT_FOUND: no such key or value
constexpr RegStatus kRegAccessDenied = 5;   // ERROR_ACCESS_DENIED
constexpr RegStatus kRegWrongType = 1630;   // ERROR_UNSUPPORTED_TYPE: a value of another type

// The messages of a failed operation on a value or a key.
std::string FailedToSetData(const std::string& name);
std::string KeyNotOpened(const std::string& path);
std::string KeyNotDeleted(const std::string& path);

// An open key of the store; closed when it goes.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // A value's type and size; kRegNotFound when it has none.
    virtual RegStatus Info(const std::string& name, RegDataInfo& info) const = 0;
    // Text is UTF-8 here and UTF-16 in the registry (Utf16.h): any stored
    // string reads and writes back unchanged. ReadText takes REG_SZ and
    // REG_EXPAND_SZ, unexpanded, up to the first zero unit; ReadNumber a
    // REG_DWORD. kRegWrongType for a value of another type.
    virtual RegStatus ReadText(const std::string& name, std::string& text) const = 0;
    virtual RegStatus ReadNumber(const std::string& name, int32_t& number) const = 0;
    // REG_EXPAND_SZ when expandable, else REG_SZ.
    virtual RegStatus WriteText(const std::string& name, const std::string& text, bool expandable) = 0;
    virtual RegStatus WriteNumber(const std::string& name, int32_t number) = 0;
    // kRegOk also when there was no such value.
    virtual RegStatus DeleteValue(const std::string& name) = 0;
};

// What a key is opened for: reading, or reading and writing (made when it
// is missing).
enum class KeyAccess { Read, Write };

// The store the places live in, rooted at the current user's hive: the
// registry, or a Group Policy file. Every operation says what it came to.
class RegistryAccessor {
public:
    virtual ~RegistryAccessor() = default;

    virtual RegStatus Open(const std::string& path, KeyAccess access, std::unique_ptr<RegistryKey>& key) = 0;
    // Deletes a key with everything below it; kRegNotFound when there is none.
    virtual RegStatus DeleteKey(const std::string& path) = 0;
    // A failed status in words, as the system says it.
    virtual std::string StatusText(RegStatus status) const;

    // Takes in what another program wrote, for a store that is read whole
    // (a policy file): before each look at the settings, and before a save
    // even if it seems unchanged. Why it could not be read, or nothing.
    virtual std::optional<std::string> Reread(bool evenIfUnchanged = false) {
        (void)evenIfUnchanged;
        return std::nullopt;
    }
    // Makes what was written since the last commit last, all at once: a
    // policy file is written whole here, while the registry has kept each
    // write as it came. The failure's text, or nothing.
    virtual std::optional<std::string> Commit() { return std::nullopt; }
    // What the last commit that was done has to tell, once: a policy saved
    // whose version could not be raised, or one that applies only at the
    // next refresh.
    virtual std::optional<std::string> TakeNotice() { return std::nullopt; }
    // Whether the store is a Group Policy, which states only what it sets:
    // a place or the hide flag it does not set has no value at all, and a
    // save changes only what the user changed.
    virtual bool IsPolicy() const { return false; }
};

}  // namespace quenmar
