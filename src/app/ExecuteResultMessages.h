#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quenmar {

// The shell's result code of an open, as the user is told it.
std::string ExecuteResultMessage(uint32_t resultCode);

// The whole error text: that the file could not be opened, and why.
std::string ExecuteErrorText(uint32_t resultCode);

// Names this long or longer are refused before the shell is asked.
constexpr size_t kMaxExecuteNameLength = 256;

}  // namespace quenmar
