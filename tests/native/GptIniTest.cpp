// gpt.ini after a save of a Group Policy Object's user half, as rows written
// from what Group Policy clients need: Version's high 16 bits raised (past
// 0xFFFF to 1), and the registry extension [{35378EAC-…}{D02B1F73-…}] listed
// among the user's extensions, ordered by GUID.

#include <gtest/gtest.h>

#include "places/GptIni.h"

namespace quenmar::testing {
namespace {

const std::string kRegistry = "{35378EAC-683F-11D2-A89A-00C04FBBCFA2}";
const std::string kUserTool = "{D02B1F73-3407-48AE-BA88-E8213C6761F1}";
const std::string kMachineTool = "{D02B1F72-3407-48AE-BA88-E8213C6761F1}";
const std::string kScripts = "{42B5FAAE-6536-11D2-AE5A-0000F87571E3}";  // sorts after the registry's
const std::string kFolders = "{25537BA6-77A8-11D2-9B6C-0000F8080861}";  // and this one before it
const std::string kFoldersTool = "{88E729D6-BDC1-11D1-BD2A-00C04FB9603F}";

TEST(GptIni, AUserSaveRaisesTheUserVersionAndListsTheRegistryExtension) {
    const std::string listed = "gPCUserExtensionNames=[" + kRegistry + kUserTool + "]";
    const std::pair<std::string, std::string> rows[] = {
        {"", "[General]\r\nVersion=65536\r\n" + listed + "\r\n"},
        {"[General]\r\nVersion=3\r\ndisplayName=Local\r\n", "[General]\r\nVersion=65539\r\n" + listed + "\r\ndisplayName=Local\r\n"},
        {"[general]\nversion = 4294901765\n", "[general]\nVersion=65541\n" + listed + "\n"},  // 0xFFFF0005: wraps to 1
        {"; made by hand\r\n[General]\r\ngPCUserExtensionNames=[" + kScripts + "][" + kFolders + kFoldersTool + "]\r\nVersion=131072\r\n",
         "; made by hand\r\n[General]\r\ngPCUserExtensionNames=[" + kFolders + kFoldersTool + "][" + kRegistry + kUserTool + "][" +
             kScripts + "]\r\nVersion=196608\r\n"},
        {"[General]\r\nVersion=65536\r\ngPCUserExtensionNames=[" + kRegistry + kMachineTool + "]\r\n",
         "[General]\r\nVersion=131072\r\ngPCUserExtensionNames=[" + kRegistry + kMachineTool + kUserTool + "]\r\n"},
        // Each line keeps its own ending, and a file without a last one stays so.
        {"[General]\r\nVersion=1\ndisplayName=x", "[General]\r\nVersion=65537\n" + listed + "\ndisplayName=x"},
        {"[General]\r\nVersion=1", "[General]\r\nVersion=65537\r\n" + listed},
        // A GPO with machine settings only: their list stays as it is.
        {"[General]\r\nVersion=3\r\ngPCMachineExtensionNames=[" + kRegistry + kMachineTool + "]\r\n",
         "[General]\r\nVersion=65539\r\n" + listed + "\r\ngPCMachineExtensionNames=[" + kRegistry + kMachineTool + "]\r\n"},
        {"[Other]\r\nx=1\r\n[General]\r\nVersion=7\r\n" + listed + "\r\n", "[Other]\r\nx=1\r\n[General]\r\nVersion=65543\r\n" + listed + "\r\n"},
    };
    for (const auto& [before, after] : rows) EXPECT_EQ(GptIniAfterUserSave(before), after) << before;
    // Refused with the line at fault, as it stands, and nothing rewritten.
    using Fault = GptIniRefusal::Fault;
    const std::pair<std::string, GptIniRefusal> refused[] = {
        {"[General]\r\nVersion=x1\r\n", {Fault::VersionNotANumber, 2, "Version=x1"}},
        {"[General]\r\nVersion=4294967296\r\n", {Fault::VersionNotANumber, 2, "Version=4294967296"}},
        {"Version=1\r\n", {Fault::NoGeneralSection, 0, ""}},
        {"[General]\r\n; fine\r\nno equals sign\r\n", {Fault::NotALine, 3, "no equals sign"}},
        {"[General\r\n", {Fault::NotALine, 1, "[General"}},
        {"[General]\r\ngPCUserExtensionNames=[{bad}]\r\n", {Fault::ExtensionsNotAList, 2, "gPCUserExtensionNames=[{bad}]"}},
        {std::string("[General]\r\nVersion=1\0\r\n", 22), {Fault::NotText, 2, std::string("Version=1\0", 10)}},
    };
    for (const auto& [text, expected] : refused) {
        GptIniRefusal refusal;
        EXPECT_FALSE(GptIni::Read(text, refusal)) << text;
        EXPECT_EQ(refusal, expected) << text;
        EXPECT_EQ(GptIniAfterUserSave(text), std::nullopt) << text;
    }
}

}  // namespace
}  // namespace quenmar::testing
