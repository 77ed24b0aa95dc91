#pragma once

#include <array>
#include <functional>
#include <string>

#include "places/PlacesStore.h"

namespace quenmar {

// Text in the ANSI code page as UTF-16 code units. Windows code passes the
// system's conversion; portable code and its tests may pass any code page's.
using AnsiToUtf16 = std::function<std::u16string(const std::string&)>;

// A registry script, as the system's registry editor writes and reads it
// ("Windows Registry Editor Version 5.00": UTF-16LE with a byte-order mark,
// CRLF line ends), holding what a save of these places and this hide flag
// would store. By default it first deletes the Placesbar key, so that
// importing it leaves exactly these five places and nothing else there.
std::string PlacesScript(const std::array<const TDirInfo*, kSlotCount>& entries, bool hidden,
                         const AnsiToUtf16& toUtf16, bool deleteKeyFirst = true);

// The script's text before it is encoded: for reading and for tests.
std::u16string PlacesScriptText(const std::array<const TDirInfo*, kSlotCount>& entries, bool hidden,
                                const AnsiToUtf16& toUtf16, bool deleteKeyFirst = true);

// Each byte as the code point of the same number (code page 28591).
std::u16string Latin1ToUtf16(const std::string& text);

}  // namespace quenmar
