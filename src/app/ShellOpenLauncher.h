#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace quenmar {

// Hands a document, program or web address to the shell with the verb
// "Open". Names of 256 characters or more are refused with an information
// box, and 2 (file not found) is returned. Otherwise the shell's result,
// greater than 32 on success.
int32_t ExecuteFile(const std::string& fileName, const std::string& parameters, const std::string& directory,
                    int32_t showCommand);

// Tells the user why an open failed; results above 32 are successes and say
// nothing.
void ReportExecuteResult(uint32_t resultCode, HWND parentWindow);

// Opens a link (a web address or a document) as a click on it would;
// whether it opened. A failure says nothing, except that a page with no
// program to open it has the shell ask for one.
bool OpenLink(const std::string& target);

// Starts this program again with these arguments, as administrator where
// Windows asks for it; whether it started (not when the user declined).
bool StartProgramAsAdministrator(const std::string& arguments);

// Opens a document without activating it, and reports a failure.
void OpenDocument(const std::string& fileName, HWND parentWindow);

}  // namespace quenmar
