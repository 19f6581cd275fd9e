// The console mode driven as a start-up script and a technician's console drive it: each command
// with its output and exit code, on a console of its own or redirected to a file.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/e2e_scenarios.h"
#include "tests/e2e/fault_support.h"

namespace {

struct ConsoleOutcome {
    std::string exitCode;
    std::string output;
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The output's CR LF lines; the line end of the last one makes no empty line after it.
std::vector<std::string> OutputLines(const std::string& output) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < output.size();) {
        const size_t end = output.find("\r\n", at);
        lines.push_back(output.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos)
            break;
        at = end + 2;
    }
    return lines;
}

bool HasLine(const std::string& output, const std::string& line) {
    const std::vector<std::string> lines = OutputLines(output);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The DISM lines the precise import runs for the folders, in their order.
std::vector<std::string> PreciseDismLines(const std::vector<std::string>& folders, const std::string& image) {
    std::vector<std::string> lines;
    for (const std::string& folder : folders)
        lines.push_back(kDismPath + std::string(" ") + PreciseParameters(image, folder));
    return lines;
}

// The DISM lines a dry run plans, as it lists them.
std::vector<std::string> PlannedDismLines(const std::string& output) {
    std::vector<std::string> planned;
    for (const std::string& line : OutputLines(output)) {
        if (line.rfind("  " + std::string(kDismPath), 0) == 0)
            planned.push_back(line.substr(2));
    }
    return planned;
}

// How the console host runs the tool.
struct RunOptions {
    const char* mode = "file";  // or "console"
    std::string listing = MatchingListing();
    std::string signalWhen{};  // Ctrl+C once this file exists; empty: never
    std::string release{};     // deleted when the tool has not ended 5 s after the Ctrl+C
    std::string systemRoot = "X:\\Windows";
    std::string program = SandboxToolPath();
    std::string brand = kScenarioBrand;
};

class CommandLineScenario : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(SandboxToolPath().empty()) << "TovUSB-sandbox.exe is not built";
        RemoveTree(tool::kWorkDir);
        RemoveTree(Records());
        CreateDirectoryA(Records().c_str(), nullptr);
        ClearDriverStore(kWin7x64Root);
    }
    void TearDown() override { RemoveTree(Records()); }

    static std::string Records() { return E2EScratchFolder() + "cli-records"; }

    // The extractor keeps files that exist, so a recording DISM put in place before the start
    // stays in front of the simulator.
    static void PlaceRecordingDism() {
        const std::string folder = std::string(tool::kWorkDir) + "\\dism\\x64\\";
        for (const char* level : {"", "\\dism", "\\dism\\x64"})
            CreateDirectoryA((std::string(tool::kWorkDir) + level).c_str(), nullptr);
        ASSERT_TRUE(CopyFileA((E2EBinFolder() + "dism_shim.exe").c_str(), (folder + "dism.exe").c_str(), FALSE));
        ASSERT_TRUE(
            CopyFileA((PayloadFolder() + "dism\\x64\\dism.exe").c_str(), (folder + "dism_sim.exe").c_str(), FALSE));
    }

    // Runs the tool with the arguments through the console host and waits for its end.
    ConsoleOutcome Run(const std::string& arguments, const RunOptions& options = RunOptions()) {
        const std::string listingPath = E2EScratchFolder() + "cli-listing.txt";
        WriteWholeFile(listingPath, options.listing);
        const std::string record = Records() + "\\host";
        std::string signal = options.signalWhen.empty() ? "" : "\"" + options.signalWhen + "\" ";
        if (!options.release.empty())
            signal += "\"" + options.release + "\" ";
        ProcessUnderTest host;
        EXPECT_TRUE(host.Start(
            E2EBinFolder() + "console_host.exe",
            std::string(options.mode) + " \"" + record + "\" " + signal + "-- \"" + options.program + "\" " + arguments,
            {{"TOVUSB_SANDBOX_SYSTEMROOT", options.systemRoot},
             {"TOVUSB_SANDBOX_PROCESSOR_BRAND", options.brand},
             {"TOVUSB_DEVCON_LISTING", listingPath},
             {"TOVUSB_E2E_DISM_RECORDS", Records()}}));
        EXPECT_TRUE(host.WaitForExit(240000, nullptr));
        return {ReadWholeFile(record + ".exit"), ReadWholeFile(record + ".out")};
    }

    std::vector<std::string> DismCommandLines() const {
        std::vector<std::string> lines;
        for (int n = 1; PathExists(Records() + "\\run-" + std::to_string(n) + ".cmd"); ++n)
            lines.push_back(ReadWholeFile(Records() + "\\run-" + std::to_string(n) + ".cmd"));
        return lines;
    }
};

// A command that injects nothing: what it must say first and last, and its code.
struct CommandCase {
    const char* arguments;
    const char* exitCode;
    const char* firstLine;  // the beginning of the first line
    const char* lastLine;   // null: not checked
    const char* listing;    // null: the matching listing
};

TEST_F(CommandLineScenario, EachCommandSaysWhatTheWindowsWouldAndEndsWithItsCode) {
    const std::string unmatched = UnmatchedListing();
    const char* refusal = "本功能仅适合Windows7系统，请选择正确的系统";
    const CommandCase cases[] = {
        {"/?", "0", "用法:", nullptr, nullptr},
        {"/bogus", "1", "参数错误: 未知的开关 /bogus", nullptr, nullptr},
        {"/precise", "1", "参数错误: /precise 缺少参数", nullptr, nullptr},
        {"/precise D:\\ E:\\", "1", "参数错误: /precise 的参数过多: E:\\", nullptr, nullptr},
        {"/fuzzy D:\\ /custom D:\\Windows X:\\", "1", "参数错误: 只能给出一个命令", nullptr, nullptr},
        {"/log", "1", "参数错误: /log 缺少文件名", nullptr, nullptr},
        {"/precise G:\\", "1", refusal, refusal, nullptr},
        {"/fuzzy F:\\", "1", refusal, refusal, nullptr},
        {"/custom G:\\ G:\\Documents", "1", "请选择正确的Windows系统！", nullptr, nullptr},
        {"/precise D:\\", "2", "状态: 正在获取硬件信息,请稍候....", "精准导入失败,错误:Error1001！", ""},
        {"-PRECISE d:\\", "2", "状态: 正在获取硬件信息,请稍候....", "未搜索到支持的USB设备！", unmatched.c_str()},
        {"/survey D:\\", "2", "目标系统: D:\\", "未搜索到支持的USB设备！", unmatched.c_str()},
        {"/survey G:\\", "1", "目标系统: G:\\", refusal, nullptr},
        {"/verify F:\\", "1", refusal, refusal, nullptr},
        {"/verify D:\\", "2", "精准导入失败,错误:Error1001！", "精准导入失败,错误:Error1001！", ""},
        {"/verify D:\\", "2", "未搜索到支持的USB设备！", "未搜索到支持的USB设备！", unmatched.c_str()},
        // The in-box packages serve no USB 3 controller.
        {"/verify D:\\", "5", "驱动库: D:\\  64位  ", "覆盖结果: 5 个匹配的设备未覆盖 (共 5 个)", nullptr},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ConsoleOutcome outcome = Run(c.arguments, {.listing = c.listing ? c.listing : MatchingListing()});
        EXPECT_EQ(outcome.exitCode, c.exitCode) << outcome.output;
        const std::vector<std::string> lines = OutputLines(outcome.output);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0].rfind(c.firstLine, 0), 0u) << lines[0];
        if (c.lastLine) {
            EXPECT_EQ(lines.back(), c.lastLine);
        }
        EXPECT_FALSE(PathExists(tool::kWorkDir)) << "the work directory stays behind";
    }
    EXPECT_TRUE(DismCommandLines().empty());
    EXPECT_TRUE(RecordedPackages(kWin7x64Root).empty());
}

TEST_F(CommandLineScenario, OutsideWindowsPeTheToolRefusesAndStagesNothing) {
    const ConsoleOutcome outcome = Run("/precise D:\\", {.systemRoot = ""});
    EXPECT_EQ(outcome.exitCode, "1");
    EXPECT_EQ(outcome.output, "本程序仅支持WinPE环境！\r\n");
    EXPECT_FALSE(PathExists(tool::kWorkDir));
}

TEST_F(CommandLineScenario, FatalErrorsAndStartUpFailuresAreToldOnTheConsoleInsteadOfInBoxes) {
    // The index is read into a block of 8 + its size; the padding lines match no identifier.
    std::string index = ReadWholeFile(PayloadFolder() + "Win7X64.index");
    while (index.size() < 200000)
        index += std::string("padding line|NO\\SUCH&DEVICE|nowhere\\none.inf\r\n").substr(0, 200000 - index.size());
    CreateDirectoryA(tool::kWorkDir, nullptr);
    ASSERT_TRUE(WriteWholeFile("X:\\TovUSB\\Win7X64.index", index));
    ScopedVariable fault("TOVUSB_FAULT_ALLOCATION_SIZE", "200008");
    const ConsoleOutcome outcome = Run("/precise D:\\", {.program = FaultToolPath()});
    EXPECT_EQ(outcome.exitCode, "4294967295") << outcome.output;
    EXPECT_TRUE(Contains(outcome.output, "分配 200008 字节内存失败!")) << outcome.output;
    EXPECT_TRUE(DismCommandLines().empty());
    RemoveTree(tool::kWorkDir);

    ScopedVariable corrupt("TOVUSB_FAULT_ARCHIVE", "corrupt");
    const ConsoleOutcome staging = Run("/precise D:\\", {.program = FaultToolPath()});
    EXPECT_EQ(staging.exitCode, "4") << staging.output;
    EXPECT_EQ(staging.output.rfind("程序初始化失败,USB.7z解压失败,错误代码:2", 0), 0u) << staging.output;
    EXPECT_FALSE(PathExists(tool::kWorkDir));
}

TEST_F(CommandLineScenario, APreciseImportRunsTheWindowsDismLinesAndReportsEach) {
    PlaceRecordingDism();
    const ConsoleOutcome outcome = Run("/precise D:\\ /log \"" + Records() + "\\report.txt\"");
    EXPECT_EQ(outcome.exitCode, "0") << outcome.output;
    std::vector<std::string> expected = {"状态: 正在获取硬件信息,请稍候....", "状态: 正在精准导入驱动,请稍候...."};
    const std::vector<std::string> runs = PreciseDismLines(MatchedFolders(true), kWin7x64Root);
    for (const std::string& run : runs) {
        expected.push_back("DISM: " + run);
        expected.push_back("  退出代码: 0");
    }
    for (const char* line : {"状态: 精准导入驱动完成！", "精准导入驱动完成！", "如无效请使用 模糊导入 "})
        expected.push_back(line);
    // Then the coverage the target's store gives: the packages published in the order DISM ran,
    // the second Intel run finding its package published already.
    const std::vector<std::string> coverage = {
        "覆盖: Intel(R) USB 3.1 eXtensible Host Controller - 1.10 (Microsoft)",
        "  实例: PCI\\VEN_8086&DEV_A36D&SUBSYS_86941043&REV_10\\3&11583659&0&A0",
        "  驱动: PCI\\VEN_8086&DEV_A36D 由 oem0.inf (intel8th_xhci.inf) 提供",
        "覆盖: ASMedia USB 3.0 eXtensible Host Controller",
        "  实例: PCI\\VEN_1B21&DEV_1042&SUBSYS_11421043&REV_00\\4&2B5C4B1&0&00E5",
        "  驱动: PCI\\VEN_1B21&DEV_1042 由 oem1.inf (asm7_xhci.inf) 提供",
        "覆盖: Fresco Logic xHCI (USB3) Controller FL1100 Series",
        "  实例: PCI\\VEN_1B73&DEV_1100&SUBSYS_11001B73&REV_10\\4&37E6D2E&0&00E4",
        "  驱动: PCI\\VEN_1B73&DEV_1100 由 oem2.inf (fl_xhci.inf) 提供",
        "覆盖: Etron USB 3.0 eXtensible Host Controller",
        "  实例: PCI\\VEN_1B6F&DEV_7023\\4&1F2A3B4C&0&00E6",
        "  驱动: PCI\\VEN_1B6F&DEV_7023 由 oem4.inf (etron_xhci.inf) 提供",
        "覆盖: Intel(R) USB 3.1 eXtensible Host Controller - 1.10 (Microsoft)",
        "  实例: PCI\\VEN_8086&DEV_A36D&SUBSYS_86941043&REV_10\\3&11583659&0&A1",
        "  驱动: PCI\\VEN_8086&DEV_A36D 由 oem0.inf (intel8th_xhci.inf) 提供",
        "覆盖结果: 5 个匹配的设备全部有可用的驱动",
    };
    expected.insert(expected.end(), coverage.begin(), coverage.end());
    EXPECT_EQ(OutputLines(outcome.output), expected);
    EXPECT_EQ(DismCommandLines(), runs);
    EXPECT_EQ(RecordedPackages(kWin7x64Root), PackagesIn(MatchedFolders(true)));
    EXPECT_FALSE(PathExists(tool::kWorkDir));
    // /verify reads the whole store, in-box packages and all, and finds the same.
    const ConsoleOutcome verified = Run("/verify D:\\");
    EXPECT_EQ(verified.exitCode, "0") << verified.output;
    std::vector<std::string> verifiedLines = OutputLines(verified.output);
    ASSERT_FALSE(verifiedLines.empty());
    EXPECT_EQ(verifiedLines[0].rfind("驱动库: D:\\  64位  ", 0), 0u) << verifiedLines[0];
    verifiedLines.erase(verifiedLines.begin());
    EXPECT_EQ(verifiedLines, coverage);
    // The report file gets the same lines, appended run after run.
    PlaceRecordingDism();
    Run("/precise D:\\ /log \"" + Records() + "\\report.txt\"");
    EXPECT_EQ(ReadWholeFile(Records() + "\\report.txt"), outcome.output + outcome.output);
}

TEST_F(CommandLineScenario, FuzzyAndCustomImportsAndAFailingDismEndWithTheirCodes) {
    const struct {
        std::string arguments;
        std::string dismLine;
        const char* exitCode;
        const char* lastLine;
    } cases[] = {
        {"/fuzzy E:\\", kDismPath + std::string(" ") + FuzzyParameters(kWin7x86Root, false), "0", "模糊导入驱动完成！"},
        {"/custom \"H:\\Offline Win7\\Windows\" \"H:\\My Drivers\"",
         kDismPath + std::string(" ") + CustomParameters("\"H:\\Offline Win7\\\\\"", "\"H:\\My Drivers\""), "0",
         "模糊导入驱动完成！"},
        {"/fuzzy K:\\", kDismPath + std::string(" ") + FuzzyParameters(kBrokenWin7Root, true), "3",
         "模糊导入驱动失败,DISM错误代码:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        RemoveTree(Records());
        CreateDirectoryA(Records().c_str(), nullptr);
        PlaceRecordingDism();
        const ConsoleOutcome outcome = Run(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << outcome.output;
        EXPECT_EQ(DismCommandLines(), std::vector<std::string>{c.dismLine});
        const std::vector<std::string> lines = OutputLines(outcome.output);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back().rfind(c.lastLine, 0), 0u) << lines.back();
    }
}

// A package that serves nothing on Windows 7 is staged all the same; /precise says which device
// it leaves without a driver and ends with 5. The extractor keeps the rewritten INF placed before.
TEST_F(CommandLineScenario, APreciseImportThatLeavesADeviceUncoveredEndsWithFive) {
    const std::string folder = std::string(tool::kWorkDir) + "\\Win7X64\\ASMedia_USB3.A_Win7";
    for (const std::string& level : {std::string(tool::kWorkDir), std::string(tool::kWorkDir) + "\\Win7X64", folder})
        CreateDirectoryA(level.c_str(), nullptr);
    std::string inf = ReadWholeFile(PayloadFolder() + "Win7X64\\ASMedia_USB3.A_Win7\\asm7_xhci.inf");
    for (const std::string& section : {std::string("Devices,NTamd64"), std::string("[Devices.NTamd64")}) {
        const size_t at = inf.find(section);
        ASSERT_NE(at, std::string::npos) << section;
        inf.insert(at + section.size(), ".10.0");
    }
    ASSERT_TRUE(WriteWholeFile(folder + "\\asm7_xhci.inf", inf));
    const ConsoleOutcome outcome = Run("/precise D:\\");
    EXPECT_EQ(outcome.exitCode, "5") << outcome.output;
    for (const char* line : {"状态: 精准导入驱动未生效", "ASMedia USB 3.0 eXtensible Host Controller"})
        EXPECT_TRUE(HasLine(outcome.output, line)) << line << "\n" << outcome.output;
    EXPECT_EQ(OutputLines(outcome.output).back(), "覆盖结果: 1 个匹配的设备未覆盖 (共 5 个)");
    EXPECT_EQ(RecordedPackages(kWin7x64Root), PackagesIn(MatchedFolders(true)));

    // The fuzzy import stages every package of the architecture, the Windows 7 one among them.
    ClearDriverStore(kWin7x64Root);
    EXPECT_EQ(Run("/fuzzy D:\\").exitCode, "0");
    const ConsoleOutcome verified = Run("/verify D:\\");
    EXPECT_EQ(verified.exitCode, "0") << verified.output;
    EXPECT_EQ(OutputLines(verified.output).back(), "覆盖结果: 5 个匹配的设备全部有可用的驱动") << verified.output;
}

TEST_F(CommandLineScenario, TheDryRunExplainsEachDeviceAndWritesNothing) {
    const ConsoleOutcome outcome = Run("/survey D:\\");
    EXPECT_EQ(outcome.exitCode, "0") << outcome.output;
    // Lower case passes no survey filter: the ASMedia device is served by its upper-case identifier;
    // the Etron identifier, indented with full-width spaces, stays with its device.
    for (const char* line : {"设备: ASMedia USB 3.0 eXtensible Host Controller", "  标识: PCI\\VEN_1B21&DEV_1042",
                             "  标识: PCI\\VEN_1B6F&DEV_7023", "设备: USB Root Hub (USB 3.0)", "  索引: 未找到"})
        EXPECT_TRUE(HasLine(outcome.output, line)) << line << "\n" << outcome.output;
    EXPECT_FALSE(Contains(outcome.output, "pci\\ven_1b21&dev_1142")) << outcome.output;
    EXPECT_TRUE(Contains(outcome.output, "其余 2 个设备没有USB或PCI标识: PCI Express Root Complex; USB Input Device"))
        << outcome.output;
    // The lines a precise import would run, in its order.
    EXPECT_EQ(PlannedDismLines(outcome.output), PreciseDismLines(MatchedFolders(true), kWin7x64Root));
    EXPECT_TRUE(RecordedPackages(kWin7x64Root).empty());
    EXPECT_FALSE(PathExists(tool::kWorkDir));

    // The 8th-generation rule sends every matched device to the one Intel package.
    const ConsoleOutcome eighth = Run("/survey D:\\", {.brand = kProcessorCases[0].brand});
    EXPECT_EQ(PlannedDismLines(eighth.output), PreciseDismLines(MatchedFolders(true, true), kWin7x64Root))
        << eighth.output;

    const ConsoleOutcome noTarget = Run("/survey");
    EXPECT_EQ(noTarget.exitCode, "0") << noTarget.output;
    EXPECT_FALSE(Contains(noTarget.output, "/Image:")) << noTarget.output;
}

TEST_F(CommandLineScenario, OnAConsoleTheReportReadsTheSameAsRedirected) {
    const ConsoleOutcome redirected = Run("/survey E:\\");
    const ConsoleOutcome onConsole = Run("/survey E:\\", {.mode = "console"});
    EXPECT_EQ(onConsole.exitCode, "0");
    EXPECT_TRUE(Contains(onConsole.output, redirected.output)) << onConsole.output;
}

TEST_F(CommandLineScenario, CtrlCDuringDismEndsTheImportWithoutAnotherRunOrAWorkDirectory) {
    PlaceRecordingDism();
    WriteWholeFile(Records() + "\\hold", "");
    const ConsoleOutcome outcome =
        Run("/precise D:\\",
            {.mode = "console", .signalWhen = Records() + "\\run-1.held", .release = Records() + "\\hold"});
    EXPECT_EQ(outcome.exitCode, "3") << outcome.output;
    EXPECT_EQ(DismCommandLines().size(), 1u);
    EXPECT_TRUE(Contains(outcome.output, "已中断")) << outcome.output;
    EXPECT_FALSE(PathExists(tool::kWorkDir));
}

}  // namespace
