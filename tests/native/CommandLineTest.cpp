#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace quenmar {
namespace {

using Action = CommandLine::Action;

TEST(CommandLine, WhatEachFormAsksFor) {
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        std::string file;
        bool quiet;
        std::optional<std::string> policy = std::nullopt;
    };
    const Case cases[] = {
        {{}, Action::Run, "", false},
        {{"/export", "C:\\out.reg"}, Action::Export, "C:\\out.reg", false},
        {{"-EXPORT", "a b.reg", "/Quiet"}, Action::Export, "a b.reg", true},
        {{"/q", "/export:D:\\Mixed Case.reg"}, Action::Export, "D:\\Mixed Case.reg", true},
        {{"/export", "C:\\Экспорт 文件.reg", "-q"}, Action::Export, "C:\\Экспорт 文件.reg", true},
        {{"/?"}, Action::Usage, "", false},         {{"-H"}, Action::Usage, "", false},
        {{"/help"}, Action::Usage, "", false},      {{"-e", "x.reg"}, Action::Export, "x.reg", false},
        {{"/E:y.reg"}, Action::Export, "y.reg", false},
        {{"/export", "x.reg", "-?"}, Action::Usage, "x.reg", false},
        {{"/quiet"}, Action::Run, "", true},
        {{"/Policy", "local"}, Action::Run, "", false, "local"},
        {{"/policy:C:\\GPO\\{31B2F340}", "/export", "x.pol"}, Action::Export, "x.pol", false, "C:\\GPO\\{31B2F340}"},
    };
    for (const Case& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.action, c.action) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(line.file, c.file) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(line.quiet, c.quiet) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(line.policy, c.policy) << ::testing::PrintToString(c.arguments);
    }
}

TEST(CommandLine, MistakesAreNamed) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"/export"}, "/export needs the name of the file to write."},
        {{"/export:"}, "/export needs the name of the file to write."},
        {{"/quiet", "/export"}, "/export needs the name of the file to write."},
        {{"/export", "/quiet"}, "/export needs the name of the file to write."},
        {{"/export", "-quiet"}, "/export needs the name of the file to write."},
        {{"-export:-q"}, "/export needs the name of the file to write."},
        {{"/exprot", "x"}, "Unknown switch: /exprot"},
        {{"x.reg"}, "Unexpected argument: x.reg"},
        {{"/export", "a", "b"}, "Unexpected argument: b"},
        {{"/export", "a", "/export", "b"}, "/export is given twice."},
        {{"/"}, "Unexpected argument: /"},
        {{"/policy"}, "/policy needs a policy file, the folder of a Group Policy Object or the word local."},
        {{"/policy", "-q"}, "/policy needs a policy file, the folder of a Group Policy Object or the word local."},
        {{"/policy", "a", "/policy:b"}, "/policy is given twice."},
    };
    for (const auto& [arguments, error] : cases) {
        const CommandLine line = ParseCommandLine(arguments);
        EXPECT_EQ(line.action, Action::Invalid) << ::testing::PrintToString(arguments);
        EXPECT_EQ(line.error, error);
    }
    for (const char* quiet : {"/QUIET", "-quiet", "/q", "-Q"}) {
        EXPECT_TRUE(ParseCommandLine({"/bad", quiet}).quiet) << quiet << ": quiet also after the mistake";
    }
    EXPECT_FALSE(ParseCommandLine({"/bad"}).quiet);
    EXPECT_NE(UsageText().find("/export FILE"), std::string::npos);
}

}  // namespace
}  // namespace quenmar
