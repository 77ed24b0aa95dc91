#pragma once

#include <memory>
#include <optional>
#include <string>

#include "places/PolicyRegistry.h"

namespace quenmar {

// A Group Policy the program edits instead of the current user's settings,
// as /policy names it: a Registry.pol file, a Group Policy Object's folder
// (its User\Registry.pol and its gpt.ini), or "local", this computer's
// local Group Policy Object.
struct GroupPolicyTarget {
    std::string policyFile;            // the Registry.pol, in full
    std::optional<std::string> gptIni;  // a Group Policy Object's, raised at each save
    std::string description;           // what the window's title says it edits
    std::string shortDescription;      // the same in the banner's few words
    bool local = false;                // this computer's local Group Policy Object
    bool onAServer = false;            // a Group Policy Object's folder by a UNC path (a domain's SYSVOL)
    std::string gpoGuid;               // its folder's name, when that is a GUID ("{...}")
    // Why there is nothing to edit: a folder named that is not there (a
    // policy file that is not there is a new, empty policy).
    std::optional<std::string> missing;
};

GroupPolicyTarget ResolveGroupPolicyTarget(const std::string& named);

// This computer's local Group Policy's file for users.
std::string LocalGroupPolicyFile();

// The store's registry over the target's policy file. A save replaces the
// file in one step (making the Group Policy Object's folders it needs) and
// then raises the Group Policy Object's gpt.ini, when that can be read; a
// gpt.ini that cannot be written is told, as is when the local policy applies.
std::unique_ptr<PolicyRegistry> OpenGroupPolicy(const GroupPolicyTarget& target);

// What the window tells at the start about the target, if anything: a
// domain's Group Policy Object, whose clients apply an edit of its files
// only once its version in the directory rises too; a gpt.ini that cannot
// be read, and so is never written.
std::optional<std::string> GroupPolicyNotice(const GroupPolicyTarget& target);

}  // namespace quenmar
