#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quenmar {

// The shell's result code of an open, as the user is told it.
std::string_view ExecuteResultMessage(uint32_t resultCode);

// The whole error text: "Unable to execute file:", two line feeds, the message.
std::string ExecuteErrorText(uint32_t resultCode);

// Names this long or longer are refused before the shell is asked.
constexpr size_t kMaxExecuteNameLength = 256;

}  // namespace quenmar
