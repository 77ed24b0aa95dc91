#include "places/PolicyRegistry.h"

#include <utility>

namespace quenmar {

PolicyRegistry::PolicyRegistry(std::string fileName, ReadFile read, WriteFile write)
    : fileName_(std::move(fileName)), read_(std::move(read)), write_(std::move(write)) {}

std::optional<std::string> PolicyRegistry::Reread() {
    if (pending_) return unreadable_;
    std::string bytes;
    if (const std::optional<std::string> failure = read_(bytes)) return unreadable_ = failure;
    std::optional<PolicyFileRefusal> refusal;
    PolicyFile read = PolicyFile::Read(bytes, refusal);
    if (refusal) return unreadable_ = DescribeRefusal(fileName_, *refusal);
    unreadable_.reset();
    lastRead_ = std::move(read);
    file_ = lastRead_;
    return std::nullopt;
}

bool PolicyRegistry::OpenKey(const std::string& path, bool canCreate) {
    Reread();
    if (!canCreate && !file_.HasValues(path)) return false;
    key_ = path;
    return true;
}

bool PolicyRegistry::OpenKeyReadOnly(const std::string& path) {
    // A key the policy sets no value of is one it leaves alone.
    Reread();
    if (!file_.HasValues(path)) return false;
    key_ = path;
    return true;
}

const PolicyEntry& PolicyRegistry::Entry(const std::string& name) const {
    const PolicyEntry* entry = key_ ? file_.Find(*key_, name) : nullptr;
    if (!entry) throw RegistryError(FailedToGetData(name));
    return *entry;
}

bool PolicyRegistry::ValueExists(const std::string& name) { return key_ && file_.Find(*key_, name); }

std::optional<RegDataInfo> PolicyRegistry::GetDataInfo(const std::string& name) {
    const PolicyEntry* entry = key_ ? file_.Find(*key_, name) : nullptr;
    if (!entry) return std::nullopt;
    return RegDataInfo{entry->type, static_cast<uint32_t>(entry->data.size())};
}

std::string PolicyRegistry::ReadString(const std::string& name) {
    const PolicyEntry& entry = Entry(name);
    if (entry.type != kRegSz && entry.type != kRegExpandSz) throw RegistryError(InvalidDataType(name));
    return TextOfStringData(entry.data);
}

int32_t PolicyRegistry::ReadInteger(const std::string& name) {
    const PolicyEntry& entry = Entry(name);
    if (entry.type != kRegDword || entry.data.size() != 4) throw RegistryError(InvalidDataType(name));
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(entry.data[static_cast<size_t>(i)]);
    return static_cast<int32_t>(number);
}

void PolicyRegistry::Write(const std::string& name, uint32_t type, const std::string& data) {
    if (!key_) throw RegistryError(FailedToSetData(name));
    file_.Set(*key_, name, type, data);
    pending_ = true;
}

void PolicyRegistry::WriteString(const std::string& name, const std::string& value) {
    Write(name, kRegSz, StringData(value));
}

void PolicyRegistry::WriteExpandString(const std::string& name, const std::string& value) {
    Write(name, kRegExpandSz, StringData(value));
}

void PolicyRegistry::WriteInteger(const std::string& name, int32_t value) {
    Write(name, kRegDword, DwordData(static_cast<uint32_t>(value)));
}

bool PolicyRegistry::DeleteValue(const std::string& name) {
    if (!key_) return false;
    pending_ = file_.Remove(*key_, name) || pending_;
    return true;
}

bool PolicyRegistry::DeleteKey(const std::string& path) {
    Reread();
    pending_ = file_.RemoveKey(path) || pending_;
    return true;
}

std::optional<std::string> PolicyRegistry::Commit() {
    if (!std::exchange(pending_, false)) return std::nullopt;
    // What could not be read is left exactly as it is; changes that were
    // not written are dropped with it (the editor still holds them).
    std::optional<std::string> failure = unreadable_ ? unreadable_ : write_(file_.Bytes());
    file_ = failure ? lastRead_ : file_;
    if (!failure) lastRead_ = file_;
    return failure;
}

}  // namespace quenmar
