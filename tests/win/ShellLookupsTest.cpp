#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <atomic>
#include <cstddef>
#include <utility>

#include <gtest/gtest.h>

#include "ShellOracle.h"
#include "places/Captions.h"
#include "win32/WideText.h"
#include "win32/ShellResolver.h"
#include "win32/Win32ShellLookups.h"

namespace quenmar::win {
namespace {

// The image lists are asked after the shell has answered about a place on
// another thread, as the window asks them: the process's own system lists.
TEST(ShellLookups, ImageListsAreTheSystemsReportedOncePerSize) {
    const ShellAnswer found = ShellResolver::AskShell({true, CSIDL_DRIVES, {}});
    ASSERT_TRUE(found.found);
    Win32ShellLookups shell;
    std::vector<std::pair<IconSize, HIMAGELIST>> reports;
    shell.SetImageListChanged([&](IconSize size, HIMAGELIST list) { reports.emplace_back(size, list); });
    shell.AdoptImageLists();
    shell.AdoptImageLists();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].first, IconSize::Small);
    EXPECT_EQ(reports[1].first, IconSize::Large);
    EXPECT_EQ(shell.SystemImageList(IconSize::Large), reports[1].second);
    for (const auto& [size, list] : reports) {
        HIMAGELIST system = nullptr;
        Shell_GetImageLists(size == IconSize::Large ? &system : nullptr, size == IconSize::Small ? &system : nullptr);
        EXPECT_EQ(list, system);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list, &cx, &cy);
        EXPECT_EQ(cx, GetSystemMetrics(size == IconSize::Large ? SM_CXICON : SM_CXSMICON));
    }
}

TEST(ShellLookups, EnvironmentIsExpanded) {
    Win32ShellLookups shell;
    SetEnvironmentVariableW(L"QUENMAR_TEST_DIR", L"C:\\Папка 😀");
    EXPECT_EQ(shell.ExpandEnvironment("%QUENMAR_TEST_DIR%\\文件夹"), "C:\\Папка 😀\\文件夹");
    EXPECT_EQ(shell.ExpandEnvironment("%NOT_SET_ANYWHERE%\\x"), "%NOT_SET_ANYWHERE%\\x");
}

}  // namespace
}  // namespace quenmar::win
