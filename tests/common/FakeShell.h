#pragma once

#include <map>
#include <string>
#include <vector>

#include "places/Captions.h"
#include "places/Catalogue.h"
#include "places/PathText.h"
#include "places/ShellAnswers.h"
#include "places/ShellLookups.h"

namespace quenmar::testing {

// The shell's answers made up, recognisable, and the environment's values.
class FakeShell : public ShellLookups {
public:
    static constexpr int kDriveIcon = 8;
    static constexpr int kFolderIcon = 3;
    static constexpr int kSpecialBase = 100;  // special folder icon = base + CSIDL

    std::map<std::string, std::string> environment{{"USERPROFILE", "C:\\users\\me"}};

    // Its answer about any place: found, named as a slot's caption names its
    // text until the shell answers (or the table names a special folder),
    // with a drive's icon for a root and a folder's for any other path.
    static ShellAnswer Answer(const PlaceQuery& query) {
        ShellAnswer answer;
        answer.found = true;
        answer.name = query.special ? SpecialFolderName(query.csidl) : FolderSlotCaption(query.text);
        answer.largeIcon = query.special ? kSpecialBase + query.csidl
                                         : AddTrailingBackslash(query.text).size() < 4 ? kDriveIcon : kFolderIcon;
        answer.smallIcon = -answer.largeIcon;
        return answer;
    }
    std::string ExpandEnvironment(const std::string& text) override {
        std::string result;
        for (size_t i = 0; i < text.size();) {
            const size_t end = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
            if (end != std::string::npos && environment.count(text.substr(i + 1, end - i - 1))) {
                result += environment[text.substr(i + 1, end - i - 1)];
                i = end + 1;
            } else {
                result += text[i++];
            }
        }
        return result;
    }
};

}  // namespace quenmar::testing
