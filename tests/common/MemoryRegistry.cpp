#include "MemoryRegistry.h"

#include <algorithm>
#include <cstring>

#include "places/Utf16.h"

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

namespace {

// The registry's own form of text: UTF-16LE with a zero unit after it.
std::string StoredText(const std::string& text) {
    std::string bytes;
    for (char16_t unit : Utf8ToUtf16(text)) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes.append(2, '\0');
}

}  // namespace

void MemoryRegistry::PutString(const std::string& keyPath, const std::string& name, const std::string& text,
                               uint32_t type) {
    PutRaw(keyPath, name, type, StoredText(text));
}

void MemoryRegistry::PutDword(const std::string& keyPath, const std::string& name, uint32_t value) {
    std::string data(4, '\0');
    std::memcpy(data.data(), &value, 4);
    PutRaw(keyPath, name, kRegDword, data);
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

bool MemoryRegistry::OpenKey(const std::string& path, bool canCreate) {
    CloseKey();
    const std::string p = Normalize(path);
    if (unopenableKeys.count(p) || readOnlyKeys.count(p)) return false;
    if (!keys_.count(p)) {
        if (!canCreate) return false;
        CreateKey(p);
    }
    current_ = p;
    currentWritable_ = true;
    ++openCount;
    return true;
}

bool MemoryRegistry::OpenKeyReadOnly(const std::string& path) {
    CloseKey();
    const std::string p = Normalize(path);
    if (unopenableKeys.count(p) || !keys_.count(p)) return false;
    current_ = p;
    currentWritable_ = false;
    ++openCount;
    return true;
}

void MemoryRegistry::CloseKey() {
    if (current_.empty()) return;
    current_.clear();
    ++closeCount;
}

const MemoryRegistry::Value* MemoryRegistry::CurrentValue(const std::string& name) const {
    if (current_.empty()) return nullptr;
    return Find(current_, name);
}

bool MemoryRegistry::ValueExists(const std::string& name) { return CurrentValue(name) != nullptr; }

std::optional<RegDataInfo> MemoryRegistry::GetDataInfo(const std::string& name) {
    if (failingTypeQueries.count(name)) return std::nullopt;
    const Value* value = CurrentValue(name);
    if (!value) return std::nullopt;
    return RegDataInfo{value->type, static_cast<uint32_t>(value->data.size())};
}

std::string MemoryRegistry::ReadString(const std::string& name) {
    const Value* value = CurrentValue(name);
    if (!value) throw RegistryError(FailedToGetData(name));
    if (value->type != kRegSz && value->type != kRegExpandSz) throw RegistryError(InvalidDataType(name));
    // Up to the first zero unit; an odd last byte is no unit.
    std::u16string units;
    for (size_t i = 0; i + 1 < value->data.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(value->data[i]) |
                                                static_cast<unsigned char>(value->data[i + 1]) << 8);
        if (unit == 0) break;
        units += unit;
    }
    return Utf16ToUtf8(units);
}

int32_t MemoryRegistry::ReadInteger(const std::string& name) {
    const Value* value = CurrentValue(name);
    if (!value || value->data.size() > 4) throw RegistryError(FailedToGetData(name));
    if (value->type != kRegDword) throw RegistryError(InvalidDataType(name));
    int32_t result = 0;
    std::memcpy(&result, value->data.data(), value->data.size());
    return result;
}

void MemoryRegistry::Write(const std::string& name, uint32_t type, std::string data) {
    if (current_.empty() || !currentWritable_ || failingWrites.count(name)) {
        throw RegistryError(FailedToSetData(name));
    }
    keys_[current_][Lower(name)] = Value{name, type, std::move(data)};
    ++writeCount;
}

void MemoryRegistry::WriteString(const std::string& name, const std::string& value) {
    Write(name, kRegSz, StoredText(value));
}

void MemoryRegistry::WriteExpandString(const std::string& name, const std::string& value) {
    Write(name, kRegExpandSz, StoredText(value));
}

void MemoryRegistry::WriteInteger(const std::string& name, int32_t value) {
    std::string data(4, '\0');
    std::memcpy(data.data(), &value, 4);
    Write(name, kRegDword, data);
}

bool MemoryRegistry::DeleteValue(const std::string& name) {
    if (current_.empty() || !currentWritable_ || failingWrites.count(name)) return false;
    keys_[current_].erase(Lower(name));
    return true;
}

bool MemoryRegistry::DeleteKey(const std::string& path) {
    const std::string p = Normalize(path);
    if (failDeletes || !keys_.count(p)) return false;
    const std::string prefix = p + '\\';
    for (auto it = keys_.begin(); it != keys_.end();) {
        if (it->first == p || it->first.rfind(prefix, 0) == 0) {
            it = keys_.erase(it);
        } else {
            ++it;
        }
    }
    return true;
}

}  // namespace quenmar
