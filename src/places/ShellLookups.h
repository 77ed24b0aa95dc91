#pragma once

#include <cstdint>
#include <string>

namespace quenmar {

enum class IconSize { Small = 0, Large = 1 };

// Icon index returned when the shell has no icon for a place.
constexpr int kNoIcon = -1;

// What the places model asks of the shell.
class ShellLookups {
public:
    virtual ~ShellLookups() = default;
    // Icon of a path: a drive root (fewer than four characters) gets the
    // drive's icon, every other path the plain folder icon of the Windows
    // directory, whether or not it exists. kNoIcon when the shell has none.
    virtual int PathIconIndex(IconSize size, const std::string& path) = 0;
    // Icon of a special folder; kNoIcon when the system does not know it.
    virtual int SpecialFolderIconIndex(IconSize size, int32_t csidl) = 0;
    // The shell's display name of a drive root such as "C:\".
    virtual std::string DriveDisplayName(const std::string& root) = 0;
    // Environment variables in the text replaced by their values.
    virtual std::string ExpandEnvironment(const std::string& text) = 0;
};

}  // namespace quenmar
