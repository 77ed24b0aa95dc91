#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "FileBytes.h"
#include "RealRegistry.h"
#include "Remote.h"
#include "win32/WideText.h"

namespace quenmar::e2e {
namespace {

namespace fs = std::filesystem;

// Quenmar.exe run with arguments to its end; every message box it shows is
// read and answered with OK.
struct Finished {
    DWORD code = STILL_ACTIVE;
    std::vector<std::string> boxes;
    bool windowShown = false;
};

struct Found {
    DWORD process;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindows(HWND window, LPARAM context) {
    auto* found = reinterpret_cast<Found*>(context);
    if (ProcessOf(window) == found->process && IsWindowVisible(window)) found->windows.push_back(window);
    return TRUE;
}

Finished RunQuenmar(const std::string& arguments) {
    // Started as the shell starts programs: the command line is wide.
    std::wstring command = win::Wide("\"" + ExeDirectory() + "\\Quenmar.exe\" " + arguments);
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    Finished finished;
    // Wine has been seen, once in many runs, to refuse a start right after the
    // previous run ended: a second try tells that apart from a real failure.
    const auto start = [&] {
        return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    };
    if (!start() && (Sleep(500), !start())) {
        ADD_FAILURE() << "Quenmar.exe did not start: error " << GetLastError();
        return finished;
    }
    const DWORD deadline = GetTickCount() + 20000;
    while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT && GetTickCount() < deadline) {
        Found found{process.dwProcessId, {}};
        EnumWindows(CollectWindows, reinterpret_cast<LPARAM>(&found));
        for (HWND window : found.windows) {
            wchar_t className[64] = {};
            GetClassNameW(window, className, 64);
            if (std::wstring_view(className) == L"TfrmQuenmar") finished.windowShown = true;
            if (std::wstring_view(className) != L"#32770") continue;
            finished.boxes.push_back(Text(window) + ": " + Text(GetDlgItem(window, 0xFFFF)));
            PostMessageW(window, WM_COMMAND, IDOK, 0);
        }
    }
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        ADD_FAILURE() << "Quenmar.exe " << arguments << " did not end";
        TerminateProcess(process.hProcess, 99);
    }
    GetExitCodeProcess(process.hProcess, &finished.code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return finished;
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        registry.Reset();
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        registry.Reset();
        fs::remove_all(folder);
    }
    testing::RealRegistryBackend registry;
    const std::string folder = "C:\\quenmar-cli";
};

// A file and a place named outside any one code page.
TEST_F(CommandLine, ExportWritesTheStoredSettingsAndEnds) {
    registry.Put(kPlacesBarKey, "Place2", REG_SZ, testing::Sz(u"D:\\Данные\\文件夹 😀\\"));
    const std::string file = folder + "\\Экспорт 文件.reg";
    const std::u16string line = u"\"Place2\"=\"D:\\\\Данные\\\\文件夹 😀\\\\\"\r\n";
    const std::string lineBytes(reinterpret_cast<const char*>(line.data()), line.size() * 2);
    for (const char* quiet : {"", " /quiet"}) {
        fs::remove(win::Wide(file));
        const Finished run = RunQuenmar("/export \"" + file + "\"" + quiet);
        EXPECT_EQ(run.code, 0u) << quiet;
        EXPECT_TRUE(run.boxes.empty()) << run.boxes.front();
        EXPECT_FALSE(run.windowShown);
        const std::string bytes = testing::FileBytes(win::Wide(file));
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << quiet;
        EXPECT_NE(bytes.find(lineBytes), std::string::npos) << quiet;
    }
    // Named .pol, a Group Policy file (its entries are the native tests').
    const std::string policy = folder + "\\Экспорт.POL";
    EXPECT_EQ(RunQuenmar("/export \"" + policy + "\" /quiet").code, 0u);
    const std::string bytes = testing::FileBytes(win::Wide(policy));
    EXPECT_EQ(bytes.substr(0, 8), std::string("PReg\1\0\0\0", 8));
    const std::u16string place = u"D:\\Данные\\文件夹 😀\\";
    EXPECT_NE(bytes.find(std::string(reinterpret_cast<const char*>(place.data()), place.size() * 2)), std::string::npos);
    EXPECT_EQ(registry.ValueNames(kPlacesBarKey), std::vector<std::string>{"Place2"}) << "an export saves nothing";
    EXPECT_FALSE(registry.Get(kComdlgPolicyKey, kNoPlacesBarValue).has_value());
}

TEST_F(CommandLine, FailuresAndMistakesGiveACodeAndTheirReason) {
    const std::string missing = folder + "\\no such folder\\places.reg";
    Finished run = RunQuenmar("/export \"" + missing + "\"");
    EXPECT_EQ(run.code, 1u);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].rfind("Quenmar: Could not write \"" + missing + "\"", 0), 0u) << run.boxes[0];
    EXPECT_FALSE(fs::exists(folder + "\\no such folder"));
    EXPECT_TRUE(fs::is_empty(folder)) << "no file left behind";

    run = RunQuenmar("/quiet /export \"" + missing + "\"");
    EXPECT_EQ(run.code, 1u);
    EXPECT_TRUE(run.boxes.empty()) << "quiet";

    // A Group Policy Object's folder mistyped (which names are is the
    // target's rule): told, no window, and nothing made of it.
    run = RunQuenmar("/policy \"" + folder + "\\no such gpo\"");
    EXPECT_EQ(run.code, 1u);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_NE(run.boxes[0].find("cannot be opened"), std::string::npos) << run.boxes[0];
    EXPECT_FALSE(run.windowShown);
    EXPECT_TRUE(fs::is_empty(folder)) << "nothing made";

    for (const char* wrong : {"/export", "/frobnicate", "stray.reg", "/export a.reg b.reg"}) {
        run = RunQuenmar(wrong);
        EXPECT_EQ(run.code, 2u) << wrong;
        ASSERT_EQ(run.boxes.size(), 1u) << wrong;
        EXPECT_NE(run.boxes[0].find("Usage: Quenmar.exe"), std::string::npos) << run.boxes[0];
        EXPECT_FALSE(run.windowShown) << wrong;
        run = RunQuenmar(std::string(wrong) + " /quiet");
        EXPECT_EQ(run.code, 2u) << wrong;
        EXPECT_TRUE(run.boxes.empty()) << wrong;
    }

    // A switch in place of the file name: a mistake, told quietly as asked.
    run = RunQuenmar("/export -quiet");
    EXPECT_EQ(run.code, 2u);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_FALSE(fs::exists("-quiet")) << "a switch is no file name";

    run = RunQuenmar("/?");
    EXPECT_EQ(run.code, 0u);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].rfind("Quenmar: Usage: Quenmar.exe [/policy PATH] [/export FILE [/quiet]] [/?]", 0), 0u) << run.boxes[0];
}

}  // namespace
}  // namespace quenmar::e2e
