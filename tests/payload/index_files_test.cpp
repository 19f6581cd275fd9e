// The sample payload's index files as the build makes them from its driver packages: they pass
// the payload check, and give the tool the matches of the hand-written files they replaced.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/inject/index_matching.h"
#include "runtime/text_commands.h"
#include "tests/payload/payload_test_support.h"
#include "tools/index/driver_base.h"
#include "tools/index/payload_check.h"

namespace {

namespace fs = std::filesystem;

// The identifiers of the scenarios' devcon listings, as the survey keeps them (instance IDs, the
// root hub and a lower-case compatible ID included), and one that no index holds.
const char* const kScenarioIds[] = {
    "PCI\\VEN_8086&DEV_A36D&SUBSYS_86941043&REV_10\\3&11583659&0&A0",
    "PCI\\VEN_8086&DEV_A36D&SUBSYS_86941043&REV_10",
    "PCI\\VEN_8086&DEV_A36D&CC_0C0330",
    "PCI\\VEN_8086&DEV_A36D",
    "PCI\\CC_0C0330",
    "PCI\\VEN_1B21&DEV_1042&SUBSYS_11421043&REV_00\\4&2B5C4B1&0&00E5",
    "PCI\\VEN_1B21&DEV_1042",
    "pci\\ven_1b21&dev_1142",
    "USB\\ROOT_HUB30&VID8086&PID A36D",
    "PCI\\VEN_1B73&DEV_1100",
    "PCI\\VEN_1B6F&DEV_7023",
    "PCI\\VEN_FFFF&DEV_0001",
};

std::string ReadIndex(const std::string& folder, const char* name) {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile((fs::path(folder) / name).string(), bytes)) << folder << "/" << name;
    return bytes;
}

// The folders the tool injects for one identifier with this index, before the shell qualifies
// them.
std::vector<std::string> FoldersFor(const std::string& id, const std::string& index, const char* base, int32_t gen) {
    std::vector<OwnedText> ids;
    ids.push_back(MakeText(id.data(), id.size()));
    const OwnedText text = MakeText(index.data(), index.size());
    const TextArray lines = SplitText(text.get(), "\r\n");
    const std::vector<const char*> matched = MatchIndexLines(ids, lines);
    const PathQualifier unchanged = [](const char* path) { return MakeText(path, std::strlen(path)); };
    std::vector<std::string> folders;
    for (const OwnedText& folder : DriverFolders(matched, base, gen, unchanged))
        folders.emplace_back(folder.get());
    return folders;
}

TEST(SampleIndexFiles, GiveTheToolTheMatchesOfTheHandWrittenFiles) {
    const std::string sample = HostPath(TOVUSB_SAMPLE_PAYLOAD_DIR);
    const std::string reference = HostPath(TOVUSB_REFERENCE_INDEX_DIR);
    for (const Architecture& arch : Architectures()) {
        SCOPED_TRACE(arch.indexFile);
        const std::string base = std::string("X:\\TovUSB\\\\") + arch.baseFolder + "\\";
        const std::string before = ReadIndex(reference, arch.indexFile);
        const std::string after = ReadIndex(sample, arch.indexFile);
        std::vector<std::string> ids(std::begin(kScenarioIds), std::end(kScenarioIds));
        for (const std::string* index : {&before, &after}) {
            for (const std::string& line : SplitCrLf(*index)) {
                const size_t bar = line.find('|');
                ids.push_back(line.substr(bar + 1, line.find('|', bar + 1) - bar - 1));
            }
        }
        size_t matched = 0;
        for (const std::string& id : ids) {
            for (int32_t generation : {0, 8}) {
                const std::vector<std::string> expected = FoldersFor(id, before, base.c_str(), generation);
                EXPECT_EQ(FoldersFor(id, after, base.c_str(), generation), expected)
                    << id << ", generation " << generation;
                matched += expected.size();
            }
        }
        EXPECT_GT(matched, ids.size());
    }
}

TEST(SampleIndexFiles, PassTheCheckWithUnsignedPackagesOnly) {
    std::string error;
    const std::optional<PayloadTree> tree = PayloadTree::Scan(HostPath(TOVUSB_SAMPLE_PAYLOAD_DIR), error);
    ASSERT_TRUE(tree) << error;
    Findings findings;
    CheckPayload(*tree, CheckOptions(), findings);
    // The sample packages carry no catalog, which only a 64-bit Windows 7 minds.
    size_t infs64 = 0;
    for (const PayloadEntry* file : tree->FilesBelow("Win7X64"))
        infs64 += IsInfName(file->path) ? 1 : 0;
    EXPECT_EQ(findings.all().size(), infs64);
    for (const Finding& finding : findings.all()) {
        EXPECT_EQ(finding.severity, Severity::kWarning) << FormatFinding(finding);
        EXPECT_NE(finding.text.find("names no catalog"), std::string::npos) << FormatFinding(finding);
        EXPECT_EQ(finding.where.rfind("Win7X64/", 0), 0u) << FormatFinding(finding);
    }
}

TEST(SampleIndexFiles, DriverFoldersOfThePayloadLayoutExist) {
    struct LayoutCase {
        const char* driverBase;
        std::vector<std::string> folders;
    } cases[] = {
        {"Win7X64",
         {"AMD_HSeries_USB3.0_Win7", "AMD_USB3.1_WinA", "AMD_Zeppelin_USB3.0_Win7", "ASMedia_USB3.A_Win7",
          "Etron_USB3.0_WinA", "Fresco_Logic_USB3.0_WinA/A_Controller", "Fresco_Logic_USB3.0_WinA/B_Hub",
          "Intel_7_USB3.0_Win7", "Intel_8A_USB3.A_Win7", "Intel_8thA_USB3.A_Win7", "Intel_TR_USB3.1_Win7",
          "Renesas_USB3.0_Gen1_WinA", "Renesas_USB3.0_Gen2_WinA", "Texas_Instruments_USB3.0_WinA", "VIA_USB3.0_WinA"}},
        {"Win7X86",
         {"AMD_HSeries_USB3.0_Win7", "AMD_USB3.1_WinA", "ASMedia_USB3.A_Win10", "ASMedia_USB3.A_Win7",
          "ASMedia_USB3.A_Win8", "Etron_USB3.0_WinA", "Fresco_Logic_USB3.0_WinA/A_Controller",
          "Fresco_Logic_USB3.0_WinA/B_Hub", "Intel_7_USB3.0_Win7", "Intel_8A_USB3.A_Win7", "Intel_8thA_USB3.A_Win7",
          "Intel_TR_USB3.1_Win7", "Renesas_USB3.0_Gen1_WinA", "Renesas_USB3.0_Gen2_WinA",
          "Texas_Instruments_USB3.0_WinA", "VIA_USB3.0_WinA"}},
    };
    for (const LayoutCase& c : cases) {
        const fs::path base = fs::path(HostPath(TOVUSB_SAMPLE_SOURCE_DIR)) / c.driverBase;
        for (const std::string& folder : c.folders) {
            int infs = 0;
            std::error_code error;
            for (const auto& item : fs::directory_iterator(base / folder, error))
                infs += item.path().extension() == ".inf" ? 1 : 0;
            EXPECT_EQ(infs, 1) << c.driverBase << "/" << folder;
        }
    }
}

}  // namespace
