#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quenmar::testing {

// A file's bytes, whole; none when it cannot be read.
inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace quenmar::testing
