#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include "win32/Texts.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // No Wine crash dialogs or critical-error boxes in tests.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    quenmar::win::UseResourceTexts();
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
