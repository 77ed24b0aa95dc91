#include "app/CommandLine.h"

#include <algorithm>

namespace quenmar {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return text;
}

bool IsQuiet(const std::string& argument) {
    const std::string name = Lower(argument);
    return name == "/quiet" || name == "-quiet" || name == "/q" || name == "-q";
}

CommandLine Invalid(const std::vector<std::string>& arguments, std::string error) {
    CommandLine line;
    line.action = CommandLine::Action::Invalid;
    line.error = std::move(error);
    // Quiet wherever it stands, also after the mistake.
    line.quiet = std::any_of(arguments.begin(), arguments.end(), IsQuiet);
    return line;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool exporting = false;
    bool usage = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) {
            return Invalid(arguments, "Unexpected argument: " + argument);
        }
        std::string name = Lower(argument.substr(1));
        std::string value;
        bool valueAttached = false;
        if (const size_t colon = name.find(':'); colon != std::string::npos) {
            value = argument.substr(1 + colon + 1);  // /export:FILE keeps the file name's case
            name.resize(colon);
            valueAttached = true;
        }
        if (name == "?" || name == "h" || name == "help") {
            usage = true;
        } else if (name == "quiet" || name == "q") {
            line.quiet = true;
        } else if (name == "export" || name == "e") {
            if (exporting) return Invalid(arguments, "/export is given twice.");
            exporting = true;
            if (!valueAttached) {
                if (i + 1 >= arguments.size()) return Invalid(arguments, "/export needs the name of the file to write.");
                value = arguments[++i];
            }
            // A switch where the file name should be means the name is missing.
            if (value.empty() || value[0] == '/' || value[0] == '-') {
                return Invalid(arguments, "/export needs the name of the file to write.");
            }
            line.file = value;
        } else {
            return Invalid(arguments, "Unknown switch: " + argument);
        }
    }
    if (usage) {
        line.action = CommandLine::Action::Usage;
    } else if (exporting) {
        line.action = CommandLine::Action::Export;
    }
    return line;
}

std::string UsageText() {
    return "Usage: Quenmar.exe [/export FILE [/quiet]] [/?]\n\n"
           "Without arguments, Quenmar opens its window to edit the Places Bar.\n\n"
           "/export FILE\tWrites the current user's Places Bar settings, as Quenmar would store them, to a "
           "registry script (.reg) and ends. Import it with \"reg import FILE\" or the Registry Editor.\n"
           "/quiet\t\tShows no message; the exit code tells the outcome.\n"
           "/?\t\tShows this text.\n\n"
           "Exit codes: 0 success, 1 the file could not be written, 2 an unknown switch or a missing file name.";
}

}  // namespace quenmar
