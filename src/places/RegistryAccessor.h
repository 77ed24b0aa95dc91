#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
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

// A failed read or write of a value, with the message the user sees.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string FailedToSetData(const std::string& name);
std::string FailedToGetData(const std::string& name);
std::string InvalidDataType(const std::string& name);
std::string KeyNotOpened(const std::string& path);
std::string KeyNotDeleted(const std::string& path);

// The registry operations the places store needs, rooted at the current
// user's hive. One key is open at a time: OpenKey makes it the current key,
// the value operations act on it, CloseKey closes it.
class RegistryAccessor {
public:
    virtual ~RegistryAccessor() = default;

    // Opens a key for reading and writing, creating it when asked to.
    virtual bool OpenKey(const std::string& path, bool canCreate) = 0;
    // Opens an existing key for reading only; never creates it.
    virtual bool OpenKeyReadOnly(const std::string& path) = 0;
    virtual void CloseKey() = 0;

    virtual bool ValueExists(const std::string& name) = 0;
    virtual std::optional<RegDataInfo> GetDataInfo(const std::string& name) = 0;

    // The reads and writes raise RegistryError on failure.
    // Text is UTF-8 here and UTF-16 in the registry (Utf16.h): any stored
    // string reads and writes back unchanged. ReadString takes REG_SZ and
    // REG_EXPAND_SZ, unexpanded, up to the first zero unit.
    virtual std::string ReadString(const std::string& name) = 0;
    virtual int32_t ReadInteger(const std::string& name) = 0;
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
    virtual void WriteExpandString(const std::string& name, const std::string& value) = 0;
    virtual void WriteInteger(const std::string& name, int32_t value) = 0;

    // Deletes a value of the current key; done also when there was none.
    virtual bool DeleteValue(const std::string& name) = 0;
    // Deletes a key with everything below it.
    virtual bool DeleteKey(const std::string& path) = 0;

    // Makes what was written since the last commit last, all at once: a
    // policy file is written whole here, while the registry has kept each
    // write as it came. The failure's text, or nothing.
    virtual std::optional<std::string> Commit() { return std::nullopt; }
    // Whether the store states only what it sets, as a Group Policy does:
    // a flag left unset is no value at all rather than a 0.
    virtual bool StatesOnlyWhatItSets() const { return false; }
};

// Closes the accessor's current key when it leaves scope, also on errors.
class OpenKeyScope {
public:
    explicit OpenKeyScope(RegistryAccessor& reg) : reg_(reg) {}
    ~OpenKeyScope() { reg_.CloseKey(); }
    OpenKeyScope(const OpenKeyScope&) = delete;
    OpenKeyScope& operator=(const OpenKeyScope&) = delete;

private:
    RegistryAccessor& reg_;
};

}  // namespace quenmar
