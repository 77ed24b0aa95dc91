#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quenmar {

// What Quenmar was asked to do by its command line. Switches start with '/'
// or '-' and are not case-sensitive:
//   (none)          edit the places in the main window
//   /policy PATH    edit (or export) what a Group Policy sets instead of the
//                   current user's settings: a Registry.pol file, a Group
//                   Policy Object's folder, or "local"
//   /export FILE    write the stored settings to a registry script (a policy
//                   file when FILE ends in .pol) and end
//   /quiet          show no message box (with /export)
//   /?              show the usage
struct CommandLine {
    enum class Action { Run, Export, Usage, Invalid } action = Action::Run;
    std::string file;
    std::optional<std::string> policy;  // the Group Policy edited, as given
    bool quiet = false;
    std::string error;  // why an invalid command line is invalid
};

// The arguments without the program's own name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();

// The process's exit codes.
constexpr int kExitSuccess = 0;
constexpr int kExitFailed = 1;        // the export could not be written, or a policy file read
constexpr int kExitInvalidUsage = 2;  // an unknown switch or a missing file name

}  // namespace quenmar
