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
#include "win32/Win32ShellLookups.h"

namespace quenmar::win {
namespace {

int IconOfFile(const wchar_t* path, UINT size) {
    SHFILEINFOW info{};
    SHGetFileInfoW(path, 0, &info, sizeof info, SHGFI_SYSICONINDEX | size);
    return info.iIcon;
}

TEST(ShellLookups, DriveRootsGetTheDriveIconLongerPathsTheWindowsFolderIcon) {
    Win32ShellLookups shell;
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    const int driveIcon = IconOfFile(L"C:\\", SHGFI_LARGEICON);
    const int folderIcon = IconOfFile(windows, SHGFI_LARGEICON);
    ASSERT_NE(driveIcon, folderIcon) << "the drive and folder icons must differ for this test to mean anything";

    EXPECT_EQ(shell.PathIconIndex(IconSize::Large, "C:"), driveIcon);
    EXPECT_EQ(shell.PathIconIndex(IconSize::Large, "C:\\"), driveIcon);
    EXPECT_EQ(shell.PathIconIndex(IconSize::Large, "C:\\A"), folderIcon);
    EXPECT_EQ(shell.PathIconIndex(IconSize::Large, "Q:\\does\\not\\exist"), folderIcon);
    EXPECT_EQ(shell.PathIconIndex(IconSize::Small, "C:\\users"), IconOfFile(windows, SHGFI_SMALLICON));
}

TEST(ShellLookups, ImageListsAreReportedOncePerSize) {
    Win32ShellLookups shell;
    std::vector<std::pair<IconSize, HIMAGELIST>> reports;
    shell.SetImageListChanged([&](IconSize size, HIMAGELIST list) { reports.emplace_back(size, list); });
    shell.PathIconIndex(IconSize::Large, "C:\\");
    shell.SpecialFolderIconIndex(IconSize::Large, CSIDL_DESKTOP);
    shell.SpecialFolderIconIndex(IconSize::Small, CSIDL_DRIVES);
    shell.PathIconIndex(IconSize::Small, "C:\\windows");
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].first, IconSize::Large);
    EXPECT_EQ(reports[1].first, IconSize::Small);
    EXPECT_NE(reports[0].second, reports[1].second);
    EXPECT_EQ(shell.SystemImageList(IconSize::Large), reports[0].second);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(reports[0].second, &cx, &cy);
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXICON));
    ImageList_GetIconSize(reports[1].second, &cx, &cy);
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXSMICON));
}

TEST(ShellLookups, SpecialFoldersAndFailures) {
    Win32ShellLookups shell;
    const int desktop = shell.SpecialFolderIconIndex(IconSize::Large, CSIDL_DESKTOP);
    const int computer = shell.SpecialFolderIconIndex(IconSize::Large, CSIDL_DRIVES);
    EXPECT_GE(desktop, 0);
    EXPECT_GE(computer, 0);
    EXPECT_NE(desktop, computer);
    EXPECT_EQ(shell.SpecialFolderIconIndex(IconSize::Large, 0x7777), kNoIcon);
    EXPECT_EQ(shell.SpecialFolderIconIndex(IconSize::Small, -1), kNoIcon);
}

TEST(ShellLookups, PrefetchedIconsMatchThoseAskedForDirectly) {
    const std::vector<int32_t> folders = {CSIDL_DESKTOP, CSIDL_DRIVES, CSIDL_PERSONAL, CSIDL_HISTORY, 0x7777};
    Win32ShellLookups prefetched;
    std::vector<std::pair<IconSize, DWORD>> reports;  // with the thread each came on
    prefetched.SetImageListChanged(
        [&](IconSize size, HIMAGELIST) { reports.emplace_back(size, GetCurrentThreadId()); });
    prefetched.Prefetch(folders);
    for (const int32_t csidl : folders) {
        for (const IconSize size : {IconSize::Small, IconSize::Large}) {
            const int own = testing::ShellsOwnSpecialIcon(csidl, size == IconSize::Small);
            EXPECT_EQ(prefetched.SpecialFolderIconIndex(size, csidl), own < 0 ? kNoIcon : own) << "CSIDL " << csidl;
        }
    }
    EXPECT_EQ(prefetched.SpecialFolderIconIndex(IconSize::Large, 0x7777), kNoIcon);
    ASSERT_EQ(reports.size(), 2u) << "each image list told once";
    for (const auto& report : reports) EXPECT_EQ(report.second, GetCurrentThreadId()) << "and on the asking thread";
    SHFILEINFOW info{};
    for (const auto& [size, flag] : {std::pair{IconSize::Large, SHGFI_LARGEICON}, {IconSize::Small, SHGFI_SMALLICON}}) {
        const auto list = reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | flag));
        EXPECT_EQ(prefetched.SystemImageList(size), list) << "the system's own list";
    }
}

// Held icons are refused while the prefetch runs, and a refusal is not
// remembered: once released, each query gets the icon the shell gives.
TEST(ShellLookups, HeldIconsAreRefusedOnlyUntilReleased) {
    const std::vector<int32_t> folders = {CSIDL_NETWORK, CSIDL_MYPICTURES, CSIDL_COMMON_DOCUMENTS, CSIDL_WINDOWS};
    Win32ShellLookups held;
    held.Prefetch(folders);
    held.HoldIcons();
    std::vector<int> whileHeld;
    for (const int32_t csidl : folders) whileHeld.push_back(held.SpecialFolderIconIndex(IconSize::Large, csidl));
    const int pathWhileHeld = held.PathIconIndex(IconSize::Small, "C:\\");
    held.ReleaseIcons();
    for (size_t n = 0; n < folders.size(); ++n) {
        const int expected = testing::ShellsOwnSpecialIcon(folders[n], false);
        ASSERT_GE(expected, 0);
        EXPECT_TRUE(whileHeld[n] == kNoIcon || whileHeld[n] == expected) << "never a wrong icon";
        EXPECT_EQ(held.SpecialFolderIconIndex(IconSize::Large, folders[n]), expected) << "CSIDL " << folders[n];
        EXPECT_EQ(held.SpecialFolderIconIndex(IconSize::Small, folders[n]),
                  testing::ShellsOwnSpecialIcon(folders[n], true));
    }
    const int drive = IconOfFile(L"C:\\", SHGFI_SMALLICON);
    EXPECT_TRUE(pathWhileHeld == kNoIcon || pathWhileHeld == drive);
    EXPECT_EQ(held.PathIconIndex(IconSize::Small, "C:\\"), drive);
    // Held with nothing being prefetched: refused all the same, until released.
    Win32ShellLookups idle;
    idle.HoldIcons();
    EXPECT_EQ(idle.SpecialFolderIconIndex(IconSize::Small, CSIDL_DESKTOP), kNoIcon);
    EXPECT_EQ(idle.PathIconIndex(IconSize::Large, "C:\\Windows\\"), kNoIcon);
    idle.ReleaseIcons();
    EXPECT_EQ(idle.SpecialFolderIconIndex(IconSize::Small, CSIDL_DESKTOP),
              testing::ShellsOwnSpecialIcon(CSIDL_DESKTOP, true));
}

// The prefetch also finds the folders' icon and the drives' it is given,
// and says so on its own thread once all is found; taken in then, each is
// the shell's own.
TEST(ShellLookups, APrefetchTellsWhenItIsDone) {
    Win32ShellLookups shell;
    shell.HoldIcons();
    UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<DWORD> toldOn{0};
    shell.Prefetch({CSIDL_DRIVES}, {"C:"}, [&] {
        toldOn = GetCurrentThreadId();
        SetEvent(done.get());
    });
    ASSERT_EQ(WaitForSingleObject(done.get(), 30000), WAIT_OBJECT_0);
    EXPECT_NE(toldOn, GetCurrentThreadId());
    shell.ReleaseIcons();
    for (const auto& [size, flag] : {std::pair{IconSize::Large, SHGFI_LARGEICON}, {IconSize::Small, SHGFI_SMALLICON}}) {
        EXPECT_EQ(shell.PathIconIndex(size, "C:"), IconOfFile(L"C:\\", flag));
        EXPECT_EQ(shell.PathIconIndex(size, "C:\\Users\\"), IconOfFile(L"C:\\Windows", flag));
        EXPECT_EQ(shell.SpecialFolderIconIndex(size, CSIDL_DRIVES),
                  testing::ShellsOwnSpecialIcon(CSIDL_DRIVES, size == IconSize::Small));
    }
    // Nothing left to look up: told at once, on the asking thread.
    bool told = false;
    shell.Prefetch({CSIDL_DRIVES}, {}, [&] { told = true; });
    EXPECT_TRUE(told);
}

TEST(ShellLookups, DestroyedWhilePrefetchingOrPrefetchingTwice) {
    const int before = testing::ThreadCount();
    {
        Win32ShellLookups shell;
        shell.Prefetch({CSIDL_DESKTOP, CSIDL_HISTORY, CSIDL_INTERNET_CACHE, CSIDL_COOKIES});
    }
    EXPECT_EQ(testing::ThreadCount(), before) << "the worker was waited for, not left writing into freed memory";
    Win32ShellLookups shell;
    shell.Prefetch({CSIDL_DESKTOP});
    shell.Prefetch({CSIDL_DESKTOP, CSIDL_DRIVES});  // the first is taken in before the second starts
    for (const int32_t csidl : {CSIDL_DRIVES, CSIDL_DESKTOP}) {
        const int own = testing::ShellsOwnSpecialIcon(csidl, true);
        ASSERT_GE(own, 0);
        EXPECT_EQ(shell.SpecialFolderIconIndex(IconSize::Small, csidl), own) << "CSIDL " << csidl;
    }
}

TEST(ShellLookups, DriveDisplayNameFeedsTheCaption) {
    Win32ShellLookups shell;
    const std::string name = shell.DriveDisplayName("C:\\");
    EXPECT_NE(name.find("(C:)"), std::string::npos) << name;
    EXPECT_EQ(FolderSlotCaption("C:\\", shell), name + " ");
    EXPECT_EQ(FolderSlotCaption("C:\\windows\\", shell), "windows");
}

TEST(ShellLookups, EnvironmentIsExpanded) {
    Win32ShellLookups shell;
    SetEnvironmentVariableW(L"QUENMAR_TEST_DIR", L"C:\\Папка 😀");
    EXPECT_EQ(shell.ExpandEnvironment("%QUENMAR_TEST_DIR%\\文件夹"), "C:\\Папка 😀\\文件夹");
    EXPECT_EQ(shell.ExpandEnvironment("%NOT_SET_ANYWHERE%\\x"), "%NOT_SET_ANYWHERE%\\x");
}

}  // namespace
}  // namespace quenmar::win
