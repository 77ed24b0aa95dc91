#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

namespace quenmar {

// What the disk says of a folder, asked without the shell where the shell
// would only ask the disk itself, more slowly.

// A plain folder of the file system: one that cannot carry a custom icon
// (folders get one only when marked read-only or system).
bool PlainFileSystemFolder(const std::wstring& path);

// The small icons every plain folder shows, closed and open, looked up once.
std::pair<int, int> PlainFolderIcons();

// Whether a file-system folder holds a folder (with files, anything) that is
// shown, read straight from the disk.
bool HasSubfolder(const std::wstring& path, bool hidden, bool files);

// Whether a folder holds a folder that is shown, as far as it is known.
enum class Subfolders { Unknown, None, Some };

// What the folder tree shows of a folder of the file system: whether it is
// plain and, when it is, whether it holds a folder.
struct DiskFact {
    bool plain = false;
    Subfolders subfolders = Subfolders::Unknown;  // not read unless plain and asked for
};
using DiskFacts = std::map<std::wstring, DiskFact>;  // by the folder's path

// Read straight from the disk; whether it holds a folder only when asked.
DiskFact ReadDiskFact(const std::wstring& path, bool hidden, bool files, bool withChildren = true);

}  // namespace quenmar
