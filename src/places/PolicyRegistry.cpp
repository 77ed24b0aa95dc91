#include "places/PolicyRegistry.h"

#include <utility>

namespace quenmar {

PolicyRegistry::PolicyRegistry(std::string fileName, ReadFile read, WriteFile write, AfterWrite afterWrite, Stamp stamp)
    : fileName_(std::move(fileName)),
      read_(std::move(read)),
      write_(std::move(write)),
      afterWrite_(std::move(afterWrite)),
      stamp_(std::move(stamp)) {}

std::optional<std::string> PolicyRegistry::Reread(bool evenIfUnchanged) {
    if (pending_) return unreadable_;
    // Stamped before the reading, so that a write during it is read next time.
    std::string stamp = stamp_ ? stamp_() : std::string();
    if (!evenIfUnchanged && !stamp.empty() && stamp == readStamp_) return unreadable_;
    readStamp_ = std::move(stamp);
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

// A key of the file: its values are the file's entries under the key's path.
class PolicyRegistry::Key : public RegistryKey {
public:
    Key(PolicyRegistry& owner, std::string path) : owner_(owner), path_(std::move(path)) {}

    RegStatus Info(const std::string& name, RegDataInfo& info) const override {
        const PolicyEntry* entry = owner_.file_.Find(path_, name);
        if (!entry) return kRegNotFound;
        info = {entry->type, static_cast<uint32_t>(entry->data.size())};
        return kRegOk;
    }
    RegStatus ReadText(const std::string& name, std::string& text) const override {
        const PolicyEntry* entry = owner_.file_.Find(path_, name);
        if (!entry) return kRegNotFound;
        if (entry->type != kRegSz && entry->type != kRegExpandSz) return kRegWrongType;
        text = TextOfStringData(entry->data);
        return kRegOk;
    }
    RegStatus ReadNumber(const std::string& name, int32_t& number) const override {
        const PolicyEntry* entry = owner_.file_.Find(path_, name);
        if (!entry) return kRegNotFound;
        if (entry->type != kRegDword || entry->data.size() != 4) return kRegWrongType;
        number = static_cast<int32_t>(NumberOfDwordData(entry->data));
        return kRegOk;
    }
    RegStatus WriteText(const std::string& name, const std::string& text, bool expandable) override {
        return Write(name, expandable ? kRegExpandSz : kRegSz, StringData(text));
    }
    RegStatus WriteNumber(const std::string& name, int32_t number) override {
        return Write(name, kRegDword, DwordData(static_cast<uint32_t>(number)));
    }
    RegStatus DeleteValue(const std::string& name) override {
        owner_.pending_ = owner_.file_.Remove(path_, name) || owner_.pending_;
        return kRegOk;
    }

private:
    RegStatus Write(const std::string& name, uint32_t type, const std::string& data) {
        owner_.pending_ = owner_.file_.Set(path_, name, type, data) || owner_.pending_;
        return kRegOk;
    }

    PolicyRegistry& owner_;
    const std::string path_;
};

RegStatus PolicyRegistry::Open(const std::string& path, KeyAccess access, std::unique_ptr<RegistryKey>& key) {
    // A key the policy sets no value of is one it leaves alone.
    if (access == KeyAccess::Read && !file_.HasValues(path)) return kRegNotFound;
    key = std::make_unique<Key>(*this, path);
    return kRegOk;
}

RegStatus PolicyRegistry::DeleteKey(const std::string& path) {
    pending_ = file_.RemoveKey(path) || pending_;
    return kRegOk;
}

std::optional<std::string> PolicyRegistry::Commit() {
    if (!std::exchange(pending_, false)) return std::nullopt;
    // What could not be read is left exactly as it is; changes that were
    // not written are dropped with it (the editor still holds them).
    std::optional<std::string> failure = unreadable_ ? unreadable_ : write_(file_.Bytes());
    file_ = failure ? lastRead_ : file_;
    if (failure) return failure;
    lastRead_ = file_;
    // This store's own write: not another editor's to read again.
    if (stamp_) readStamp_ = stamp_();
    if (afterWrite_) notice_ = afterWrite_();
    return std::nullopt;
}

}  // namespace quenmar
