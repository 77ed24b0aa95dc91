#include "MemoryRegistry.h"

#include <algorithm>

#include "places/PolicyFile.h"

namespace quenmar {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return text;
}

std::string Normalize(const std::string& path) {
    std::string p = Lower(path);
    while (!p.empty() && p.front() == '\\') p.erase(p.begin());
    while (!p.empty() && p.back() == '\\') p.pop_back();
    return p;
}

}  // namespace

void MemoryRegistry::CreateKey(const std::string& keyPath) {
    // Creating a key creates every key above it, as the registry does.
    const std::string path = Normalize(keyPath);
    for (size_t pos = path.find('\\'); pos != std::string::npos; pos = path.find('\\', pos + 1)) {
        keys_[path.substr(0, pos)];
    }
    keys_[path];
}

bool MemoryRegistry::KeyExists(const std::string& keyPath) const { return keys_.count(Normalize(keyPath)) != 0; }

void MemoryRegistry::PutRaw(const std::string& keyPath, const std::string& name, uint32_t type, std::string data) {
    CreateKey(keyPath);
    keys_[Normalize(keyPath)][Lower(name)] = Value{name, type, std::move(data)};
}

void MemoryRegistry::PutString(const std::string& keyPath, const std::string& name, const std::string& text,
                               uint32_t type) {
    PutRaw(keyPath, name, type, StringData(text));
}

void MemoryRegistry::PutDword(const std::string& keyPath, const std::string& name, uint32_t value) {
    PutRaw(keyPath, name, kRegDword, DwordData(value));
}

const MemoryRegistry::Value* MemoryRegistry::Find(const std::string& keyPath, const std::string& name) const {
    const auto key = keys_.find(Normalize(keyPath));
    if (key == keys_.end()) return nullptr;
    const auto value = key->second.find(Lower(name));
    return value == key->second.end() ? nullptr : &value->second;
}

std::vector<MemoryRegistry::Value> MemoryRegistry::ValuesOf(const std::string& keyPath) const {
    std::vector<Value> values;
    const auto key = keys_.find(Normalize(keyPath));
    if (key != keys_.end()) {
        for (const auto& [lower, value] : key->second) values.push_back(value);
    }
    return values;
}

// An open key: the values of its path, while it is open.
class MemoryRegistry::Key : public RegistryKey {
public:
    Key(MemoryRegistry& owner, std::string path, bool writable) : owner_(owner), path_(std::move(path)), writable_(writable) {
        ++owner_.openKeys;
    }
    ~Key() override { --owner_.openKeys; }

    RegStatus Info(const std::string& name, RegDataInfo& info) const override {
        if (owner_.failingTypeQueries.count(name)) return kRegAccessDenied;
        const Value* value = owner_.Find(path_, name);
        if (!value) return kRegNotFound;
        info = {value->type, static_cast<uint32_t>(value->data.size())};
        return kRegOk;
    }
    RegStatus ReadText(const std::string& name, std::string& text) const override {
        const Value* value = owner_.Find(path_, name);
        if (!value) return kRegNotFound;
        if (value->type != kRegSz && value->type != kRegExpandSz) return kRegWrongType;
        text = TextOfStringData(value->data);  // up to the first zero unit; an odd last byte is no unit
        return kRegOk;
    }
    RegStatus ReadNumber(const std::string& name, int32_t& number) const override {
        const Value* value = owner_.Find(path_, name);
        if (!value) return kRegNotFound;
        if (value->type != kRegDword || value->data.size() > 4) return kRegWrongType;
        number = static_cast<int32_t>(NumberOfDwordData(value->data));
        return kRegOk;
    }
    RegStatus WriteText(const std::string& name, const std::string& text, bool expandable) override {
        return Write(name, expandable ? kRegExpandSz : kRegSz, StringData(text));
    }
    RegStatus WriteNumber(const std::string& name, int32_t number) override {
        return Write(name, kRegDword, DwordData(static_cast<uint32_t>(number)));
    }
    RegStatus DeleteValue(const std::string& name) override {
        if (!writable_ || owner_.failingWrites.count(name)) return kRegAccessDenied;
        owner_.keys_[path_].erase(Lower(name));
        return kRegOk;
    }

private:
    RegStatus Write(const std::string& name, uint32_t type, std::string data) {
        if (!writable_ || owner_.failingWrites.count(name)) return kRegAccessDenied;
        owner_.keys_[path_][Lower(name)] = Value{name, type, std::move(data)};
        ++owner_.writeCount;
        return kRegOk;
    }

    MemoryRegistry& owner_;
    const std::string path_;
    const bool writable_;
};

RegStatus MemoryRegistry::Open(const std::string& path, KeyAccess access, std::unique_ptr<RegistryKey>& key) {
    const std::string p = Normalize(path);
    if (unopenableKeys.count(p)) return kRegAccessDenied;
    if (access == KeyAccess::Write) {
        if (readOnlyKeys.count(p)) return kRegAccessDenied;
        CreateKey(p);
    } else if (!keys_.count(p)) {
        return kRegNotFound;
    }
    key = std::make_unique<Key>(*this, p, access == KeyAccess::Write);
    return kRegOk;
}

RegStatus MemoryRegistry::DeleteKey(const std::string& path) {
    const std::string p = Normalize(path);
    if (!keys_.count(p)) return kRegNotFound;
    if (failDeletes) return kRegAccessDenied;
    const std::string prefix = p + '\\';
    for (auto it = keys_.begin(); it != keys_.end();) {
        if (it->first == p || it->first.rfind(prefix, 0) == 0) {
            it = keys_.erase(it);
        } else {
            ++it;
        }
    }
    return kRegOk;
}

}  // namespace quenmar
