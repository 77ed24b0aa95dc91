#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "ModalBoxes.h"
#include "FileBytes.h"
#include "RealRegistry.h"
#include "app/Export.h"
#include "MainWindowProbe.h"
#include "win32/FileContents.h"
#include "win32/SystemMessage.h"
#include "win32/Win32Registry.h"
#include "win32/WideText.h"

namespace quenmar::testing {
namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* kPlacesKeyW = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar";
constexpr const wchar_t* kPolicyKeyW = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32";
constexpr const char* kFolder = "C:\\quenmar-export";

// Every value of a key as the registry holds it, by name.
std::map<std::wstring, RawValue> ValuesOf(const wchar_t* keyPath) {
    std::map<std::wstring, RawValue> values;
    const std::string key = win::Utf8(keyPath);
    for (const std::string& name : RealRegistryBackend().ValueNames(key)) {
        values[RealRegistryBackend::W(name)] = *StoredValue(keyPath, RealRegistryBackend::W(name));
    }
    return values;
}

class Export : public ::testing::Test {
protected:
    void SetUp() override {
        registry.Reset();
        fs::remove_all(kFolder);
        fs::create_directories(kFolder);
    }
    void TearDown() override {
        registry.Reset();
        fs::remove_all(kFolder);
    }
    // Starting contents of every kind Quenmar keeps or rewrites, with names
    // in several scripts and a surrogate without its partner.
    void PutMixedPlaces() {
        registry.Put(kPlacesBarKey, "Place0", REG_SZ, Sz(u"C:\\Папка 😀\\x\xD800\\"));
        registry.Put(kPlacesBarKey, "Place1", REG_EXPAND_SZ, Sz(u"%WINDIR%\\\"quoted\"\\文件夹"));
        registry.Put(kPlacesBarKey, "Place2", REG_DWORD, Dword(8));
        registry.Put(kPlacesBarKey, "Place3", REG_SZ, Sz(""));
        registry.Put(kPlacesBarKey, "Place7", REG_SZ, Sz("left over"));
        registry.Put(kComdlgPolicyKey, kNoPlacesBarValue, REG_DWORD, Dword(1));
    }

    RealRegistryBackend registry;
};

TEST_F(Export, TheStoredSettingsComeBackWithRegImport) {
    PutMixedPlaces();
    {  // as Quenmar stores them
        AcceptedBoxes notices;
        MainWindowProbe form;
        form.Show();
        PumpMessages();
        SendMessageW(form.exitButton.Handle(), BM_CLICK, 0, 0);
        PumpMessages();
    }
    auto stored = ValuesOf(kPlacesKeyW);
    ASSERT_EQ(stored.size(), 6u);
    ASSERT_EQ(stored.at(L"Place0").type, REG_SZ);

    // Imported with reg.exe into empty keys: exactly what Quenmar had stored.
    const std::string file = std::string(kFolder) + "\\stored.reg";
    win::Win32Registry userRegistry;
    ExportStoredSettings(file, userRegistry);
    registry.Reset();
    ASSERT_EQ(RegImport(file), 0u);
    stored.erase(L"Place7");  // the import replaces the key whole
    EXPECT_EQ(ValuesOf(kPlacesKeyW), stored);
    EXPECT_EQ(ValuesOf(kPolicyKeyW)[L"NoPlacesBar"], DwordValue(1));

    // Nothing stored at all: the defaults, as a first save would write them.
    registry.Reset();
    ExportStoredSettings(file, userRegistry);
    ASSERT_EQ(RegImport(file), 0u);
    const auto defaults = ValuesOf(kPlacesKeyW);
    EXPECT_EQ(defaults, (std::map<std::wstring, RawValue>{{L"Place0", DwordValue(34)}, {L"Place1", DwordValue(0)},
                                                         {L"Place2", DwordValue(5)}, {L"Place3", DwordValue(17)},
                                                         {L"Place4", DwordValue(18)}}));
    EXPECT_EQ(ValuesOf(kPolicyKeyW)[L"NoPlacesBar"], DwordValue(0)) << "shown, as Exit would save it";
}

// A file is written whole or not at all, and the reason for a failure is told.
TEST_F(Export, FailedWritesLeaveNothingBehind) {
    const std::string good = std::string(kFolder) + "\\good.reg";
    ASSERT_EQ(win::ReplaceFileContents(good, "first"), ERROR_SUCCESS);
    ASSERT_EQ(win::ReplaceFileContents(good, "second"), ERROR_SUCCESS);
    EXPECT_EQ(FileBytes(good), "second");

    const std::pair<std::string, DWORD> failures[] = {
        {std::string(kFolder) + "\\missing\\x.reg", ERROR_PATH_NOT_FOUND},
        {std::string(kFolder), ERROR_ACCESS_DENIED},  // a folder, not a file
        {std::string(kFolder) + "\\" + std::string(300, 'n') + ".reg", ERROR_FILENAME_EXCED_RANGE},
    };
    for (const auto& [path, reason] : failures) EXPECT_EQ(win::ReplaceFileContents(path, "contents"), reason) << path;
    const std::string told = win::CouldNotWrite(failures[0].first, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(told.rfind("Could not write \"" + failures[0].first, 0), 0u) << told;
    EXPECT_NE(told.find(win::SystemMessage(ERROR_PATH_NOT_FOUND)), std::string::npos) << told;
    {
        // Held open without delete sharing, the target cannot be replaced: a
        // failure, told as one.
        const win::UniqueFile held(CreateFileW(win::Wide(good).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
        EXPECT_NE(win::ReplaceFileContents(good, "third"), static_cast<DWORD>(ERROR_SUCCESS));
    }
    std::vector<std::string> left;
    for (const auto& item : fs::directory_iterator(kFolder)) left.push_back(item.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"good.reg"}) << "no temporary file left";
}

}  // namespace
}  // namespace quenmar::testing
