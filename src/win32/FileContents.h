#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace quenmar::win {

// What a file operation came to: ERROR_SUCCESS, or the system's code for
// why it failed. Its words are made where it is shown (CouldNotRead,
// CouldNotWrite), as the registry's are.
using FileStatus = DWORD;

// Reads a whole file into `bytes`: at most `limit` bytes and one more, so
// that a larger file is seen to be larger; none, and success, when there is
// no such file.
FileStatus ReadFileContents(const std::string& path, size_t limit, std::string& bytes);

// Gives a file these contents whole or not at all: they are written to a
// new file beside it, which then takes its place. On any failure the target
// is as it was and no temporary file is left.
FileStatus ReplaceFileContents(const std::string& path, const std::string& contents);

// What changes whenever a file is written (its size and time of writing),
// to see whether it has been without reading it; empty when there is no
// such file or it cannot be seen.
std::string FileStamp(const std::string& path);

// Whether a path names a folder; whether it names anything at all.
bool IsFolder(const std::wstring& path);
bool Exists(const std::wstring& path);

// A failed read or write in the user's words: the file and the system's reason.
std::string CouldNotRead(const std::string& path, FileStatus status);
std::string CouldNotWrite(const std::string& path, FileStatus status);

}  // namespace quenmar::win
