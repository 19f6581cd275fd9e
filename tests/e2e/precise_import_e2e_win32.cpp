// The precise import as a user runs it: target choice, survey, index lookup, one DISM run per
// matched identifier, logs, status texts, boxes, and the faults the tool guards against.
#include <gtest/gtest.h>

#include <functional>

#include "tests/e2e/driver/controls.h"
#include "tests/e2e/driver/window_search.h"
#include "tests/e2e/e2e_scenarios.h"

namespace {

using PreciseImportScenario = ToolScenario;

constexpr char kNotEffectiveBox[] = "精准导入驱动未生效,以下设备在目标系统中没有可用的驱动:\r\n";

struct TargetCase {
    const char* root;
    bool is64Bit;
};

TEST_F(PreciseImportScenario, InjectsTheMatchedPackagesAndLogsEveryRun) {
    const TargetCase targets[] = {{kWin7x64Root, true}, {kWin7x86Root, false}};
    StartTool();
    const std::string brand = session_.Brand();
    std::string expectedSurveyLog;
    std::string expectedDismLog;
    size_t runsBefore = 0;
    for (const TargetCase& target : targets) {
        SCOPED_TRACE(target.root);
        // Hold DISM to see the tool at work: status text and controls while it injects.
        session_.HoldDism(true);
        ChooseTarget(target.root);
        ASSERT_TRUE(session_.WaitForHeldRuns(runsBefore + 1, 30000));
        EXPECT_EQ(session_.Status(), "状态: 正在精准导入驱动,请稍候....");
        ExpectAllControlsEnabled(false);
        EXPECT_FALSE(Click(session_.MainControl(tool::kButton2)));
        session_.HoldDism(false);

        const MessageBoxView box = ExpectBox("精准导入驱动完成！\r\n如无效请使用 模糊导入 ", BoxIcon::kInformation);
        EXPECT_EQ(session_.Status(), "状态: 精准导入驱动完成！");
        ExpectAllControlsEnabled(true);

        // One DISM run per matched identifier, in the listing's order, each with its exact line.
        const std::vector<std::string> folders = MatchedFolders(target.is64Bit);
        const std::vector<DismRun> runs = session_.DismRuns();
        ASSERT_EQ(runs.size(), runsBefore + folders.size());
        for (size_t i = 0; i < folders.size(); ++i) {
            const DismRun& run = runs[runsBefore + i];
            const std::string parameters = PreciseParameters(target.root, folders[i]);
            EXPECT_EQ(run.commandLine, kDismPath + std::string(" ") + parameters) << "run " << i + 1;
            EXPECT_TRUE(run.finished);
            EXPECT_EQ(run.exitCode, 0u) << run.output;
            expectedDismLog = LogEntry(parameters) + LogEntry(run.output) + expectedDismLog;
        }
        runsBefore = runs.size();
        // Both logs, newest entry first: the survey's brand over its listing; each DISM run's
        // parameter text over its output.
        expectedSurveyLog = LogEntry(brand) + LogEntry(MatchingListing()) + expectedSurveyLog;
        EXPECT_EQ(ReadWholeFile("X:\\TovUSB\\hwids.log"), expectedSurveyLog);
        EXPECT_EQ(ReadWholeFile("X:\\TovUSB\\USB.log"), expectedDismLog);
        // What DISM put into the image.
        EXPECT_EQ(RecordedPackages(target.root), PackagesIn(folders));
        DismissBox(box);
        EXPECT_EQ(session_.Status(), "状态: 精准导入驱动完成！");
    }
    CloseAndExpectCleanExit();
}

// The processor generation decides the packages: an 8th or 9th generation Core gets the one Intel
// package for every device, any other processor each device's own. The brands are given to the
// tool, so that both branches run on every machine; the folders expected are fixed lists.
TEST_F(PreciseImportScenario, TheProcessorGenerationChoosesThePackages) {
    for (const ProcessorCase& c : kProcessorCases) {
        SCOPED_TRACE(c.brand);
        ClearDriverStore(kWin7x64Root);
        StartTool(MatchingListing(), c.brand);
        ChooseTarget(kWin7x64Root);
        // The Intel package serves none of the other makers' controllers, and the store says so.
        const MessageBoxView box =
            c.eighthGeneration
                ? ExpectBox(kNotEffectiveBox + std::string("ASMedia USB 3.0 eXtensible Host Controller\r\n"
                                                           "Fresco Logic xHCI (USB3) Controller FL1100 Series\r\n"
                                                           "Etron USB 3.0 eXtensible Host Controller"),
                            BoxIcon::kExclamation)
                : ExpectBox("精准导入驱动完成！\r\n如无效请使用 模糊导入 ", BoxIcon::kInformation);
        EXPECT_EQ(session_.Status(), c.eighthGeneration ? "状态: 精准导入驱动未生效" : "状态: 精准导入驱动完成！");
        std::vector<std::string> expected;
        for (const std::string& folder : MatchedFolders(true, c.eighthGeneration))
            expected.push_back(kDismPath + std::string(" ") + PreciseParameters(kWin7x64Root, folder));
        EXPECT_EQ(DismCommandLines(), expected);
        // The survey log names the brand as the tool read it, spaces and all.
        EXPECT_EQ(ReadWholeFile("X:\\TovUSB\\hwids.log"), LogEntry(c.brand) + LogEntry(MatchingListing()));
        EXPECT_EQ(RecordedPackages(kWin7x64Root), PackagesIn(MatchedFolders(true, c.eighthGeneration)));
        DismissBox(box);
        CloseAndExpectCleanExit();
    }
}

// DISM stages what it is given; whether Windows 7 will take it for the device is read back from
// the target's store. A package rewritten after start-up stands for a payload whose package does
// not suit the device.
TEST_F(PreciseImportScenario, AMatchedDeviceThatNoStagedPackageServesEndsInAWarning) {
    const std::string asmedia = "X:\\TovUSB\\Win7X64\\ASMedia_USB3.A_Win7\\asm7_xhci.inf";
    const std::string frescoController = "X:\\TovUSB\\Win7X64\\Fresco_Logic_USB3.0_WinA\\A_Controller\\fl_xhci.inf";
    const struct {
        const char* name;
        std::function<void()> change;
        const char* uncovered;
        std::vector<std::string> staged;
    } cases[] = {
        {"a package for Windows 10 only",
         [&] {
             std::string inf = ReadWholeFile(asmedia);
             for (const char* from : {"Devices,NTamd64", "[Devices.NTamd64]"}) {
                 const std::string text = from;
                 const size_t at = inf.find(text);
                 ASSERT_NE(at, std::string::npos) << from;
                 inf.insert(at + text.size() - (text.back() == ']' ? 1 : 0), ".10.0");
             }
             ASSERT_TRUE(WriteWholeFile(asmedia, inf));
         },
         "ASMedia USB 3.0 eXtensible Host Controller", PackagesIn(MatchedFolders(true))},
        {"the hub's package without the controller's",
         [&] { ASSERT_TRUE(DeleteFileA(frescoController.c_str())); },
         "Fresco Logic xHCI (USB3) Controller FL1100 Series",
         {"asm7_xhci.inf", "etron_xhci.inf", "fl_hub.inf", "intel8th_xhci.inf"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearDriverStore(kWin7x64Root);
        StartTool();
        c.change();
        ChooseTarget(kWin7x64Root);
        const MessageBoxView box = ExpectBox(kNotEffectiveBox + std::string(c.uncovered), BoxIcon::kExclamation);
        EXPECT_EQ(session_.Status(), "状态: 精准导入驱动未生效");
        ExpectAllControlsEnabled(true);
        // DISM ran for every folder, and what it staged is in the store.
        EXPECT_EQ(session_.DismRuns().size(), MatchedFolders(true).size());
        EXPECT_EQ(RecordedPackages(kWin7x64Root), c.staged);
        DismissBox(box);
        CloseAndExpectCleanExit();
    }
}

TEST_F(PreciseImportScenario, ReportsASurveyWithoutOutputAsError1001) {
    // No brand given: the tool reads the processor's own, and logs it.
    StartTool(std::string(), kProcessorsOwnBrand);
    ChooseTarget(kWin7x64Root);
    const MessageBoxView box = ExpectBox("精准导入失败,错误:Error1001！", BoxIcon::kStop);
    EXPECT_EQ(session_.Status(), "状态: 精准导入失败");
    ExpectAllControlsEnabled(true);
    EXPECT_TRUE(session_.DismRuns().empty());
    // The empty listing is logged all the same.
    EXPECT_EQ(ReadWholeFile("X:\\TovUSB\\hwids.log"), LogEntry(session_.Brand()) + LogEntry(""));
    EXPECT_FALSE(PathExists("X:\\TovUSB\\USB.log"));
    DismissBox(box);
    CloseAndExpectCleanExit();
}

TEST_F(PreciseImportScenario, ReportsWhenNoDeviceIsInTheIndex) {
    StartTool(UnmatchedListing());
    ChooseTarget(kWin7x64Root);
    const MessageBoxView box = ExpectBox("未搜索到支持的USB设备！", BoxIcon::kExclamation);
    EXPECT_EQ(session_.Status(), "状态: 未搜索到支持的USB设备");
    ExpectAllControlsEnabled(true);
    EXPECT_TRUE(session_.DismRuns().empty());
    EXPECT_EQ(ReadWholeFile("X:\\TovUSB\\hwids.log"), LogEntry(session_.Brand()) + LogEntry(UnmatchedListing()));
    EXPECT_TRUE(RecordedPackages(kWin7x64Root).empty());
    DismissBox(box);
    CloseAndExpectCleanExit();
}

TEST_F(PreciseImportScenario, RefusesTargetsThatAreNotWindows7AndIgnoresACancel) {
    StartTool();
    // Windows 8.1, a folder without Windows, and a Windows directory instead of its root.
    for (const char* target : {kWin81Root, kPlainRoot, "D:\\Windows"}) {
        SCOPED_TRACE(target);
        ChooseTarget(target);
        const MessageBoxView box = ExpectBox("本功能仅适合Windows7系统，请选择正确的系统", BoxIcon::kStop);
        EXPECT_EQ(session_.Status(), tool::kInitialStatus);
        ExpectAllControlsEnabled(true);
        DismissBox(box);
    }
    ChooseTarget(std::string());
    ExpectNoBox();
    EXPECT_EQ(session_.Status(), tool::kInitialStatus);
    ExpectAllControlsEnabled(true);
    EXPECT_TRUE(session_.DismRuns().empty());
    EXPECT_FALSE(PathExists("X:\\TovUSB\\hwids.log"));
    CloseAndExpectCleanExit();
}

TEST_F(PreciseImportScenario, QuotesATargetPathWithSpaces) {
    StartTool();
    ChooseTarget(kSpacedWin7);
    const MessageBoxView box = ExpectBox("精准导入驱动完成！\r\n如无效请使用 模糊导入 ", BoxIcon::kInformation);
    const std::vector<std::string> folders = MatchedFolders(true);
    const std::vector<DismRun> runs = session_.DismRuns();
    ASSERT_EQ(runs.size(), folders.size());
    for (size_t i = 0; i < folders.size(); ++i) {
        EXPECT_EQ(runs[i].commandLine,
                  kDismPath + std::string(" ") + PreciseParameters("\"H:\\Offline Win7\"", folders[i]));
        EXPECT_EQ(runs[i].exitCode, 0u) << runs[i].output;
    }
    EXPECT_EQ(RecordedPackages(kSpacedWin7), PackagesIn(folders));
    DismissBox(box);
    CloseAndExpectCleanExit();
}

TEST_F(PreciseImportScenario, ReportsAFailingDismWithItsExitCode) {
    StartTool();
    ChooseTarget(kBrokenWin7Root);
    const MessageBoxView box = session_.WaitForBox();
    ASSERT_NE(box.window, nullptr);
    const std::vector<DismRun> runs = session_.DismRuns();
    ASSERT_EQ(runs.size(), MatchedFolders(true).size()) << "a failing run does not stop the others";
    ASSERT_NE(runs[0].exitCode, 0u) << runs[0].output;
    EXPECT_EQ(box.title, tool::kBoxTitle);
    EXPECT_EQ(box.text.rfind("精准导入驱动失败", 0), 0u) << box.text;
    EXPECT_NE(box.text.find(std::to_string(runs[0].exitCode)), std::string::npos) << box.text;
    EXPECT_STREQ(BoxIconName(box.icon), BoxIconName(BoxIcon::kStop));
    ExpectAllControlsEnabled(true);
    // The failed runs are logged like the good ones.
    EXPECT_EQ(
        ReadWholeFile("X:\\TovUSB\\USB.log").rfind(PreciseParameters(kBrokenWin7Root, MatchedFolders(true).back()), 0),
        0u);
    DismissBox(box);
    CloseAndExpectCleanExit();
}

TEST_F(PreciseImportScenario, RefusesToCloseTheMainWindowWhileDismRuns) {
    StartTool();
    session_.HoldDism(true);
    ChooseTarget(kWin7x64Root);
    ASSERT_TRUE(session_.WaitForHeldRuns(1, 30000));
    ASSERT_TRUE(PressCloseBox(session_.main()));
    ASSERT_TRUE(WaitForThreadToCatchUp(session_.main())) << "the tool does not answer";
    EXPECT_TRUE(session_.process().Running());
    EXPECT_TRUE(IsWindow(session_.main()));
    EXPECT_TRUE(PathExists("X:\\TovUSB\\dism\\x64\\dism.exe"));
    session_.HoldDism(false);
    const MessageBoxView box = ExpectBox("精准导入驱动完成！\r\n如无效请使用 模糊导入 ", BoxIcon::kInformation);
    EXPECT_EQ(session_.DismRuns().size(), MatchedFolders(true).size());
    DismissBox(box);
    CloseAndExpectCleanExit();
}

// Puts another Windows's cmd.exe into the simulated Windows PE while it lives: the version probes
// read X:\Windows\system32\cmd.exe.
class PeCmdSwap {
  public:
    explicit PeCmdSwap(const std::string& otherRoot) {
        if (otherRoot.empty())
            return;
        saved_ = ReadWholeFile(kPeCmd);
        swapped_ = !saved_.empty() && CopyFileA((otherRoot + "Windows\\system32\\cmd.exe").c_str(), kPeCmd, FALSE);
    }
    ~PeCmdSwap() {
        if (swapped_)
            WriteWholeFile(kPeCmd, saved_);
    }
    PeCmdSwap(const PeCmdSwap&) = delete;
    PeCmdSwap& operator=(const PeCmdSwap&) = delete;
    bool ok(const std::string& otherRoot) const { return otherRoot.empty() || swapped_; }

  private:
    static constexpr char kPeCmd[] = "X:\\Windows\\system32\\cmd.exe";
    std::string saved_;
    bool swapped_ = false;
};

// The devcon and the DISM of the host, in Windows PE with and without WoW64 (which Wine's 64-bit
// prefix always has, and the sandbox takes away), for the tool of the tests' own build. The 64-bit
// program is proof of a 64-bit host by itself; a 64-bit PE without WoW64 starts no 32-bit DISM.
// Only the expected devcon stays in the work directory: the survey finds the controllers only
// when the tool runs that one.
TEST_F(PreciseImportScenario, RunsTheDevconAndDismThatTheHostStarts) {
    constexpr int kBuild = sizeof(void*) == 8 ? 1 : 0;
    const char* const kDevcons[] = {"devcon.exe", "devcon_X64.exe"};
    const std::string kX86Dism = "X:\\TovUSB\\\\dism\\X86\\dism.exe";
    struct HostCase {
        const char* name;
        std::string peLike;  // the root whose cmd.exe the PE gets; empty: Windows 10's
        bool noWow64;
        bool devcon64Bit[2];  // the 32-bit tool, then the 64-bit tool
        std::string dism[2];  // the same
    };
    const HostCase cases[] = {
        {"Windows 10 PE without WoW64", "", true, {false, true}, {kX86Dism, kDismPath}},
        {"Windows 8.1 PE", kWin81Root, false, {true, true}, {kX86Dism, kX86Dism}},
        {"Windows 8.1 PE without WoW64", kWin81Root, true, {false, true}, {kX86Dism, kDismPath}},
    };
    const std::vector<std::string> folders = MatchedFolders(true);
    for (const HostCase& c : cases) {
        SCOPED_TRACE(c.name);
        PeCmdSwap swap(c.peLike);
        ASSERT_TRUE(swap.ok(c.peLike));
        SessionOptions options;
        options.listing = MatchingListing();
        options.noWow64 = c.noWow64;
        ASSERT_TRUE(session_.Start(options));
        ASSERT_NE(session_.WaitForMainWindow(), nullptr);
        const char* unused = kDevcons[c.devcon64Bit[kBuild] ? 0 : 1];
        ASSERT_TRUE(DeleteFileA((std::string("X:\\TovUSB\\") + unused).c_str())) << unused;
        ChooseTarget(kWin7x64Root);
        const MessageBoxView box = ExpectBox("精准导入驱动完成！\r\n如无效请使用 模糊导入 ", BoxIcon::kInformation);
        const std::vector<DismRun> runs = session_.DismRuns();
        ASSERT_EQ(runs.size(), folders.size());
        for (size_t i = 0; i < folders.size(); ++i) {
            EXPECT_EQ(runs[i].commandLine, c.dism[kBuild] + " " + PreciseParameters(kWin7x64Root, folders[i]));
            EXPECT_EQ(runs[i].exitCode, 0u) << runs[i].output;
        }
        EXPECT_EQ(RecordedPackages(kWin7x64Root), PackagesIn(folders));
        DismissBox(box);
        CloseAndExpectCleanExit();
        ClearDriverStore(kWin7x64Root);
    }
}

}  // namespace
