#include "app/EditedSettings.h"

#include <cstdio>

#include "app/AppTexts.h"
#include "places/PlacesStore.h"
#include "places/PolicyFile.h"
#include "win32/FileContents.h"
#include "win32/Texts.h"
#include "win32/WideText.h"
#include "win32/Win32Registry.h"

namespace quenmar {

namespace {

constexpr const char* kInstanceName = "Quenmar.MainWindow";

class UsersOwnSettings : public EditedSettings {
public:
    explicit UsersOwnSettings(std::unique_ptr<RegistryAccessor> registry)
        : EditedSettings(registry ? std::move(registry) : std::make_unique<win::Win32Registry>()) {}

    std::string Title(const std::string& programCaption) const override { return programCaption; }
    std::string Tagline() const override { return TextOf(IDS_TAGLINE); }
    std::string InstanceName() const override { return kInstanceName; }
    bool PreviewRuns() const override { return true; }
    std::optional<std::string> LoadNotice() override {
        // This computer's local policy: its next refresh puts its own places
        // back (a domain's policies cannot be seen from here).
        std::string bytes;
        std::optional<PolicyFileRefusal> refusal;
        const PolicyFile file = win::ReadFileContents(LocalGroupPolicyFile(), PolicyFile::kLargestFile, bytes) != ERROR_SUCCESS
                                    ? PolicyFile()
                                    : PolicyFile::Read(bytes, refusal);
        localPolicySetsPlaces_ = file.HasValues(kPlacesBarKey) || file.Find(kComdlgPolicyKey, kNoPlacesBarValue);
        return std::nullopt;
    }
    bool LocalPolicySetsPlaces() const override { return localPolicySetsPlaces_; }

private:
    std::unique_ptr<win::ChangeSource> Changes() const override { return win::RegistryKeyChanges(kComdlgPolicyKey); }
    bool localPolicySetsPlaces_ = false;
};

class GroupPolicySettings : public EditedSettings {
public:
    GroupPolicySettings(GroupPolicyTarget target, std::unique_ptr<RegistryAccessor> store)
        : EditedSettings(std::move(store)), target_(std::move(target)) {}

    std::string Title(const std::string& programCaption) const override {
        return programCaption + " - " + target_.description;
    }
    std::string Tagline() const override { return target_.shortDescription; }
    std::string InstanceName() const override {
        // One policy file is one, whatever letters its path is written in.
        std::wstring path = win::Wide(target_.policyFile);
        CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
        uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (const wchar_t unit : path) hash = (hash ^ unit) * 1099511628211ull;
        char hex[17] = {};
        snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
        return std::string(kInstanceName) + ".Policy." + hex;
    }
    // The dialog reads the current user's places: a policy's would need the
    // process's view of the user's registry swapped while the shell's own
    // threads read it too, which cannot be made safe.
    bool PreviewRuns() const override { return false; }
    std::optional<std::string> LoadNotice() override { return GroupPolicyNotice(target_); }
    std::string GpoGuid() const override { return target_.gpoGuid; }

private:
    std::unique_ptr<win::ChangeSource> Changes() const override { return win::FileChanges(target_.policyFile); }
    const GroupPolicyTarget target_;
};

}  // namespace

EditedSettings::~EditedSettings() = default;

std::unique_ptr<EditedSettings> EditedSettings::UsersOwn(std::unique_ptr<RegistryAccessor> registry) {
    return std::make_unique<UsersOwnSettings>(std::move(registry));
}

std::unique_ptr<EditedSettings> EditedSettings::GroupPolicy(const std::string& named, std::string& refusal) {
    GroupPolicyTarget target = ResolveGroupPolicyTarget(named);
    if (target.missing) {
        refusal = *target.missing;
        return nullptr;
    }
    std::unique_ptr<PolicyRegistry> store = OpenGroupPolicy(target);
    if (const std::optional<std::string> unreadable = store->Reread()) {
        refusal = *unreadable;
        return nullptr;
    }
    return GroupPolicy(std::move(target), std::move(store));
}

std::unique_ptr<EditedSettings> EditedSettings::GroupPolicy(GroupPolicyTarget target,
                                                            std::unique_ptr<RegistryAccessor> store) {
    return std::make_unique<GroupPolicySettings>(std::move(target), std::move(store));
}

}  // namespace quenmar
