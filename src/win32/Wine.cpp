#include "win32/Wine.h"

#include <windows.h>

namespace quenmar::win {

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace quenmar::win
