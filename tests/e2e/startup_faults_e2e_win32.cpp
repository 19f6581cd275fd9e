// Faults at start-up: a system drive that refuses every write, a corrupt payload archive and one
// made under another password. The tool tells what failed in a stop box and ends with exit code 0.
#include <gtest/gtest.h>

#include "tests/e2e/driver/window_search.h"
#include "tests/e2e/e2e_scenarios.h"
#include "tests/e2e/fault_support.h"

namespace {

// Starts the program, expects the box (title "提示", stop icon, one button) and no main window,
// dismisses it and returns the exit code (0xFFFF when the program did not end).
DWORD ExpectStartupBox(ToolSession& session, const SessionOptions& options, const std::string& text) {
    EXPECT_TRUE(session.Start(options)) << options.program;
    const MessageBoxView box = session.WaitForBox();
    EXPECT_NE(box.window, nullptr) << "no box";
    if (!box.window)
        return 0xFFFF;
    EXPECT_EQ(box.title, tool::kBoxTitle);
    EXPECT_EQ(box.text, text);
    EXPECT_STREQ(BoxIconName(box.icon), BoxIconName(BoxIcon::kStop));
    EXPECT_EQ(box.buttons.size(), 1u);
    EXPECT_EQ(FindTopLevelWindow(session.process().id(), tool::kMainTitle), nullptr) << "the main window is shown";
    EXPECT_TRUE(session.Dismiss(box));
    DWORD code = 0xFFFF;
    EXPECT_TRUE(session.process().WaitForExit(15000, &code));
    return code;
}

TEST(StartupFaultE2ETest, AReadOnlySystemDriveEndsWithTheMissingArchiveBoxAndWritesNothing) {
    if (SandboxToolPath().empty())
        GTEST_SKIP() << "TovUSB-sandbox.exe is not built";
    RemoveTree(tool::kWorkDir);
    const std::vector<std::string> before = FilesBelow(kPeRoot);
    {
        ImmutablePath drive(kPeRoot);
        ASSERT_TRUE(drive.ok()) << "X:\\ still takes writes (chattr +i on " << UnixPathOf(kPeRoot) << ")";
        ToolSession session;
        EXPECT_EQ(ExpectStartupBox(session, SessionOptions(), "程序初始化失败,USB.7z不存在！"), 0u);
    }
    EXPECT_FALSE(PathExists(tool::kWorkDir));
    EXPECT_EQ(FilesBelow(kPeRoot), before);
    EXPECT_FALSE(PathExists("C:\\TovUSB"));
}

TEST(StartupFaultE2ETest, AnArchiveThatDoesNotUnpackEndsWithTheExtractorsCode) {
    if (FaultToolPath().empty() || !PathExists(FaultToolPath()) || !PathExists(WrongPasswordToolPath()))
        GTEST_SKIP() << "the test builds of the tool are not built";
    struct ArchiveCase {
        const char* name;
        std::string program;
        const char* fault;
    };
    const ArchiveCase cases[] = {
        {"corrupt archive", FaultToolPath(), "corrupt"},
        {"archive under another password", WrongPasswordToolPath(), ""},
    };
    for (const ArchiveCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedVariable fault("TOVUSB_FAULT_ARCHIVE", c.fault);
        ToolSession session;
        SessionOptions options;
        options.program = c.program;
        // 7-Zip ends with 2 on a data error, which a wrong password is to it as well.
        EXPECT_EQ(ExpectStartupBox(session, options, "程序初始化失败,USB.7z解压失败,错误代码:2！"), 0u);
        // Nothing of a payload that failed to unpack stays behind: the extractor skips files that
        // exist, so a later start would keep what this one left half-written.
        EXPECT_FALSE(PathExists(tool::kWorkDir));
        RemoveTree(tool::kWorkDir);
    }
    // A second start, with an intact archive and whatever the failed ones left, unpacks all of it.
    ScopedVariable fault("TOVUSB_FAULT_ARCHIVE", "corrupt");
    ToolSession failed;
    SessionOptions options;
    options.program = FaultToolPath();
    ExpectStartupBox(failed, options, "程序初始化失败,USB.7z解压失败,错误代码:2！");
    ToolSession retry;
    options.program = SandboxToolPath();
    options.keepWorkDir = true;
    options.recordDism = false;
    ASSERT_TRUE(retry.Start(options));
    ASSERT_NE(retry.WaitForMainWindow(), nullptr);
    for (const std::string& file : FilesBelow(PayloadFolder()))
        EXPECT_TRUE(ReadWholeFile("X:\\TovUSB\\" + file) == ReadWholeFile(PayloadFolder() + file)) << file;
    DWORD code = 0xFFFF;
    ASSERT_TRUE(retry.CloseMainWindow(&code));
    EXPECT_EQ(code, 0u);
}

}  // namespace
