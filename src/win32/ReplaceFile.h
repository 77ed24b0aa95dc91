#pragma once

#include <stdexcept>
#include <string>

namespace quenmar::win {

// A file could not be written; the text says which and why.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Gives a file these contents whole or not at all: they are written to a
// new file beside it, which then takes its place. On any failure the target
// is as it was, no temporary file is left, and FileWriteError tells why.
void ReplaceFileContents(const std::string& path, const std::string& contents);

}  // namespace quenmar::win
