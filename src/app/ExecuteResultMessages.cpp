#include "app/ExecuteResultMessages.h"

#include <array>
#include <utility>

#include "app/AppTexts.h"
#include "places/Texts.h"

namespace quenmar {

namespace {

constexpr std::array<std::pair<uint32_t, int>, 13> kExecuteResults{{
    {0, IDS_EXECUTE_OUT_OF_MEMORY},
    {2, IDS_EXECUTE_FILE_NOT_FOUND},
    {3, IDS_EXECUTE_PATH_NOT_FOUND},
    {5, IDS_EXECUTE_ACCESS_DENIED},
    {8, IDS_EXECUTE_NOT_ENOUGH_MEMORY},
    {11, IDS_EXECUTE_BAD_FORMAT},
    {26, IDS_EXECUTE_SHARING_VIOLATION},
    {27, IDS_EXECUTE_ASSOCIATION_INCOMPLETE},
    {28, IDS_EXECUTE_DDE_TIMEOUT},
    {29, IDS_EXECUTE_DDE_FAILED},
    {30, IDS_EXECUTE_DDE_BUSY},
    {31, IDS_EXECUTE_NO_ASSOCIATION},
    {32, IDS_EXECUTE_DLL_NOT_FOUND},
}};

}  // namespace

std::string ExecuteResultMessage(uint32_t resultCode) {
    for (const auto& [code, text] : kExecuteResults) {
        if (code == resultCode) return TextOf(text);
    }
    return TextOf(IDS_EXECUTE_UNKNOWN);
}

std::string ExecuteErrorText(uint32_t resultCode) { return TextOf(IDS_UNABLE_TO_EXECUTE, {ExecuteResultMessage(resultCode)}); }

}  // namespace quenmar
