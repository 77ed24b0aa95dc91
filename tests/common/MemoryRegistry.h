#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "places/RegistryAccessor.h"

namespace quenmar {

// A registry held in memory, with ways to make operations fail that the real
// registry cannot be made to fail on demand.
class MemoryRegistry : public RegistryAccessor {
public:
    struct Value {
        std::string name;  // as written, letter case kept
        uint32_t type = kRegNone;
        std::string data;  // raw bytes; text is UTF-16LE, as the registry holds it
    };

    // Direct access for setting up and checking, outside the accessor protocol.
    void PutRaw(const std::string& keyPath, const std::string& name, uint32_t type, std::string data);
    void PutString(const std::string& keyPath, const std::string& name, const std::string& text,
                   uint32_t type = kRegSz);
    void PutDword(const std::string& keyPath, const std::string& name, uint32_t value);
    void CreateKey(const std::string& keyPath);
    bool KeyExists(const std::string& keyPath) const;
    const Value* Find(const std::string& keyPath, const std::string& name) const;
    std::vector<Value> ValuesOf(const std::string& keyPath) const;

    // Faults.
    std::set<std::string> unopenableKeys;     // no open at all
    std::set<std::string> readOnlyKeys;       // read-only opens only
    std::set<std::string> failingWrites;      // value names whose write fails
    std::set<std::string> failingTypeQueries; // value names whose type query fails
    bool failDeletes = false;

    // Bookkeeping for tests.
    int openCount = 0;      // successful opens
    int closeCount = 0;     // closes of an open key
    int writeCount = 0;     // successful value writes
    bool KeyIsOpen() const { return !current_.empty(); }

    bool OpenKey(const std::string& path, bool canCreate) override;
    bool OpenKeyReadOnly(const std::string& path) override;
    void CloseKey() override;
    bool ValueExists(const std::string& name) override;
    std::optional<RegDataInfo> GetDataInfo(const std::string& name) override;
    std::string ReadString(const std::string& name) override;
    int32_t ReadInteger(const std::string& name) override;
    void WriteString(const std::string& name, const std::string& value) override;
    void WriteExpandString(const std::string& name, const std::string& value) override;
    void WriteInteger(const std::string& name, int32_t value) override;
    bool DeleteValue(const std::string& name) override;
    bool DeleteKey(const std::string& path) override;

private:
    using Key = std::map<std::string, Value>;  // by lower-cased name
    const Value* CurrentValue(const std::string& name) const;
    void Write(const std::string& name, uint32_t type, std::string data);

    std::map<std::string, Key> keys_;  // by lower-cased path
    std::string current_;              // lower-cased path of the open key
    bool currentWritable_ = false;
};

}  // namespace quenmar
