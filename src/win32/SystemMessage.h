#pragma once

#include <windows.h>

#include <string>

namespace quenmar::win {

// The system's text for an error code, without its closing blanks and full
// stop; "Error <code>" when the system has none.
std::string SystemMessage(DWORD code);

// Raises the text of a failed shell call as a std::runtime_error.
[[noreturn]] void ThrowShellError(HRESULT result);

}  // namespace quenmar::win
