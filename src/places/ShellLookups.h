#pragma once

#include <string>

namespace quenmar {

enum class IconSize { Small = 0, Large = 1 };

// Icon index of a place the shell has not given an icon for (yet).
constexpr int kNoIcon = -1;

// What the places model asks of the system beside the shell's answers about
// places.
class ShellLookups {
public:
    virtual ~ShellLookups() = default;
    // Environment variables in the text replaced by their values.
    virtual std::string ExpandEnvironment(const std::string& text) = 0;
};

}  // namespace quenmar
