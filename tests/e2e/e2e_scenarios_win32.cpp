// Shared listings, expectations and the scenario fixture.
#include "tests/e2e/e2e_scenarios.h"

#include <algorithm>

#include "tests/e2e/driver/controls.h"
#include "tests/e2e/driver/window_search.h"

namespace {

bool CaselessLess(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
}

std::string FileName(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
}

bool IsInf(const std::string& path) {
    return path.size() > 4 && lstrcmpiA(path.substr(path.size() - 4).c_str(), ".inf") == 0;
}

}  // namespace

std::string MatchingListing() {
    return "PCI\\VEN_8086&DEV_A36D&SUBSYS_86941043&REV_10\\3&11583659&0&A0\r\n"
           "    Name: Intel(R) USB 3.1 eXtensible Host Controller - 1.10 (Microsoft)\r\n"
           "    Hardware IDs:\r\n"
           "        PCI\\VEN_8086&DEV_A36D&SUBSYS_86941043&REV_10\r\n"
           "        PCI\\VEN_8086&DEV_A36D&CC_0C0330\r\n"
           "    Compatible IDs:\r\n"
           "        PCI\\VEN_8086&DEV_A36D\r\n"
           "        PCI\\CC_0C0330\r\n"
           "ACPI\\PNP0A08\\0\r\n"
           "    Name: PCI Express Root Complex\r\n"
           "    Hardware IDs:\r\n"
           "        ACPI\\PNP0A08\r\n"
           "PCI\\VEN_1B21&DEV_1042&SUBSYS_11421043&REV_00\\4&2B5C4B1&0&00E5\r\n"
           "    Name: ASMedia USB 3.0 eXtensible Host Controller\r\n"
           "    Compatible IDs:\r\n"
           "        PCI\\VEN_1B21&DEV_1042\r\n"
           "        pci\\ven_1b21&dev_1142\r\n"
           "USB\\ROOT_HUB30\\4&1B9A3B2C&0&0\r\n"
           "    Name: USB Root Hub (USB 3.0)\r\n"
           "    Hardware IDs:\r\n"
           "        USB\\ROOT_HUB30&VID8086&PID A36D\r\n"
           "PCI\\VEN_1B73&DEV_1100&SUBSYS_11001B73&REV_10\\4&37E6D2E&0&00E4\r\n"
           "    Name: Fresco Logic xHCI (USB3) Controller FL1100 Series\r\n"
           "    Compatible IDs:\r\n"
           "        PCI\\VEN_1B73&DEV_1100\r\n"
           "PCI\\VEN_1B6F&DEV_7023\\4&1F2A3B4C&0&00E6\r\n"
           "    Name: Etron USB 3.0 eXtensible Host Controller\r\n"
           "    Compatible IDs:\r\n"
           "\xA1\xA1\xA1\xA1PCI\\VEN_1B6F&DEV_7023 \xA1\xA1\r\n"
           "HID\\VID_046D&PID_C52B\\5&2A8B3C4D&0&0000\r\n"
           "    Name: USB Input Device\r\n"
           "PCI\\VEN_8086&DEV_A36D&SUBSYS_86941043&REV_10\\3&11583659&0&A1\r\n"
           "    Name: Intel(R) USB 3.1 eXtensible Host Controller - 1.10 (Microsoft)\r\n"
           "    Compatible IDs:\r\n"
           "        PCI\\VEN_8086&DEV_A36D\r\n"
           "7 matching device(s) found.\r\n";
}

std::string UnmatchedListing() {
    return "ACPI\\PNP0A08\\0\r\n"
           "    Name: PCI Express Root Complex\r\n"
           "    Hardware IDs:\r\n"
           "        ACPI\\PNP0A08\r\n"
           "USB\\ROOT_HUB30\\4&1B9A3B2C&0&0\r\n"
           "    Name: USB Root Hub (USB 3.0)\r\n"
           "    Hardware IDs:\r\n"
           "        USB\\ROOT_HUB30&VID8086&PID A36D\r\n"
           "        PCI\\VEN_FFFF&DEV_0001\r\n"
           "2 matching device(s) found.\r\n";
}

std::vector<std::string> MatchedFolders(bool target64Bit, bool eighthGeneration) {
    const std::string base = target64Bit ? "X:\\TovUSB\\Win7X64\\" : "X:\\TovUSB\\Win7X86\\";
    // The listing's order: Intel, ASMedia, Fresco Logic, Etron, Intel again (the index names the
    // Intel 300 series' package for the Intel controller).
    std::vector<std::string> folders = {
        "Intel_8thA_USB3.A_Win7\\", "ASMedia_USB3.A_Win7\\",    "Fresco_Logic_USB3.0_WinA\\",
        "Etron_USB3.0_WinA\\",      "Intel_8thA_USB3.A_Win7\\",
    };
    // On an 8th or 9th generation processor every device gets the Intel package, named without
    // its closing separator.
    for (std::string& folder : folders)
        folder = eighthGeneration ? base + "Intel_8thA_USB3.A_Win7" : base + folder;
    return folders;
}

std::vector<std::string> PackagesIn(const std::vector<std::string>& folders) {
    std::vector<std::string> names;
    for (const std::string& folder : folders) {
        const std::string relative = folder.substr(std::string("X:\\TovUSB\\").size());
        for (const std::string& file : FilesBelow(PayloadFolder() + relative)) {
            if (IsInf(file))
                names.push_back(FileName(file));
        }
    }
    std::sort(names.begin(), names.end(), CaselessLess);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::vector<std::string> ArchitecturePackages(bool target64Bit) {
    return PackagesIn({target64Bit ? "X:\\TovUSB\\Win7X64\\" : "X:\\TovUSB\\Win7X86\\"});
}

std::string PreciseParameters(const std::string& image, const std::string& folder) {
    return " /Image:" + image + "  /Add-Driver /Driver:" + folder + "  /Recurse  /ForceUnsigned";
}

std::string FuzzyParameters(const std::string& image, bool target64Bit) {
    return " /Image:" + image + "  /Add-Driver /Driver:X:\\TovUSB\\\\" + (target64Bit ? "Win7X64" : "Win7X86") +
           " /Recurse ";
}

std::string CustomParameters(const std::string& image, const std::string& folder) {
    return " /Image:" + image + "  /Add-Driver /Driver:" + folder + " /Recurse ";
}

std::string LogEntry(const std::string& text) {
    return text + "\r\n\r\n";
}

void ToolScenario::SetUp() {
    if (SandboxToolPath().empty())
        GTEST_FAIL() << "TovUSB-sandbox.exe is not built (the e2e_tests target builds it)";
    for (const char* root : {kWin7x64Root, kWin7x86Root, kSpacedWin7})
        ClearDriverStore(root);
}

void ToolScenario::StartTool(const std::string& listing, const std::string& brand) {
    SessionOptions options;
    options.listing = listing;
    options.processorBrand = brand;
    ASSERT_TRUE(session_.Start(options)) << "cannot start " << SandboxToolPath();
    ASSERT_NE(session_.WaitForMainWindow(), nullptr) << "the main window did not appear";
}

void ToolScenario::ChooseTarget(const std::string& folder) {
    std::string prompt;
    ASSERT_TRUE(session_.ClickAndChooseFolder(session_.MainControl(tool::kButton2), folder, &prompt));
    EXPECT_EQ(prompt, "请选择要注入的Windows目录:");
}

MessageBoxView ToolScenario::ExpectBox(const std::string& text, BoxIcon icon) {
    MessageBoxView box = session_.WaitForBox();
    EXPECT_NE(box.window, nullptr) << "no message box";
    if (!box.window)
        return box;
    EXPECT_EQ(box.title, tool::kBoxTitle);
    EXPECT_EQ(box.text, text);
    EXPECT_STREQ(BoxIconName(box.icon), BoxIconName(icon));
    EXPECT_EQ(box.buttons.size(), 1u);
    return box;
}

void ToolScenario::DismissBox(const MessageBoxView& box) {
    ASSERT_TRUE(session_.Dismiss(box));
}

void ToolScenario::ExpectNoBox() {
    ASSERT_TRUE(WaitForThreadToCatchUp(session_.main())) << "the tool does not answer";
    EXPECT_EQ(FindMessageBox(session_.process().id()), nullptr);
}

void ToolScenario::CloseAndExpectCleanExit() {
    DWORD code = 0xFFFF;
    ASSERT_TRUE(session_.CloseMainWindow(&code)) << "the tool did not end";
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(PathExists(tool::kWorkDir));
}

std::vector<std::string> ToolScenario::DismCommandLines() const {
    std::vector<std::string> lines;
    for (const DismRun& run : session_.DismRuns())
        lines.push_back(run.commandLine);
    return lines;
}

void ToolScenario::ExpectAllControlsEnabled(bool enabled) {
    EXPECT_EQ(session_.MainControlsEnabled(), std::vector<bool>(5, enabled));
}
