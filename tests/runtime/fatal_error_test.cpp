// The fatal error report: box text line by line, and the way out without clean-up.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "runtime/fatal_error.h"
#include "runtime/program_exit.h"
#include "tests/support/test_support.h"

namespace {

int LookupNothing(uint32_t, int32_t, const char**, const char**) {
    return 0;
}
int LookupWindowOnly(uint32_t, int32_t, const char** window, const char**) {
    *window = "窗口1";
    return 1;
}
int LookupBoth(uint32_t windowId, int32_t controlId, const char** window, const char** control) {
    *window = windowId == 0x52010001 ? "启动窗口" : "?";
    *control = controlId == 0x16010004 ? "按钮2" : "?";
    return 2;
}

TEST(FatalErrorText, LinesFollowCodeMessageAndUnit) {
    struct Case {
        const char* name;
        const char* message;
        int32_t code;
        uint32_t unit;
        int32_t position;
        FatalErrorNameLookup lookup;
        std::string expected;
    };
    const Case cases[] = {
        {"array index", RuntimeErrorMessage(1), 1, 0x04000005, 12, nullptr,
         "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n\r\n67108869, 12\r\n"},
        {"no code, no message", "", 0, 0, 0, nullptr, "运行时出错!\r\n\r\n0, 0\r\n"},
        {"negative numbers", "m", -3, 0x7FFFFFFF, -8, nullptr,
         "运行时出错!\r\n\r\n错误代码：-3\r\n\r\n错误信息：m\r\n\r\n2147483647, -8\r\n"},
        {"window not loaded", "x", 0, 0x52010001, 0, LookupNothing,
         "运行时出错!\r\n\r\n错误信息：x\r\n\r\n1375797249, 0\r\n未找到所指定的窗口\r\n"},
        {"control not found", "x", 0, 0x52010001, 7, LookupWindowOnly,
         "运行时出错!\r\n\r\n错误信息：x\r\n\r\n1375797249, 7\r\n\"窗口1\"\r\n未找到所指定的窗口组件\r\n"},
        {"window and control", "x", 0, 0x52010001, 0x16010004, LookupBoth,
         "运行时出错!\r\n\r\n错误信息：x\r\n\r\n1375797249, 369164292\r\n\"启动窗口\"\r\n\"按钮2\"\r\n"},
        // Only window identifiers (kind 2 in bits 24 to 27) name a window; sub-program units do not.
        {"sub-program unit", "x", 0, 0x04000001, 5, LookupBoth,
         "运行时出错!\r\n\r\n错误信息：x\r\n\r\n67108865, 5\r\n"},
    };
    for (const Case& c : cases) {
        SetFatalErrorNameLookup(c.lookup);
        OwnedText text = FormatFatalErrorText(c.message, c.code, c.unit, c.position);
        EXPECT_EQ(std::string(text.c_str()), c.expected) << c.name;
    }
    SetFatalErrorNameLookup(nullptr);
}

TEST(FatalErrorText, ErrorTableHasElevenMessages) {
    EXPECT_EQ(RuntimeErrorMessage(0), nullptr);
    EXPECT_EQ(RuntimeErrorMessage(12), nullptr);
    EXPECT_STREQ(RuntimeErrorMessage(6), "调用DLL命令后发现堆栈错误");
    EXPECT_STREQ(RuntimeErrorMessage(11), "所提供参数的数据类型不符合要求");
    EXPECT_STREQ(RuntimeErrorMessage(9), "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围");
}

void SayCleanedA() {
    std::fputs("cleanup-A;", stderr);
}
void SayCleanedB() {
    std::fputs("cleanup-B;", stderr);
}

TEST(ProgramExitDeathTest, FatalErrorSkipsCleanupAndExitsMinusOne) {
    EXPECT_EXIT(
        {
            RegisterCleanup(SayCleanedA);
            ReportRuntimeError(5, 0x04000002, 1);
        },
        testing::ExitedWithCode(kFatalExitCode),
        FatalBoxWithText(
            "运行时出错!\r\n\r\n错误代码：5\r\n\r\n错误信息：数据或数组类型不匹配\r\n\r\n67108866, 1\r\n") +
            "\n$");
}

TEST(ProgramExitDeathTest, ExitProgramRunsCleanupsOnceInRegistrationOrder) {
    EXPECT_EXIT(
        {
            RegisterCleanup(SayCleanedB);
            RegisterCleanup(SayCleanedA);
            RegisterCleanup(SayCleanedB);
            ExitProgram(0);
        },
        testing::ExitedWithCode(0), "^cleanup-B;cleanup-A;$");
    EXPECT_EXIT(ExitProgram(3), testing::ExitedWithCode(3), "");
}

}  // namespace
