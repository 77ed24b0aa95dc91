#pragma once

#include <cstdint>
#include <string>

namespace quenmar {

// What one Places Bar slot points at: a folder or drive path, or a special
// folder by its CSIDL. Both the path and the CSIDL are kept whatever
// isFolder says, so switching a slot's kind back and forth loses nothing.
struct Place {
    std::string path;
    int32_t csidl = 0;
    bool isFolder = false;
    // The path came from a REG_EXPAND_SZ value and is kept unexpanded; it is
    // written back the same way until the slot is given a new path.
    bool keepUnexpanded = false;
    // Whether the slot holds a place at all. Only a Group Policy leaves a
    // place unset (it states no value for it, and the dialog shows no button
    // there); the user's own settings always hold five.
    bool set = true;

    static Place Folder(std::string path) { return {std::move(path), 0, true, false}; }
    static Place Special(int32_t csidl) { return {{}, csidl, false, false}; }
    // A slot a policy leaves unset: shown as an empty folder slot, which a
    // path or a special folder given to it sets.
    static Place NotSet() { return {{}, 0, true, false, false}; }

    bool operator==(const Place&) const = default;
};

// What the file system holds at a name, as a drop finds it.
enum class FoundAtName { Nothing, Folder, File };

}  // namespace quenmar
