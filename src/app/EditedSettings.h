#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "app/GroupPolicyTarget.h"
#include "places/RegistryAccessor.h"
#include "win32/Watch.h"

namespace quenmar {

// What a session edits: the current user's own settings in the registry, or
// a Group Policy (a policy file, a Group Policy Object's folder, or this
// computer's local Group Policy). It owns the store and its watch, and
// answers all that differs between them: what the title and the banner say,
// the single-instance name, whether Preview can run, and what the window
// tells once the settings are loaded. What follows a save (a Group Policy
// Object's version raised) is the store's own.
class EditedSettings {
public:
    virtual ~EditedSettings();
    EditedSettings(const EditedSettings&) = delete;
    EditedSettings& operator=(const EditedSettings&) = delete;

    // The current user's settings, in the registry unless a test gives
    // another.
    static std::unique_ptr<EditedSettings> UsersOwn(std::unique_ptr<RegistryAccessor> registry = nullptr);
    // A Group Policy as /policy names it, or why it cannot be edited (a
    // folder that is not there, a policy file that cannot be read), which
    // is left exactly as it is.
    static std::unique_ptr<EditedSettings> GroupPolicy(const std::string& named, std::string& refusal);
    // A Group Policy over a store a test gives.
    static std::unique_ptr<EditedSettings> GroupPolicy(GroupPolicyTarget target, std::unique_ptr<RegistryAccessor> store);

    RegistryAccessor& Store() { return *store_; }
    // The window's title, from the program's own caption.
    virtual std::string Title(const std::string& programCaption) const = 0;
    // The banner's second line: a few words that fit it.
    virtual std::string Tagline() const = 0;
    // The single-instance guard's name: one editor per user session of the
    // user's settings, or of one policy.
    virtual std::string InstanceName() const = 0;
    // Whether the Open dialog can show what is edited: it reads the user's
    // own settings only.
    virtual bool PreviewRuns() const = 0;
    // The GUID of the Group Policy Object edited ("{...}", its folder's
    // name), when known: the one a PowerShell script is for.
    virtual std::string GpoGuid() const { return {}; }
    // Told once the settings are loaded, if anything.
    virtual std::optional<std::string> LoadNotice() = 0;
    // Whether this computer's local Group Policy sets the places (or hides
    // the bar), putting its own back at its next refresh: of the user's own
    // settings only. Read by LoadNotice.
    virtual bool LocalPolicySetsPlaces() const { return false; }
    // Tells the window with this message, once armed and after every change
    // made by another program, until StopWatching.
    void Watch(HWND window, UINT message) { watch_ = std::make_unique<win::Watch>(Changes(), window, message); }
    void StopWatching() { watch_.reset(); }
    bool Watching() const { return watch_ != nullptr; }

protected:
    explicit EditedSettings(std::unique_ptr<RegistryAccessor> store) : store_(std::move(store)) {}
    // What the watch waits on.
    virtual std::unique_ptr<win::ChangeSource> Changes() const = 0;
    std::unique_ptr<RegistryAccessor> store_;

private:
    std::unique_ptr<win::Watch> watch_;
};

}  // namespace quenmar
