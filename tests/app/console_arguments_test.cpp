// The console mode's arguments, and the dry run's account of a listing.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/console/console_arguments.h"
#include "app/console/survey_report.h"
#include "runtime/text_commands.h"

namespace {

struct ArgumentCase {
    std::vector<std::string> args;
    ConsoleCommand command;
    const char* target;
    const char* folder;
    const char* logPath;
    const char* problem;  // empty: none
};

TEST(ParseConsoleArguments, CommandsOperandsAndEveryWayToGetThemWrong) {
    using C = ConsoleCommand;
    const ArgumentCase cases[] = {
        {{"/precise", "D:\\"}, C::kPrecise, "D:\\", "", "", ""},
        {{"-PRECISE", "D:\\"}, C::kPrecise, "D:\\", "", "", ""},
        {{"/Fuzzy", "E:\\", "/LOG", "r.txt"}, C::kFuzzy, "E:\\", "", "r.txt", ""},
        {{"/log", "-odd name", "/custom", "D:\\Windows", "X:\\My Drivers"},
         C::kCustom,
         "D:\\Windows",
         "X:\\My Drivers",
         "-odd name",
         ""},
        {{"/survey"}, C::kSurvey, "", "", "", ""},
        {{"/survey", "D:\\"}, C::kSurvey, "D:\\", "", "", ""},
        {{"/Verify", "H:\\Offline Win7"}, C::kVerify, "H:\\Offline Win7", "", "", ""},
        {{"/verify"}, C::kUsage, "", "", "", "/verify 缺少参数"},
        {{"/verify", "D:\\", "E:\\"}, C::kUsage, "", "", "", "/verify 的参数过多: E:\\"},
        {{}, C::kUsage, "", "", "", "缺少命令"},
        {{"D:\\"}, C::kUsage, "", "", "", "缺少命令"},
        {{"/precise"}, C::kUsage, "", "", "", "/precise 缺少参数"},
        {{"/custom", "D:\\Windows"}, C::kUsage, "", "", "", "/custom 缺少参数"},
        {{"/survey", "D:\\", "E:\\"}, C::kUsage, "", "", "", "/survey 的参数过多: E:\\"},
        {{"/precise", ""}, C::kUsage, "", "", "", "/precise 的参数为空"},
        {{"/precise", "D:\\", "/fuzzy"}, C::kUsage, "", "", "", "只能给出一个命令"},
        {{"/precise", "D:\\", "/x"}, C::kUsage, "", "", "", "未知的开关 /x"},
        {{"/precise", "D:\\", "/log"}, C::kUsage, "", "", "", "/log 缺少文件名"},
        {{"/log", "a", "/log", "b", "/survey"}, C::kUsage, "", "", "", "/log 只能给出一次"},
    };
    for (const ArgumentCase& c : cases) {
        const ConsoleRequest request = ParseConsoleArguments(c.args);
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
        EXPECT_EQ(request.command, c.command);
        EXPECT_EQ(request.target, c.target);
        EXPECT_EQ(request.folder, c.folder);
        EXPECT_EQ(request.logPath, c.logPath);
        EXPECT_EQ(request.problem, c.problem);
        EXPECT_FALSE(request.usageAsked);
    }
    for (const std::vector<std::string>& asked : std::vector<std::vector<std::string>>{{"/?"}, {"/precise", "-?"}}) {
        const ConsoleRequest request = ParseConsoleArguments(asked);
        EXPECT_TRUE(request.usageAsked);
        EXPECT_EQ(request.command, ConsoleCommand::kUsage);
        EXPECT_TRUE(request.problem.empty());
    }
}

OwnedText Unqualified(const char* path) {
    return CopyText(path);
}

TEST(DeviceSurveyReport, TheEighthGenerationPackageAndLinesTooShortToName) {
    const char* listing =
        "PCI\\VEN_1B21&DEV_1042\\4&0\r\n"
        "    Name: ASMedia\r\n"
        "    Hardware IDs:\r\n"
        "        PCI\\VEN_1B21&DEV_1042\r\n"
        "PCI\\VEN_1B73&DEV_1100\\4&1\r\n"
        "    Compatible IDs:\r\n"
        "        PCI\\VEN_1B73&DEV_1100\r\n";
    TextArray index = SplitText("Short|PCI\\VEN_1B73&DEV_1100|\r\nA|PCI\\VEN_1B21&DEV_1042|ASM\\a.inf\r\n", "\r\n");
    const SurveyIndex survey{index, "Win7x64.Index", "B\\"};
    const std::vector<std::string> normal = DeviceSurveyReport(listing, survey, 7, Unqualified);
    const std::vector<std::string> eighth = DeviceSurveyReport(listing, survey, 8, Unqualified);
    ASSERT_EQ(normal.size(), 12u);
    ASSERT_EQ(eighth.size(), 12u);
    EXPECT_EQ(normal[5], "  驱动: B\\ASM\\");
    EXPECT_EQ(eighth[5], "  驱动: B\\\\Intel_8thA_USB3.A_Win7");
    EXPECT_EQ(normal[6], "设备: (无名称)");
    EXPECT_EQ(normal[10],
              "  索引: Win7x64.Index 第 1 行, 由 PCI\\VEN_1B73&DEV_1100 选中: Short|PCI\\VEN_1B73&DEV_1100|");
    // Two fields name no folder, whatever the generation.
    EXPECT_EQ(normal[11], "  驱动: 索引行不足三段, 跳过");
    EXPECT_EQ(eighth[11], normal[11]);
}

}  // namespace
