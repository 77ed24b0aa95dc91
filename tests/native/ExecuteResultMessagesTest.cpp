#include <gtest/gtest.h>

#include <map>

#include "app/ExecuteResultMessages.h"

namespace quenmar {
namespace {

constexpr const char* kUnknown = "An unknown error occurred when trying to load file in associated application.";

// The results ShellExecute documents for a failure (shellapi.h and
// winerror.h name them), each with what the user is told.
TEST(ExecuteResultMessages, EachDocumentedFailureIsToldAndEveryOtherIsUnknown) {
    enum : uint32_t {
        OutOfMemoryOrResources = 0,
        ErrorFileNotFound = 2,      // ERROR_FILE_NOT_FOUND, SE_ERR_FNF
        ErrorPathNotFound = 3,      // ERROR_PATH_NOT_FOUND, SE_ERR_PNF
        SeErrAccessDenied = 5,
        SeErrOom = 8,
        ErrorBadFormat = 11,
        SeErrShare = 26,
        SeErrAssocIncomplete = 27,
        SeErrDdeTimeout = 28,
        SeErrDdeFail = 29,
        SeErrDdeBusy = 30,
        SeErrNoAssoc = 31,
        SeErrDllNotFound = 32,
    };
    const std::map<uint32_t, std::string> told{
        {OutOfMemoryOrResources, "The operating system is out of memory or resources."},
        {ErrorFileNotFound, "The specified file was not found."},
        {ErrorPathNotFound, "The specified path was not found."},
        {SeErrAccessDenied, "The operating system denied access to the specified file."},
        {SeErrOom, "There was not enough memory to complete the operation."},
        {ErrorBadFormat, "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image)."},
        {SeErrShare, "A sharing violation occurred."},
        {SeErrAssocIncomplete, "The filename association is incomplete or invalid."},
        {SeErrDdeTimeout, "The DDE transaction could not be completed because the request timed out."},
        {SeErrDdeFail, "The DDE transaction failed."},
        {SeErrDdeBusy, "The DDE transaction could not be completed because other DDE transactions were being processed."},
        {SeErrNoAssoc, "There is no application associated with the given filename extension."},
        {SeErrDllNotFound, "The specified dynamic-link library was not found."}};
    for (uint32_t code = 0; code <= 40; ++code) {
        const auto row = told.find(code);
        EXPECT_EQ(ExecuteResultMessage(code), row != told.end() ? row->second : kUnknown) << "code " << code;
    }
    EXPECT_EQ(ExecuteResultMessage(0xFFFFFFFF), kUnknown);
}

TEST(ExecuteResultMessages, ErrorTextHasTwoLineFeedsAndNoCarriageReturn) {
    EXPECT_EQ(ExecuteErrorText(0), "Unable to execute file:\n\nThe operating system is out of memory or resources.");
    EXPECT_EQ(ExecuteErrorText(1), std::string("Unable to execute file:\n\n") + kUnknown);
}

}  // namespace
}  // namespace quenmar
