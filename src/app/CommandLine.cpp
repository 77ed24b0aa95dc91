#include "app/CommandLine.h"

#include <algorithm>

#include "app/AppTexts.h"
#include "places/AsciiCase.h"
#include "places/Texts.h"

namespace quenmar {

namespace {

bool IsQuiet(const std::string& argument) {
    const std::string name = AsciiLower(argument);
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
            return Invalid(arguments, TextOf(IDS_UNEXPECTED_ARGUMENT, {argument}));
        }
        std::string name = AsciiLower(argument.substr(1));
        std::string value;
        bool valueAttached = false;
        if (const size_t colon = name.find(':'); colon != std::string::npos) {
            value = argument.substr(1 + colon + 1);  // /export:FILE keeps the file name's case
            name.resize(colon);
            valueAttached = true;
        }
        // A switch's value: after its colon, or the next argument. A switch
        // where the value should be means the value is missing.
        const auto takeValue = [&]() -> std::optional<std::string> {
            if (!valueAttached) {
                if (i + 1 >= arguments.size()) return std::nullopt;
                value = arguments[++i];
            }
            if (value.empty() || value[0] == '/' || value[0] == '-') return std::nullopt;
            return value;
        };
        if (name == "?" || name == "h" || name == "help") {
            usage = true;
        } else if (name == "quiet" || name == "q") {
            line.quiet = true;
        } else if (name == "export" || name == "e") {
            if (exporting) return Invalid(arguments, TextOf(IDS_EXPORT_TWICE));
            exporting = true;
            const std::optional<std::string> file = takeValue();
            if (!file) return Invalid(arguments, TextOf(IDS_EXPORT_NEEDS_FILE));
            line.file = *file;
        } else if (name == "policy") {
            if (line.policy) return Invalid(arguments, TextOf(IDS_POLICY_TWICE));
            line.policy = takeValue();
            if (!line.policy) return Invalid(arguments, TextOf(IDS_POLICY_NEEDS_PATH));
        } else {
            return Invalid(arguments, TextOf(IDS_UNKNOWN_SWITCH, {argument}));
        }
    }
    if (usage) {
        line.action = CommandLine::Action::Usage;
    } else if (exporting) {
        line.action = CommandLine::Action::Export;
    }
    return line;
}

std::string UsageText() { return TextOf(IDS_USAGE); }

}  // namespace quenmar
