// The DISM simulator under Wine, both builds: its report, its records in the image's driver store
// and its exit codes for the three import forms and for faulty command lines.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "tests/payload/payload_test_support.h"
#include "tests/support/offline_windows.h"
#include "tools/dism_sim/dism_report.h"

namespace {

struct DismBuild {
    const char* name;
    std::string path;
    DWORD binaryType;  // what the tool's bitness choice relies on
};

std::vector<DismBuild> DismBuilds() {
    return {{"Dism\\x86\\dism.exe", HostPath(TOVUSB_SAMPLE_DISM_X86), SCS_32BIT_BINARY},
            {"Dism\\x64\\dism.exe", HostPath(TOVUSB_SAMPLE_DISM_X64), SCS_64BIT_BINARY}};
}

bool MakeFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

// Driver folders of the tests: T\drivers\top.inf, T\drivers\sub\a.inf, T\drivers\sub\deeper\B.INF
// (plus a text file that is no package), T\drivers with space\x.inf and T\empty with no INF.
struct DriverTree {
    TempFolder temp;
    bool ok = false;

    DriverTree() {
        const std::string t = temp.path();
        ok = temp.ok() && MakeFolder(t + "\\drivers") && MakeFolder(t + "\\drivers\\sub") &&
             MakeFolder(t + "\\drivers\\sub\\deeper") && MakeFolder(t + "\\drivers with space") &&
             MakeFolder(t + "\\empty") && WriteWholeFile(t + "\\drivers\\top.inf", "; top\r\n") &&
             WriteWholeFile(t + "\\drivers\\sub\\a.inf", "; a\r\n") &&
             WriteWholeFile(t + "\\drivers\\sub\\deeper\\B.INF", "; B\r\n") &&
             WriteWholeFile(t + "\\drivers\\sub\\readme.txt", "not a package\r\n") &&
             WriteWholeFile(t + "\\drivers with space\\x.inf", "; x\r\n") &&
             WriteWholeFile(t + "\\empty\\readme.txt", "no package here\r\n");
    }
};

struct RunContext {
    std::string workDir;  // the driver tree's parent with a trailing separator, as the tool's WorkDir
    std::string drivers;  // the driver tree's folder, no trailing separator
    std::string image;    // an offline Windows root, no trailing separator
    std::string drive;    // the same root as a drive, e.g. P:\ (trailing separator)
};

std::string StoreFolder(const std::string& image) {
    return image + "\\Windows\\System32\\DriverStore\\FileRepository";
}

struct DismCase {
    const char* name;
    OfflineWindowsLayout layout;
    std::function<std::string(const RunContext&)> parameters;
    unsigned long exitCode;
    std::function<std::vector<std::string>(const RunContext&)> installed;  // INF paths, report order
    const char* imageVersion;                                              // null when the report stops before it
    bool blockStore = false;                                               // the driver store path is taken by a file
    bool onDrive = false;                                                  // the image is also reached as a drive root
};

const OfflineWindowsLayout kWindows7 = {};
const OfflineWindowsLayout kNoCmd = {FakeCmd::kNone, FakeCmd::kNone, true};

std::vector<DismCase> Cases() {
    using Paths = std::vector<std::string>;
    const auto none = [](const RunContext&) { return Paths{}; };
    const auto wholeTree = [](const std::string& base) {
        return Paths{base + "\\sub\\a.inf", base + "\\sub\\deeper\\B.INF", base + "\\top.inf"};
    };
    return {
        {"precise import form on a drive root", kWindows7,
         [](const RunContext& r) {
             return " /Image:" + r.drive + "  /Add-Driver /Driver:" + r.drivers + "\\sub\\  /Recurse  /ForceUnsigned";
         },
         0,
         [](const RunContext& r) {
             return Paths{r.drivers + "\\sub\\a.inf", r.drivers + "\\sub\\deeper\\B.INF"};
         },
         "6.1.7601.17514", false, true},
        {"fuzzy import form with the doubled separator", kWindows7,
         [](const RunContext& r) {
             return " /Image:" + r.image + "  /Add-Driver /Driver:" + r.workDir + "\\drivers /Recurse ";
         },
         0, [=](const RunContext& r) { return wholeTree(r.workDir + "\\drivers"); }, "6.1.7601.17514"},
        {"custom import form naming the root", kWindows7,
         [](const RunContext& r) { return " /Image:" + r.image + "  /Add-Driver /Driver:" + r.drivers + " /Recurse "; },
         0, [=](const RunContext& r) { return wholeTree(r.drivers); }, "6.1.7601.17514"},
        {"custom import form naming the Windows directory", kWindows7,
         [](const RunContext& r) {
             return " /Image:" + r.image + "\\Windows  /Add-Driver /Driver:" + r.drivers + " /Recurse ";
         },
         3, none, nullptr},
        {"without /Recurse only the folder's own packages", kWindows7,
         [](const RunContext& r) { return " /Image:" + r.image + " /Add-Driver /Driver:" + r.drivers; }, 0,
         [](const RunContext& r) { return Paths{r.drivers + "\\top.inf"}; }, "6.1.7601.17514"},
        {"a single INF file", kWindows7,
         [](const RunContext& r) {
             return " /Image:" + r.image + " /Add-Driver /Driver:" + r.drivers + "\\sub\\a.inf";
         },
         0, [](const RunContext& r) { return Paths{r.drivers + "\\sub\\a.inf"}; }, "6.1.7601.17514"},
        {"quoted path with a space", kWindows7,
         [](const RunContext& r) {
             return " /Image:" + r.image + "  /Add-Driver /Driver:\"" + r.drivers + " with space\" /Recurse ";
         },
         0, [](const RunContext& r) { return Paths{r.drivers + " with space\\x.inf"}; }, "6.1.7601.17514"},
        {"unquoted path with a space", kWindows7,
         [](const RunContext& r) {
             return " /Image:" + r.image + "  /Add-Driver /Driver:" + r.drivers + " with space /Recurse ";
         },
         87, none, nullptr},
        {"image without Windows\\System32", kWindows7,
         [](const RunContext& r) {
             return " /Image:" + r.drivers + "  /Add-Driver /Driver:" + r.drivers + " /Recurse ";
         },
         3, none, nullptr},
        {"folder without a package", kWindows7,
         [](const RunContext& r) {
             return " /Image:" + r.image + "  /Add-Driver /Driver:" + r.drivers + "\\..\\empty /Recurse ";
         },
         2, none, "6.1.7601.17514"},
        {"missing folder", kWindows7,
         [](const RunContext& r) {
             return " /Image:" + r.image + "  /Add-Driver /Driver:" + r.drivers + "\\none /Recurse ";
         },
         2, none, "6.1.7601.17514"},
        {"image without cmd.exe", kNoCmd,
         [](const RunContext& r) { return " /Image:" + r.image + " /Add-Driver /Driver:" + r.drivers; }, 0,
         [](const RunContext& r) { return Paths{r.drivers + "\\top.inf"}; }, "unknown"},
        {"driver store cannot be written", kWindows7,
         [](const RunContext& r) { return " /Image:" + r.image + " /Add-Driver /Driver:" + r.drivers; },
         ERROR_PATH_NOT_FOUND, [](const RunContext& r) { return Paths{r.drivers + "\\top.inf"}; }, "6.1.7601.17514",
         true},
    };
}

// The INF paths of the report's "Installing i of N - <inf>: ..." lines; false when a line is
// numbered wrongly or does not report success.
bool InstalledPackages(const std::vector<std::string>& lines, std::vector<std::string>& infs, bool& allInstalled) {
    infs.clear();
    allInstalled = true;
    std::vector<std::string> installing;
    for (const std::string& line : lines) {
        if (line.rfind("Installing ", 0) == 0)
            installing.push_back(line);
    }
    for (size_t i = 0; i < installing.size(); ++i) {
        const std::string prefix =
            "Installing " + std::to_string(i + 1) + " of " + std::to_string(installing.size()) + " - ";
        if (installing[i].rfind(prefix, 0) != 0)
            return false;
        const std::string rest = installing[i].substr(prefix.size());
        const std::string success = ": The driver package was successfully installed.";
        const size_t end = rest.rfind(": ");
        if (end == std::string::npos)
            return false;
        allInstalled = allInstalled && rest.substr(end) == success;
        infs.push_back(rest.substr(0, end));
    }
    return true;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

TEST(DismSimulator, ReportsRecordsAndExitCodes) {
    DriverTree tree;
    ASSERT_TRUE(tree.ok);
    for (const DismBuild& build : DismBuilds()) {
        DWORD type = 99;
        ASSERT_TRUE(GetBinaryTypeA(build.path.c_str(), &type)) << build.name;
        EXPECT_EQ(type, build.binaryType) << build.name;
        for (const DismCase& c : Cases()) {
            SCOPED_TRACE(std::string(build.name) + ": " + c.name);
            OfflineWindowsRoot root(c.layout);
            ASSERT_TRUE(root.ok());
            std::unique_ptr<MappedDrive> drive;
            if (c.onDrive) {
                drive = std::make_unique<MappedDrive>(root.path());
                ASSERT_NE(drive->letter(), 0);
            }
            if (c.blockStore) {
                ASSERT_TRUE(WriteWholeFile(root.path() + "\\Windows\\System32\\DriverStore", "a file, not a folder"));
            }
            const RunContext context = {tree.temp.path() + "\\", tree.temp.path() + "\\drivers", root.path(),
                                        drive ? drive->root() : ""};

            const ProcessOutcome outcome = RunCommandLine(build.path + " " + c.parameters(context));
            ASSERT_TRUE(outcome.started);
            EXPECT_EQ(outcome.exitCode, c.exitCode) << outcome.output;
            const std::vector<std::string> lines = SplitCrLf(outcome.output);
            ASSERT_GE(lines.size(), 2u);
            EXPECT_NE(lines[1].find("simulator"), std::string::npos) << outcome.output;

            if (c.imageVersion)
                EXPECT_TRUE(HasLine(lines, std::string("Image Version: ") + c.imageVersion)) << outcome.output;
            else
                EXPECT_EQ(outcome.output.find("Image Version:"), std::string::npos) << outcome.output;

            const std::vector<std::string> expected = c.installed(context);
            std::vector<std::string> reported;
            bool allInstalled = false;
            ASSERT_TRUE(InstalledPackages(lines, reported, allInstalled)) << outcome.output;
            EXPECT_EQ(reported, expected) << outcome.output;
            if (!expected.empty()) {
                EXPECT_TRUE(
                    HasLine(lines, "Found " + std::to_string(expected.size()) + " driver package(s) to install."))
                    << outcome.output;
            }
            if (c.exitCode == 0) {
                EXPECT_TRUE(allInstalled) << outcome.output;
                EXPECT_EQ(lines.back(), "The operation completed successfully.");
            } else {
                EXPECT_TRUE(HasLine(lines, "Error: " + std::to_string(c.exitCode))) << outcome.output;
                EXPECT_FALSE(HasLine(lines, "The operation completed successfully."));
            }

            // Each installed package is staged in a folder of the store with the files of its INF's
            // folder, and its INF published as the next oemNN.inf. The images' cmd.exe is 64-bit.
            const std::vector<std::string> staged = c.exitCode == 0 ? expected : std::vector<std::string>{};
            for (size_t i = 0; i < staged.size(); ++i) {
                const std::string& inf = staged[i];
                const std::string name = inf.substr(inf.find_last_of('\\') + 1);
                std::string source, record, published, sibling;
                ASSERT_TRUE(ReadWholeFile(inf, source)) << inf;
                const std::string folder =
                    DriverStoreFolder(root.path(), name, c.layout.system32 != FakeCmd::kNone, source);
                EXPECT_TRUE(ReadWholeFile(folder + "\\" + name, record)) << folder;
                EXPECT_EQ(record, source) << name;
                EXPECT_TRUE(ReadWholeFile(PublishedInfPath(root.path(), static_cast<unsigned>(i)), published)) << i;
                EXPECT_EQ(published, source) << name;
                // The readme beside a.inf goes with it; no file of a subfolder does.
                EXPECT_EQ(ReadWholeFile(folder + "\\readme.txt", sibling), name == "a.inf") << folder;
                EXPECT_EQ(GetFileAttributesA((folder + "\\B.INF").c_str()) != INVALID_FILE_ATTRIBUTES, name == "B.INF");
            }
            if (c.exitCode != 0 || expected.empty()) {
                EXPECT_EQ(GetFileAttributesA(StoreFolder(root.path()).c_str()), INVALID_FILE_ATTRIBUTES);
            }
        }
    }
}

TEST(DismSimulator, PreciseReportHasDismLayout) {
    DriverTree tree;
    ASSERT_TRUE(tree.ok);
    OfflineWindowsRoot root;
    ASSERT_TRUE(root.ok());
    const std::string folder = tree.temp.path() + "\\drivers\\sub\\";
    for (const DismBuild& build : DismBuilds()) {
        const ProcessOutcome outcome = RunCommandLine(build.path + "  /Image:" + root.path() +
                                                      "  /Add-Driver /Driver:" + folder + "  /Recurse  /ForceUnsigned");
        EXPECT_EQ(outcome.exitCode, 0u) << build.name;
        EXPECT_EQ(outcome.output,
                  "\r\n"
                  "Deployment Image Servicing and Management tool - TovUSB sample simulator\r\n"
                  "Version: 1.0 (simulator: records driver packages, installs nothing)\r\n"
                  "\r\n"
                  "Image Version: 6.1.7601.17514\r\n"
                  "\r\n"
                  "Searching for driver packages to install...\r\n"
                  "Found 2 driver package(s) to install.\r\n"
                  "Installing 1 of 2 - " +
                      folder + "a.inf: The driver package was successfully installed.\r\n" + "Installing 2 of 2 - " +
                      folder +
                      "deeper\\B.INF: The driver package was successfully installed.\r\n"
                      "The operation completed successfully.\r\n")
            << build.name;
    }
}

}  // namespace
