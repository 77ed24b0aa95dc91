#pragma once

#include <functional>
#include <string>

#include "places/PathText.h"

namespace quenmar {

// Shortens a path to fit a width by replacing its leading directories with
// "...", then dropping the drive, then everything but the name:
// C:\Documents and Settings\User\My Documents, C:\...\User\My Documents,
// C:\...\My Documents, ...\My Documents, My Documents.
// The result is still too wide when the name alone is. A drive goes with the
// last of the directory ("C:\\name" becomes "name", not "C:name").
std::string ShortenPath(const std::string& path, const std::function<int(const std::string&)>& width, int limit);

}  // namespace quenmar
