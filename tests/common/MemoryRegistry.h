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
    std::set<std::string> failingTypeQueries; // value names whose type query fails (access denied)
    bool failDeletes = false;

    // Bookkeeping for tests.
    int openKeys = 0;    // keys open now
    int writeCount = 0;  // successful value writes

    RegStatus Open(const std::string& path, KeyAccess access, std::unique_ptr<RegistryKey>& key) override;
    RegStatus DeleteKey(const std::string& path) override;

private:
    class Key;
    using Values = std::map<std::string, Value>;  // by lower-cased name

    std::map<std::string, Values> keys_;  // by lower-cased path
};

}  // namespace quenmar
