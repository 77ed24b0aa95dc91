#include <windows.h>

#include <gtest/gtest.h>

#include "Drops.h"
#include "ModalBoxes.h"
#include "RealRegistry.h"
#include "app/QuenmarForm.h"
#include "folderpicker/ShellFolderForm.h"

namespace quenmar::testing {
namespace {

// A place whose path the code page cannot show is written back exactly as
// stored while its slot keeps that path: through moves, kind switches and any
// number of saves. Any new path the user gives the slot replaces it.
class KeptPlaces : public ::testing::Test {
protected:
    const std::wstring kPath = L"C:\\\x041F\x0430\x043F\x043A\x0430\\";  // Cyrillic "folder"

    void SetUp() override {
        if (GetACP() == 1251 || GetACP() == 65001) GTEST_SKIP() << "this code page can hold the name";
        registry.Reset();
        registry.CreateKey(kPlacesBarKey);
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kPlacesBarKeyW, L"Place1", REG_SZ, kPath.c_str(),
                                  static_cast<DWORD>((kPath.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        stored = Stored(L"Place1");
        ASSERT_TRUE(stored.has_value());
        ModalBoxes notice([this](const SeenBox& box) {
            notices.push_back(box.text);
            return IDOK;
        });
        form = std::make_unique<TfrmQuenmar>();
        form->Show();
        PumpMessages();
    }
    void TearDown() override {
        form.reset();
        PumpMessages();
        registry.Reset();
    }

    static std::optional<RawValue> Stored(const wchar_t* name) { return StoredValue(kPlacesBarKeyW, name); }
    void Click(widgets::Control& control) {
        ASSERT_TRUE(control.Enabled());
        SendMessageW(control.Handle(), BM_CLICK, 0, 0);
        PumpMessages();
    }
    void Preview() {
        ModalBoxes dialog([](const SeenBox&) { return IDCANCEL; });
        Click(form->btnpreview);
        ASSERT_EQ(dialog.seen.size(), 1u);
    }
    void Exit() {
        Click(form->btnClose);
        ASSERT_EQ(form->Handle(), nullptr);
    }

    static constexpr const wchar_t* kPlacesBarKeyW =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Comdlg32\\Placesbar";
    RealRegistryBackend registry;
    std::optional<RawValue> stored;
    std::vector<std::string> notices;
    std::unique_ptr<TfrmQuenmar> form;
};

TEST_F(KeptPlaces, FollowTheirSlotThroughAMoveAndTwoSaves) {
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("Place1"), std::string::npos) << notices[0];
    form->lstvwPlaces.SetSelected(1, true);
    Click(form->btnMoveDn);
    Preview();
    Exit();
    EXPECT_EQ(Stored(L"Place2"), stored) << "byte for byte";
    EXPECT_EQ(Stored(L"Place1"), DwordValue(0)) << "the Desktop that was below it";
}

TEST_F(KeptPlaces, SurviveAKindSwitchWithSavesBetween) {
    form->lstvwPlaces.SetSelected(1, true);
    Click(form->optUseSpecial);
    Preview();
    EXPECT_EQ(Stored(L"Place1"), DwordValue(0));
    Click(form->optUseFolder);
    Preview();
    Click(form->btnMoveUp);
    Click(form->btnMoveDn);
    Click(form->btnMoveDn);
    Preview();
    Exit();
    EXPECT_EQ(Stored(L"Place2"), stored);
    EXPECT_EQ(Stored(L"Place1"), DwordValue(0));
    EXPECT_EQ(Stored(L"Place0"), DwordValue(0));
}

// A path typed, dropped or picked replaces the kept value.
TEST_F(KeptPlaces, AreReplacedByANewPathFromAnySource) {
    form->lstvwPlaces.SetSelected(1, true);
    SetWindowTextW(form->edtDirectory.Handle(), "D:\\Typed\\");
    PumpMessages();
    Preview();
    EXPECT_EQ(registry.Get(kPlacesBarKey, "Place1"), SzValue("D:\\Typed\\"));
    form.reset();

    const std::vector<std::pair<std::string, std::function<void(TfrmQuenmar&)>>> sources = {
        {"dropped",
         [](TfrmQuenmar& window) {
             SendDrop(window.Handle(), {L"C:\\windows"});
         }},
        {"picked",
         [](TfrmQuenmar& window) {
             Soon([] {
                 const HWND picker = FindWindowW("TSelectFolderForm", nullptr);
                 ASSERT_NE(picker, nullptr);
                 auto* form = static_cast<TSelectFolderForm*>(
                     reinterpret_cast<widgets::Form*>(GetWindowLongPtrW(picker, GWLP_USERDATA)));
                 form->ShellTree.CurrentFolder.SetPath("C:\\windows");
                 SendMessageW(form->OkBtn.Handle(), BM_CLICK, 0, 0);
             });
             SendMessageW(window.btnBrowseFolder.Handle(), BM_CLICK, 0, 0);
         }},
    };
    for (const auto& [source, give] : sources) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kPlacesBarKeyW, L"Place1", stored->type, stored->data.data(),
                        static_cast<DWORD>(stored->data.size()));
        ModalBoxes notice([](const SeenBox&) { return IDOK; });
        form = std::make_unique<TfrmQuenmar>();
        form->Show();
        PumpMessages();
        form->lstvwPlaces.SetSelected(1, true);
        give(*form);
        PumpMessages();
        EXPECT_EQ(form->edtDirectory.Text(), "C:\\windows\\") << source;
        Exit();
        EXPECT_EQ(registry.Get(kPlacesBarKey, "Place1"), SzValue("C:\\windows\\")) << source;
        form.reset();
    }
}

}  // namespace
}  // namespace quenmar::testing
