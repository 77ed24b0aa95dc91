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

// Shell lookups with made-up, recognisable answers, recording every query.
class FakeShell : public ShellLookups {
public:
    static constexpr int kDriveIcon = 8;
    static constexpr int kFolderIcon = 3;
    static constexpr int kSpecialBase = 100;  // special folder icon = base + CSIDL

    std::vector<std::string> pathQueries;
    std::map<std::string, std::string> environment{{"USERPROFILE", "C:\\users\\me"}};

    int PathIconIndex(IconSize size, const std::string& path) override {
        pathQueries.push_back(path);
        const int icon = path.size() < 4 ? kDriveIcon : kFolderIcon;
        return size == IconSize::Small ? -icon : icon;
    }
    int SpecialFolderIconIndex(IconSize size, int32_t csidl) override {
        return size == IconSize::Small ? -(kSpecialBase + csidl) : kSpecialBase + csidl;
    }
    std::string DriveDisplayName(const std::string& root) override { return "Disk [" + root + "]"; }
    // Its answer about any place: found, named as the caption rule names it
    // (or the table names a special folder), with the icon its lookups give.
    ShellAnswer Answer(const PlaceQuery& query) {
        ShellAnswer answer;
        answer.found = true;
        answer.name = query.special ? SpecialFolderName(query.csidl) : FolderSlotCaption(query.text, *this);
        answer.largeIcon = query.special ? SpecialFolderIconIndex(IconSize::Large, query.csidl)
                                         : PathIconIndex(IconSize::Large, AddTrailingBackslash(query.text));
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
