// A Group Policy Object's folder on the test prefix's C: drive, edited as the
// window edits it: made by the first save that sets something, its version
// raised only with a write, and a version that cannot be raised told.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "FileBytes.h"
#include "app/AppTexts.h"
#include "app/GroupPolicyTarget.h"
#include "places/PlacesEditor.h"
#include "win32/Handles.h"
#include "win32/Texts.h"

namespace quenmar::testing {
namespace {

namespace fs = std::filesystem;

class GroupPolicyTargets : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(gpo);
        fs::create_directory(gpo);
    }
    void TearDown() override {
        fs::remove_all(gpo);
    }
    const fs::path gpo = L"C:\\quenmar-target-gpo";
};

TEST_F(GroupPolicyTargets, AFreshObjectIsMadeByTheFirstSaveThatSetsSomething) {
    const GroupPolicyTarget target = ResolveGroupPolicyTarget(gpo.string());
    ASSERT_FALSE(target.missing) << *target.missing;
    EXPECT_NE(target.description.find(TextOf(IDS_POLICY_NEW, {""})), std::string::npos) << target.description;
    const auto registry = OpenGroupPolicy(target);
    ASSERT_FALSE(registry->Reread());
    PlacesEditor editor(*registry);
    editor.Load();
    ASSERT_TRUE(editor.Save().Done());
    EXPECT_TRUE(fs::is_empty(gpo)) << "nothing set, nothing made";

    editor.Select(2);
    editor.PickSpecialFolder(17);
    const StoreOutcome saved = editor.Save();
    ASSERT_TRUE(saved.Done()) << saved.failure;
    EXPECT_EQ(saved.notice, "");
    EXPECT_TRUE(fs::exists(gpo / "User" / "Registry.pol"));
    EXPECT_EQ(FileBytes(gpo / "gpt.ini"), "[General]\r\nVersion=65536\r\ngPCUserExtensionNames=[{35378EAC-683F-11D2-A89A-"
                                     "00C04FBBCFA2}{D02B1F73-3407-48AE-BA88-E8213C6761F1}]\r\n");
}

// The policy file is written, but clients will not apply it: told after a
// save that is done, the change kept.
TEST_F(GroupPolicyTargets, AVersionThatCannotBeRaisedIsTold) {
    std::ofstream(gpo / "gpt.ini", std::ios::binary) << "[General]\r\nVersion=5\r\n";
    // Another program has it open, and lets it be read but not replaced.
    const win::UniqueHandle held(CreateFileW((gpo / "gpt.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
    const auto registry = OpenGroupPolicy(ResolveGroupPolicyTarget(gpo.string()));
    ASSERT_FALSE(registry->Reread());
    PlacesEditor editor(*registry);
    editor.Load();
    editor.Select(0);
    editor.SetPath("D:\\Shared\\");
    const StoreOutcome saved = editor.Save();
    EXPECT_TRUE(saved.Done()) << saved.failure;
    EXPECT_EQ(saved.notice.rfind(TextOf(IDS_GPT_INI_NOT_WRITTEN, {(gpo / "gpt.ini").string(), ""}), 0), 0u) << saved.notice;
    EXPECT_EQ(FileBytes(gpo / "gpt.ini"), "[General]\r\nVersion=5\r\n");
    EXPECT_TRUE(fs::exists(gpo / "User" / "Registry.pol"));
}

// A gpt.ini that cannot be rewritten is told as the policy opens, naming
// the line at fault as it stands (cut short where it is long).
TEST_F(GroupPolicyTargets, AGptIniThatCannotBeReadIsToldWithItsLine) {
    const std::string ini = (gpo / "gpt.ini").string(), tooLong = "Version=" + std::string(70, '9');
    const std::pair<std::string, std::string> rows[] = {
        {"[General]\r\nVersion=x\r\n", TextOf(IDS_GPT_INI_BAD_LINE, {"2", "Version=x"})},
        {"; made by hand\r\n[General]\r\n" + tooLong + "\r\n", TextOf(IDS_GPT_INI_BAD_LINE, {"3", tooLong.substr(0, 60) + "\u2026"})},
        {"Version=1\r\n", TextOf(IDS_GPT_INI_NO_GENERAL)},
    };
    for (const auto& [text, why] : rows) {
        std::ofstream(gpo / "gpt.ini", std::ios::binary | std::ios::trunc) << text;
        EXPECT_EQ(GroupPolicyNotice(ResolveGroupPolicyTarget(gpo.string())), TextOf(IDS_GPT_INI_UNREADABLE, {ini, why}));
    }
}

TEST_F(GroupPolicyTargets, AFolderThatIsNotThereIsToldAndAPolicyFileThatIsNotThereIsNew) {
    for (const fs::path& missing : {gpo / "no such gpo", gpo / "no such folder" / "x.pol"}) {
        const GroupPolicyTarget target = ResolveGroupPolicyTarget(missing.string() + (missing.has_extension() ? "" : "\\"));
        ASSERT_TRUE(target.missing) << missing;
        EXPECT_NE(target.missing->find("no such"), std::string::npos) << *target.missing;
    }
    const GroupPolicyTarget file = ResolveGroupPolicyTarget((gpo / "Places.POL").string());
    EXPECT_FALSE(file.missing);
    EXPECT_EQ(file.description, TextOf(IDS_POLICY_NEW, {TextOf(IDS_POLICY_FILE_TARGET, {"Places.POL"})}));
    EXPECT_TRUE(fs::is_empty(gpo));

    // A domain's GPO folder is named by its GUID: the one a script is for.
    const fs::path named = gpo / "{31B2F340-016D-11D2-945F-00C04FB984F9}";
    fs::create_directory(named);
    EXPECT_EQ(ResolveGroupPolicyTarget(named.string()).gpoGuid, "{31B2F340-016D-11D2-945F-00C04FB984F9}");
    EXPECT_EQ(ResolveGroupPolicyTarget(gpo.string()).gpoGuid, "");
}

}  // namespace
}  // namespace quenmar::testing
