#pragma once

#include <cstdint>
#include <string>

namespace quenmar {

// What one Places Bar slot points at. Both Dir and CSIDL are kept whatever
// IsDir says, so switching a slot's kind back and forth loses nothing.
class TDirInfo {
public:
    std::string Dir;
    int32_t CSIDL = 0;
    bool IsDir = false;
    // Dir came from a REG_EXPAND_SZ value and is kept unexpanded; it is written
    // back the same way until the slot is given a new path.
    bool DirExpandable = false;

    TDirInfo() = default;
    explicit TDirInfo(std::string dir) : Dir(std::move(dir)), CSIDL(0), IsDir(true) {}
    explicit TDirInfo(int32_t csidl) : CSIDL(csidl), IsDir(false) {}

    bool operator==(const TDirInfo&) const = default;
};

}  // namespace quenmar
