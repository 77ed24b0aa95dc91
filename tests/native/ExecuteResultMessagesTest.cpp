#include <gtest/gtest.h>

#include <map>

#include "app/ExecuteResultMessages.h"

namespace quenmar {
namespace {

constexpr const char* kUnknown = "An unknown error occurred when trying to load file in associated application.";

TEST(ExecuteResultMessages, EveryCodeUpTo32) {
    const std::map<uint32_t, std::string> listed{
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
        {32, "The specified dynamic-link library was not found."}};
    for (uint32_t code = 0; code <= 40; ++code) {
        const auto row = listed.find(code);
        EXPECT_EQ(ExecuteResultMessage(code), row != listed.end() ? row->second : kUnknown) << "code " << code;
    }
    EXPECT_EQ(ExecuteResultMessage(0xFFFFFFFF), kUnknown);
}

TEST(ExecuteResultMessages, ErrorTextHasTwoLineFeedsAndNoCarriageReturn) {
    EXPECT_EQ(ExecuteErrorText(0), "Unable to execute file:\n\nThe operating system is out of memory or resources.");
    EXPECT_EQ(ExecuteErrorText(1), std::string("Unable to execute file:\n\n") + kUnknown);
}

}  // namespace
}  // namespace quenmar
