#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace quenmar::win {

// Reads a whole file into `bytes`: at most `limit` bytes and one more, so
// that a larger file is seen to be larger; none, and no failure, when there
// is no such file. Why it cannot be read, in the user's words, or nothing.
std::optional<std::string> ReadFileContents(const std::string& path, size_t limit, std::string& bytes);

}  // namespace quenmar::win
