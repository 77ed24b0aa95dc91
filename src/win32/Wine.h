#pragma once

namespace quenmar::win {

// Whether the program runs under Wine, whose ntdll exports wine_get_version.
bool RunningUnderWine();

}  // namespace quenmar::win
