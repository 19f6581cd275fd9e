// Faults that end the tool with the runtime's fatal error box: a corrupt stored form description,
// and an allocation that fails at start-up and during a precise import. The box is the runtime's
// own (title "错误", stop icon), the exit code 0xFFFFFFFF, and what the tool wrote before stays.
#include <gtest/gtest.h>

#include "tests/e2e/driver/window_search.h"
#include "tests/e2e/e2e_scenarios.h"
#include "tests/e2e/fault_support.h"

namespace {

std::string FatalText(const std::string& message) {
    return "运行时出错!\r\n\r\n错误信息：" + message + "\r\n\r\n0, 0\r\n";
}

// Waits for the fatal box, checks it, dismisses it and returns the exit code.
DWORD ExpectFatalBox(ToolSession& session, const std::string& message) {
    const MessageBoxView box = session.WaitForBox();
    EXPECT_NE(box.window, nullptr) << "no box";
    if (!box.window)
        return 0xFFFF;
    EXPECT_EQ(box.title, "错误");
    EXPECT_EQ(box.text, FatalText(message));
    EXPECT_STREQ(BoxIconName(box.icon), BoxIconName(BoxIcon::kStop));
    EXPECT_EQ(box.buttons.size(), 1u);
    EXPECT_TRUE(session.Dismiss(box));
    DWORD code = 0xFFFF;
    EXPECT_TRUE(session.process().WaitForExit(15000, &code));
    return code;
}

class FatalFaultScenario : public ToolScenario {
  protected:
    void SetUp() override {
        ToolScenario::SetUp();
        if (!PathExists(FaultToolPath()))
            GTEST_FAIL() << "TovUSB-faults.exe is not built (the e2e_tests target builds it)";
    }
    void StartFaultTool(const std::string& listing) {
        SessionOptions options;
        options.program = FaultToolPath();
        options.listing = listing;
        ASSERT_TRUE(session_.Start(options));
        ASSERT_NE(session_.WaitForMainWindow(), nullptr) << "the main window did not appear";
    }
};

TEST_F(FatalFaultScenario, ACorruptFormDescriptionEndsTheProgramBeforeAnyWindow) {
    // Offsets into the stored description: 0 the directory length, 36 the main window's control
    // count, 41 the second byte of its control table length.
    for (const char* fault : {"truncate:1", "byte:0:17", "byte:36:9", "byte:41:0"}) {
        SCOPED_TRACE(fault);
        ScopedVariable variable("TOVUSB_FAULT_FORM", fault);
        ToolSession session;
        SessionOptions options;
        options.program = FaultToolPath();
        ASSERT_TRUE(session.Start(options));
        EXPECT_EQ(ExpectFatalBox(session, "载入窗口模板数据段出错!"), 0xFFFFFFFFu);
        EXPECT_FALSE(PathExists(tool::kWorkDir));
    }
}

TEST_F(FatalFaultScenario, AFailedAllocationReportsItsSizeAndKeepsTheLogsWritten) {
    // While the index is read: a 200000-byte index needs a block of 8 + 200000 bytes. The
    // padding lines match no identifier.
    {
        ScopedVariable variable("TOVUSB_FAULT_ALLOCATION_SIZE", "200008");
        StartFaultTool(MatchingListing());
        std::string index = ReadWholeFile(PayloadFolder() + "Win7X64.index");
        while (index.size() < 200000)
            index += std::string("padding line|NO\\SUCH&DEVICE|nowhere\\none.inf\r\n").substr(0, 200000 - index.size());
        ASSERT_TRUE(WriteWholeFile("X:\\TovUSB\\Win7X64.index", index));
        ChooseTarget(kWin7x64Root);
        EXPECT_EQ(ExpectFatalBox(session_, "分配 200008 字节内存失败!"), 0xFFFFFFFFu);
        EXPECT_TRUE(session_.DismRuns().empty());
        // A fatal error runs no clean-up: the work directory stays for the technician to look at.
        EXPECT_TRUE(PathExists("X:\\TovUSB\\USB.7z"));
    }
    // When the output of the first DISM run becomes its text: 123457 bytes in a block of 123457
    // + 1. The survey log written before stays whole; the run had nothing logged yet.
    {
        ScopedVariable variable("TOVUSB_FAULT_ALLOCATION_SIZE", "123458");
        StartFaultTool(MatchingListing());
        ASSERT_TRUE(InstallFaultyDism("sized 123457"));
        ChooseTarget(kWin7x64Root);
        EXPECT_EQ(ExpectFatalBox(session_, "分配 123458 字节内存失败!"), 0xFFFFFFFFu);
        EXPECT_EQ(session_.DismRuns().size(), 1u);
        EXPECT_EQ(ReadWholeFile("X:\\TovUSB\\hwids.log"), LogEntry(session_.Brand()) + LogEntry(MatchingListing()));
        EXPECT_FALSE(PathExists("X:\\TovUSB\\USB.log"));
    }
    RemoveTree(tool::kWorkDir);
}

}  // namespace
