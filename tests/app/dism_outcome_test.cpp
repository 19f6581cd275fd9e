// What the imports say when DISM failed.
#include <gtest/gtest.h>

#include "app/inject/dism_outcome.h"
#include "runtime/text_commands.h"

namespace {

// The texts a system has for the codes these cases use; none for a crash's exception code.
OwnedText KnownTexts(uint32_t code) {
    switch (code) {
        case 2:
            return CopyText("找不到文件。");
        case 87:
            return CopyText("参数错误。");
        case 193:
            return CopyText("%1 不是有效的 Win32 应用程序。");
        default:
            return OwnedText();
    }
}

CommandRunResult Ran(uint32_t exitCode) {
    CommandRunResult run;
    run.started = true;
    run.exitCode = exitCode;
    return run;
}

CommandRunResult NotStarted(uint32_t startError) {
    CommandRunResult run;
    run.startError = startError;
    return run;
}

TEST(DismFailureMessage, NamesTheFlowTheCodeAndTheSystemsText) {
    const struct {
        const char* flow;
        CommandRunResult run;
        const char* message;
    } cases[] = {
        {"精准导入驱动失败", Ran(2), "精准导入驱动失败,DISM错误代码:2(找不到文件。)！"},
        {"模糊导入驱动失败", Ran(87), "模糊导入驱动失败,DISM错误代码:87(参数错误。)！"},
        {"精准导入驱动失败", Ran(1392), "精准导入驱动失败,DISM错误代码:1392！"},
        {"自定义导入驱动失败", Ran(0xC0000005), "自定义导入驱动失败,DISM错误代码:0xC0000005！"},
        {"精准导入驱动失败", Ran(0x800F081F), "精准导入驱动失败,DISM错误代码:0x800F081F！"},
        {"精准导入驱动失败", NotStarted(193),
         "精准导入驱动失败,DISM无法运行(错误 193: %1 不是有效的 Win32 应用程序。)！"},
        {"模糊导入驱动失败", NotStarted(2), "模糊导入驱动失败,DISM无法运行(错误 2: 找不到文件。)！"},
        {"自定义导入驱动失败", NotStarted(1455), "自定义导入驱动失败,DISM无法运行(错误 1455)！"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(DismFailureMessage(c.flow, c.run, KnownTexts).c_str(), c.message);
}

}  // namespace
