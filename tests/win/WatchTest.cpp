#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "ModalBoxes.h"
#include "WaitUntil.h"
#include "win32/Watch.h"
#include "win32/WideText.h"

namespace quenmar::testing {
namespace {

constexpr const wchar_t* kPolicies = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies";
constexpr const wchar_t* kComdlg = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";
constexpr const wchar_t* kPlaces = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar";
constexpr UINT kChanged = WM_APP + 7;

int told = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kChanged) ++told;
    return DefWindowProcW(window, message, wParam, lParam);
}

void CreateKey(const wchar_t* path) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegCloseKey(key);
}
void SetDword(const wchar_t* path, const wchar_t* name, DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, path, name, REG_DWORD, &value, sizeof value);
}

using Changes = std::vector<std::pair<const char*, std::function<void()>>>;

// Told once armed; then of each change in turn, armed again after each
// before it tells.
void ExpectEachTold(const Changes& changes) {
    ASSERT_TRUE(WaitUntil([] { return told > 0; }, 5000)) << "armed";
    for (const auto& [what, change] : changes) {
        PumpMessages();
        told = 0;
        change();
        EXPECT_TRUE(WaitUntil([] { return told > 0; }, 5000)) << what;
    }
}

// Every change the window must follow is told, in turn, each after the
// watch has been armed again: values of both keys, an empty key made, the
// key removed, and the whole policy tree removed and made again.
TEST(Watch, TellsOfEveryChangeToTheSettingsKeys) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kComdlg);
    CreateKey(kComdlg);
    const win::UniqueWindow window = TestWindow(L"QuenmarWatchTest", CountingProc);
    win::Watch watch(win::RegistryKeyChanges("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32"), window.get(),
                     kChanged);
    const Changes changes = {
        {"an empty Placesbar key made", [] { CreateKey(kPlaces); }},
        {"a place written", [] { SetDword(kPlaces, L"Place0", 5); }},
        {"the hide flag written", [] { SetDword(kComdlg, L"NoPlacesBar", 1); }},
        {"a place removed", [] { RegDeleteKeyValueW(HKEY_CURRENT_USER, kPlaces, L"Place0"); }},
        {"the Placesbar key removed", [] { RegDeleteTreeW(HKEY_CURRENT_USER, kPlaces); }},
        {"the policy tree removed", [] { RegDeleteTreeW(HKEY_CURRENT_USER, kComdlg); }},
        {"the policy key made again", [] { CreateKey(kComdlg); }},
        {"a place written under it", [] { SetDword(kPlaces, L"Place1", 0); }},
        {"the policies removed whole", [] { RegDeleteTreeW(HKEY_CURRENT_USER, kPolicies); }},
        {"a place written into a new tree", [] { SetDword(kPlaces, L"Place2", 17); }},
    };
    ExpectEachTold(changes);
    RegDeleteTreeW(HKEY_CURRENT_USER, kComdlg);
}


// A policy file's watch, the same way: told once armed (for a save before
// it), then of another editor's save in place, a save that replaces the
// file, its removal, and a file made where its folder was missing.
TEST(Watch, TellsOfEveryChangeToThePolicyFile) {
    const std::wstring folder = L"C:\\quenmar-watch", file = folder + L"\\User\\Registry.pol";
    RemoveDirectoryW((folder + L"\\User").c_str());
    CreateDirectoryW(folder.c_str(), nullptr);
    const auto write = [file](const char* bytes) {
        const HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(out, bytes, static_cast<DWORD>(strlen(bytes)), &written, nullptr);
        CloseHandle(out);
    };
    const win::UniqueWindow window = TestWindow(L"QuenmarFileWatchTest", CountingProc);
    told = 0;
    win::Watch watch(win::FileChanges(win::Utf8(file)), window.get(), kChanged);
    const Changes changes = {
        {"its folder and the file made", [&] { CreateDirectoryW((folder + L"\\User").c_str(), nullptr); write("PReg"); }},
        {"written in place", [&] { write("PReg\x01"); }},
        {"replaced", [&] {
             const std::wstring other = folder + L"\\User\\new.tmp";
             CopyFileW(file.c_str(), other.c_str(), FALSE);
             MoveFileExW(other.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
         }},
        {"removed", [&] { DeleteFileW(file.c_str()); }},
    };
    ExpectEachTold(changes);
    RemoveDirectoryW((folder + L"\\User").c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace quenmar::testing
