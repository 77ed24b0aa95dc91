#include "app/ExecuteResultMessages.h"

#include <array>
#include <utility>

namespace quenmar {

namespace {

constexpr std::array<std::pair<uint32_t, std::string_view>, 13> kExecuteResultMessages{{
    {0, "The operating system is out of memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied access to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred."},
    {27, "The filename association is incomplete or invalid."},
    {28, "The DDE transaction could not be completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not be completed because other DDE transactions were being processed."},
    {31, "There is no application associated with the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
}};

constexpr std::string_view kUnknownResult =
    "An unknown error occurred when trying to load file in associated application.";

}  // namespace

std::string_view ExecuteResultMessage(uint32_t resultCode) {
    for (const auto& [code, text] : kExecuteResultMessages) {
        if (code == resultCode) return text;
    }
    return kUnknownResult;
}

std::string ExecuteErrorText(uint32_t resultCode) {
    return "Unable to execute file:\n\n" + std::string(ExecuteResultMessage(resultCode));
}

}  // namespace quenmar
