#pragma once

#include <array>
#include <string>

#include "places/PlacesStore.h"

namespace quenmar {

// A registry script, as the system's registry editor writes and reads it
// ("Windows Registry Editor Version 5.00": UTF-16LE with a byte-order mark,
// CRLF line ends), holding what a save of these places and this hide flag
// would store. It first deletes the Placesbar key, so that importing it
// leaves exactly these five places and nothing else there.
std::string PlacesScript(const Places& places, bool hidden);

}  // namespace quenmar
