// Faults in what the precise import reads and writes: devcon printing nothing, garbage, zero
// bytes, bare LF lines or 50 MB, devcon missing from the payload, broken index files and logs
// that refuse writes. Each ends in the box the flow gives for what it found, with the controls
// enabled again and every log entry that could be written in place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "tests/e2e/e2e_scenarios.h"
#include "tests/e2e/fault_support.h"

namespace {

constexpr char kDone[] = "精准导入驱动完成！\r\n如无效请使用 模糊导入 ";
constexpr char kNoDevice[] = "未搜索到支持的USB设备！";
constexpr char kNotEffective[] = "精准导入驱动未生效,以下设备在目标系统中没有可用的驱动:\r\n";
constexpr char kAsmediaName[] = "ASMedia USB 3.0 eXtensible Host Controller";
constexpr char kEtronName[] = "Etron USB 3.0 eXtensible Host Controller";
constexpr char kIntelName[] = "Intel(R) USB 3.1 eXtensible Host Controller - 1.10 (Microsoft)";
constexpr char kFrescoName[] = "Fresco Logic xHCI (USB3) Controller FL1100 Series";
constexpr char kSurveyLog[] = "X:\\TovUSB\\hwids.log";
constexpr char kDismLog[] = "X:\\TovUSB\\USB.log";
constexpr char kIndex[] = "X:\\TovUSB\\Win7X64.index";
constexpr char kDriverBase[] = "X:\\TovUSB\\Win7X64\\";

// One identifier of the listing that the 64-bit index serves, and its line there.
constexpr char kEtronListing[] =
    "PCI\\VEN_1B6F&DEV_7023\\4&1F2A3B4C&0&00E6\r\n"
    "    Name: Etron USB 3.0 eXtensible Host Controller\r\n"
    "    Compatible IDs:\r\n"
    "        PCI\\VEN_1B6F&DEV_7023\r\n";
constexpr char kEtronFolder[] = "X:\\TovUSB\\Win7X64\\Etron_USB3.0_WinA\\";
constexpr char kAsmediaFolder[] = "X:\\TovUSB\\Win7X64\\ASMedia_USB3.A_Win7\\";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string WithoutZeros(std::string bytes) {
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
    return bytes;
}

// Bytes of every value, from a fixed seed, ending in a single-byte character and CR LF.
std::string Garbage(size_t size) {
    std::string bytes(size, '\0');
    uint32_t state = 0x2545F491;
    for (char& b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<char>(state >> 24);
    }
    return bytes + "x\r\n";
}

// About 50 MB of devices that pass the filter but are in no index, then the real listing.
std::string FiftyMegabyteListing() {
    std::string block;
    for (int i = 0; i < 1000; ++i) {
        char device[160];
        std::snprintf(device, sizeof device,
                      "USB\\VID_1234&PID_%04X\\5&2A8B3C4D&0&%04d\r\n    Name: USB Composite Device\r\n"
                      "    Hardware IDs:\r\n        USB\\VID_1234&PID_%04X&REV_0100\r\n",
                      i, i, i);
        block += device;
    }
    std::string listing;
    while (listing.size() < 50u * 1024 * 1024)
        listing += block;
    return listing + MatchingListing();
}

class SurveyFaultScenario : public ToolScenario {
  protected:
    struct Outcome {
        std::string box;
        BoxIcon icon;
        const char* status;
        std::vector<std::string> folders;  // the precise runs, in order
    };

    static Outcome Done(std::vector<std::string> folders) {
        return {kDone, BoxIcon::kInformation, "状态: 精准导入驱动完成！", std::move(folders)};
    }
    // DISM ran well, but the store serves the named devices (CR LF between them) with nothing.
    static Outcome NotEffective(const std::string& names, std::vector<std::string> folders) {
        return {kNotEffective + names, BoxIcon::kExclamation, "状态: 精准导入驱动未生效", std::move(folders)};
    }
    static Outcome NoDevice() { return {kNoDevice, BoxIcon::kExclamation, "状态: 未搜索到支持的USB设备", {}}; }

    // A precise import into D:\ from fresh logs; checks box, status, controls and DISM runs.
    void ExpectPreciseImport(const Outcome& outcome) {
        // What an earlier case staged would serve this one's devices.
        ClearDriverStore(kWin7x64Root);
        DeleteFileA(kSurveyLog);
        DeleteFileA(kDismLog);
        const size_t before = session_.DismRuns().size();
        ChooseTarget(kWin7x64Root);
        const MessageBoxView box = ExpectBox(outcome.box, outcome.icon);
        EXPECT_EQ(session_.Status(), outcome.status);
        ExpectAllControlsEnabled(true);
        const std::vector<DismRun> runs = session_.DismRuns();
        ASSERT_EQ(runs.size() - before, outcome.folders.size());
        for (size_t i = 0; i < outcome.folders.size(); ++i) {
            EXPECT_EQ(runs[before + i].commandLine,
                      kDismPath + std::string(" ") + PreciseParameters(kWin7x64Root, outcome.folders[i]));
        }
        DismissBox(box);
    }
};

TEST_F(SurveyFaultScenario, DevconOutputThatIsNoPlainListing) {
    StartTool();
    std::string withZeros = std::string(3, '\0') + Replaced(MatchingListing(), "\r\n", std::string("\r\n\0", 3));
    withZeros.insert(withZeros.find("VEN_1B21") + 3, 1, '\0');  // inside an identifier
    const std::string garbage = Garbage(64 * 1024);
    const std::string big = FiftyMegabyteListing();
    struct ListingCase {
        const char* name;
        std::string listing;
        Outcome outcome;
    };
    const ListingCase cases[] = {
        {"nothing at all", "", {"精准导入失败,错误:Error1001！", BoxIcon::kStop, "状态: 精准导入失败", {}}},
        // Zero bytes are dropped, not taken for the end of the text: the identifiers around them
        // are read as if they were not there.
        {"zero bytes inside", withZeros, Done(MatchedFolders(true))},
        {"binary garbage", garbage, NoDevice()},
        {"garbage before the listing", garbage + MatchingListing(), Done(MatchedFolders(true))},
        // Without CR LF the whole listing is one line, which is no identifier of any index.
        {"bare LF line ends", Replaced(MatchingListing(), "\r\n", "\n"), NoDevice()},
        {"50 MB", big, Done(MatchedFolders(true))},
    };
    for (const ListingCase& c : cases) {
        SCOPED_TRACE(c.name);
        session_.SetListing(c.listing);
        const DWORD start = GetTickCount();
        ExpectPreciseImport(c.outcome);
        // The survey log keeps what devcon printed, byte for byte but for zero bytes.
        EXPECT_TRUE(ReadWholeFile(kSurveyLog) == LogEntry(session_.Brand()) + LogEntry(WithoutZeros(c.listing)));
        std::printf("[ listing  ] %s: %lu ms\n", c.name, GetTickCount() - start);
    }
    session_.SetListing(std::string());
    DeleteFileA(kSurveyLog);
    CloseAndExpectCleanExit();
}

TEST_F(SurveyFaultScenario, DevconMissingFromThePayload) {
    StartTool();
    ASSERT_TRUE(DeleteFileA("X:\\TovUSB\\devcon_X64.exe"));
    ASSERT_TRUE(DeleteFileA("X:\\TovUSB\\devcon.exe"));
    // The shell's complaint is all the survey gets: it names the missing program, so it passes
    // the filter, and it is in no index.
    ExpectPreciseImport(NoDevice());
    const std::string log = ReadWholeFile(kSurveyLog);
    EXPECT_EQ(log.rfind(LogEntry(session_.Brand()), 0), 0u);
    EXPECT_NE(log.find("devcon_X64.exe"), std::string::npos) << log;
    std::printf("[ devcon   ] the shell said: %s\n", log.substr(LogEntry(session_.Brand()).size()).c_str());
    CloseAndExpectCleanExit();
}

TEST_F(SurveyFaultScenario, BrokenIndexFiles) {
    StartTool();
    const std::string index = ReadWholeFile(kIndex);
    ASSERT_FALSE(index.empty());
    // As one line, the index offers every identifier, and its third field is that of its first
    // line: every match injects the folder of the first package.
    const std::string firstLine = index.substr(0, index.find("\r\n"));
    std::string third = firstLine.substr(firstLine.find('|', firstLine.find('|') + 1) + 1);
    third = third.substr(0, third.find('|'));
    const std::string firstFolder = kDriverBase + third.substr(0, third.rfind('\\') + 1);
    const std::string etronLine = "Etron EJ168|PCI\\VEN_1B6F&DEV_7023|Etron_USB3.0_WinA\\etron_xhci.inf";
    const std::string asmediaLine = "ASMedia ASM1042|PCI\\VEN_1B21&DEV_1042|ASMedia_USB3.A_Win7\\asm7_xhci.inf";
    struct IndexCase {
        const char* name;
        std::string index;
        Outcome outcome;
    };
    const IndexCase cases[] = {
        {"empty", "", NoDevice()},
        // The first package serves none of the five devices matched.
        {"bare LF line ends", Replaced(index, "\r\n", "\n"),
         NotEffective(kIntelName + std::string("\r\n") + kAsmediaName + "\r\n" + kFrescoName + "\r\n" + kEtronName +
                          "\r\n" + kIntelName,
                      std::vector<std::string>(5, firstFolder))},
        // 1 MB of one line with more bars after the match than the quick lookup takes.
        {"one 1 MB line",
         std::string(1024 * 1024, 'x') + "|" + etronLine.substr(etronLine.find('|') + 1) + std::string(100, '|'),
         Done({kEtronFolder})},
        // No DISM run at all, or one for another device: nothing serves the devices left.
        {"lines of fewer than three fields", "Etron|PCI\\VEN_1B6F&DEV_7023|\r\nASMedia|PCI\\VEN_1B21&DEV_1042|\r\n",
         NotEffective(kAsmediaName + std::string("\r\n") + kEtronName, {})},
        {"a short line before a good one", "Etron|PCI\\VEN_1B6F&DEV_7023|\r\n" + asmediaLine + "\r\n",
         NotEffective(kEtronName, {kAsmediaFolder})},
    };
    for (const IndexCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteWholeFile(kIndex, c.index));
        ExpectPreciseImport(c.outcome);
    }
    CloseAndExpectCleanExit();
}

TEST_F(SurveyFaultScenario, LogsThatRefuseWritesLoseTheirEntriesOnly) {
    StartTool(kEtronListing);
    const std::string old = LogEntry("an entry of an earlier run");
    const std::string parameters = PreciseParameters(kWin7x64Root, kEtronFolder);
    struct LogCase {
        const char* name;
        const char* log;
        bool immutable;  // else held open without sharing
    };
    const LogCase cases[] = {
        {"USB.log immutable", kDismLog, true},
        {"USB.log held open", kDismLog, false},
        {"hwids.log immutable", kSurveyLog, true},
    };
    for (const LogCase& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(kSurveyLog);
        DeleteFileA(kDismLog);
        ASSERT_TRUE(WriteWholeFile(c.log, old));
        {
            std::optional<ImmutablePath> immutable;
            std::optional<HeldOpenFile> held;
            if (c.immutable)
                immutable.emplace(c.log);
            else
                held.emplace(c.log, 0);
            ASSERT_TRUE(c.immutable ? immutable->ok() : held->ok());
            ChooseTarget(kWin7x64Root);
            const MessageBoxView box = ExpectBox(kDone, BoxIcon::kInformation);
            ExpectAllControlsEnabled(true);
            DismissBox(box);
        }
        EXPECT_EQ(ReadWholeFile(c.log), old);
        const std::vector<DismRun> runs = session_.DismRuns();
        ASSERT_FALSE(runs.empty());
        EXPECT_EQ(runs.back().commandLine, kDismPath + std::string(" ") + parameters);
        if (std::string(c.log) == kDismLog) {
            EXPECT_EQ(ReadWholeFile(kSurveyLog), LogEntry(session_.Brand()) + LogEntry(kEtronListing));
        } else {
            EXPECT_EQ(ReadWholeFile(kDismLog), LogEntry(parameters) + LogEntry(runs.back().output));
        }
    }
    CloseAndExpectCleanExit();
}

}  // namespace
