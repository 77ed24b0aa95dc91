#pragma once

#include <string>
#include <vector>

namespace quenmar {

// What Quenmar was asked to do by its command line. Switches start with '/'
// or '-' and are not case-sensitive:
//   (none)          edit the places in the main window
//   /export FILE    write the stored settings to a registry script and end
//   /quiet          show no message box (with /export)
//   /?              show the usage
struct CommandLine {
    enum class Action { Run, Export, Usage, Invalid } action = Action::Run;
    std::string file;
    bool quiet = false;
    std::string error;  // why an invalid command line is invalid
};

// The arguments without the program's own name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();

// The process's exit codes.
constexpr int kExitSuccess = 0;
constexpr int kExitFailed = 1;        // the export could not be written
constexpr int kExitInvalidUsage = 2;  // an unknown switch or a missing file name

}  // namespace quenmar
