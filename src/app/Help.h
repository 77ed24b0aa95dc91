#pragma once

#include <windows.h>

#include <string>

namespace quenmar {

// What the program's help is: the web address the build names for whoever
// publishes Quenmar, else the help page installed beside the program in the
// language of its texts (help\de\Quenmar.htm), or in English where that
// language has none (help\Quenmar.htm).
std::string HelpTarget();
// Whether the help is the page beside the program.
bool HelpIsLocal();

// Opens the help as a click on a link does; a failure is told.
void ShowHelp(HWND owner);

}  // namespace quenmar
