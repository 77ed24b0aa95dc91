#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "places/PolicyFile.h"
#include "places/RegistryAccessor.h"

namespace quenmar {

// The store's registry over a Group Policy file. The file is read whole by
// Reread, before each look at the settings (so that another editor's save is
// seen), changed in memory, and written whole by Commit. Given the file's
// stamp, a file that has not been written since it was read, or since this
// store wrote it, is not read again. A file that cannot be read is never
// written: its last reading stands, and Commit tells why.
class PolicyRegistry : public RegistryAccessor {
public:
    // Reads the file's bytes (none when there is no file), or says why not.
    using ReadFile = std::function<std::optional<std::string>(std::string& bytes)>;
    // Replaces the file whole; the failure's text, or nothing.
    using WriteFile = std::function<std::optional<std::string>(const std::string& bytes)>;
    // What follows a write of the file (a Group Policy Object's version
    // raised): what to tell of it, or nothing.
    using AfterWrite = std::function<std::optional<std::string>()>;
    // What changes whenever the file is written (win::FileStamp); empty
    // when it cannot be told.
    using Stamp = std::function<std::string()>;

    // The file's name as the user knows it, for the messages.
    PolicyRegistry(std::string fileName, ReadFile read, WriteFile write, AfterWrite afterWrite = {}, Stamp stamp = {});

    std::optional<std::string> Reread(bool evenIfUnchanged = false) override;

    RegStatus Open(const std::string& path, KeyAccess access, std::unique_ptr<RegistryKey>& key) override;
    RegStatus DeleteKey(const std::string& path) override;
    std::optional<std::string> Commit() override;
    std::optional<std::string> TakeNotice() override { return std::exchange(notice_, std::nullopt); }
    bool IsPolicy() const override { return true; }

private:
    class Key;

    std::string fileName_;
    ReadFile read_;
    WriteFile write_;
    AfterWrite afterWrite_;
    Stamp stamp_;
    std::string readStamp_;  // the file's stamp when it was last read or written here
    std::optional<std::string> notice_;
    PolicyFile file_;
    PolicyFile lastRead_;  // the file as last read, without the changes
    std::optional<std::string> unreadable_;
    bool pending_ = false;
};

}  // namespace quenmar
