#include "folderpicker/ShortenPath.h"

namespace quenmar {

std::string ShortenPath(const std::string& path, const std::function<int(const std::string&)>& width, int limit) {
    std::string result = path;
    std::string dir = DirectoryPart(path);
    const std::string name = path.substr(dir.size());
    std::string drive;
    if (dir.size() >= 2 && dir[1] == ':') {
        drive = dir.substr(0, 2);
        dir.erase(0, 2);
    }
    const std::string ellipsis = "...\\";
    while ((!dir.empty() || !drive.empty()) && width(result) > limit) {
        if (dir == "\\" + ellipsis) {
            drive.clear();
            dir = ellipsis;
        } else if (dir.empty()) {
            drive.clear();
        } else if (dir == "\\") {
            dir.clear();
        } else {
            const bool leading = dir.front() == '\\';
            if (leading) dir.erase(0, 1);
            // Only the ellipsis put in before: a folder whose name starts
            // with a dot is a directory like any other.
            if (dir.compare(0, ellipsis.size(), ellipsis) == 0) dir.erase(0, ellipsis.size());
            const size_t slash = dir.find('\\');
            dir = slash != std::string::npos ? ellipsis + dir.substr(slash + 1) : std::string();
            if (leading) dir.insert(0, "\\");
        }
        // A drive is never shown without a directory: "C:name" would name
        // another place.
        if (dir.empty()) drive.clear();
        result = drive + dir + name;
    }
    return result;
}

}  // namespace quenmar
