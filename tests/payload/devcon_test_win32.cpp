// The sample devcon under Wine: the devices Wine presents in devcon's layout, and listing files
// printed byte for byte, for the 32- and the 64-bit build.
#include <windows.h>

#include <memory>

#include <gtest/gtest.h>

#include "tests/payload/payload_test_support.h"
#include "tests/support/offline_windows.h"

namespace {

using namespace std::string_literals;

struct DevconBuild {
    const char* name;
    std::string path;
    DWORD binaryType;  // what the tool's bitness choice relies on
};

std::vector<DevconBuild> DevconBuilds() {
    return {{"devcon.exe", HostPath(TOVUSB_SAMPLE_DEVCON_X86), SCS_32BIT_BINARY},
            {"devcon_x64.exe", HostPath(TOVUSB_SAMPLE_DEVCON_X64), SCS_64BIT_BINARY}};
}

// The survey's own command: the shell runs devcon, as the tool does.
ProcessOutcome RunSurvey(const std::string& devcon) {
    return RunCommandLine("cmd.exe /c " + devcon + " hwids *");
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// Walks a listing line by line; returns an empty text when it has devcon's layout, else what is
// wrong. Counts the device blocks and identifier lines.
std::string LayoutProblem(const std::string& output, size_t& devices, size_t& identifiers) {
    devices = identifiers = 0;
    if (output.size() < 2 || output.substr(output.size() - 2) != "\r\n")
        return "the listing does not end in CR LF";
    const std::vector<std::string> lines = SplitCrLf(output);
    for (const std::string& line : lines) {
        if (line.find('\n') != std::string::npos || line.find('\r') != std::string::npos)
            return "a line end other than CR LF in: " + line;
    }
    size_t i = 0;
    while (i + 1 < lines.size()) {
        const std::string& instance = lines[i++];
        if (instance.empty() || instance[0] == ' ' || instance.find('\\') == std::string::npos)
            return "not an instance ID: " + instance;
        ++devices;
        if (i < lines.size() && StartsWith(lines[i], "    Name: ")) {
            if (lines[i].size() == 10)
                return "empty name after " + instance;
            ++i;
        }
        bool grouped = false;
        while (i < lines.size() && (lines[i] == "    Hardware IDs:" || lines[i] == "    Compatible IDs:")) {
            const std::string heading = lines[i++];
            size_t members = 0;
            while (i < lines.size() && StartsWith(lines[i], "        ") && lines[i].size() > 8 && lines[i][8] != ' ') {
                ++members;
                ++i;
            }
            if (members == 0)
                return heading + " without identifiers under " + instance;
            identifiers += members;
            grouped = true;
        }
        if (!grouped) {
            if (i >= lines.size() || lines[i] != "    No hardware or compatible IDs found for this device.")
                return "no identifier group under " + instance;
            ++i;
        }
    }
    if (i + 1 != lines.size())
        return "the listing has no closing line";
    const std::string expected =
        devices == 0 ? "No matching devices found." : std::to_string(devices) + " matching device(s) found.";
    if (lines[i] != expected)
        return "closing line \"" + lines[i] + "\", expected \"" + expected + "\"";
    return std::string();
}

TEST(SampleDevcon, ListsTheDevicesWinePresentsInDevconLayout) {
    std::string first;
    for (const DevconBuild& build : DevconBuilds()) {
        SCOPED_TRACE(build.name);
        DWORD type = 99;
        ASSERT_TRUE(GetBinaryTypeA(build.path.c_str(), &type));
        EXPECT_EQ(type, build.binaryType);
        const ProcessOutcome outcome = RunSurvey(build.path);
        ASSERT_TRUE(outcome.started);
        EXPECT_EQ(outcome.exitCode, 0u) << outcome.output;
        size_t devices = 0;
        size_t identifiers = 0;
        EXPECT_EQ(LayoutProblem(outcome.output, devices, identifiers), "") << outcome.output;
        // Wine always presents some devices (its root-enumerated ones at least), each with identifiers.
        EXPECT_GT(devices, 0u);
        EXPECT_GT(identifiers, 0u);
        // Both builds ask the same SetupAPI about the same machine.
        if (first.empty())
            first = outcome.output;
        else
            EXPECT_EQ(outcome.output, first);
    }
}

TEST(SampleDevcon, PrintsTheNamedListingFileByteForByte) {
    TempFolder temp;
    ASSERT_TRUE(temp.ok());
    // CR LF lines, a full-width space, a bare LF, a zero byte, Ctrl-Z, GBK text and no final line end.
    const std::string listing =
        "PCI\\VEN_8086&DEV_A36D&CC_0C0330\\3&11583659&0&A0\r\n"
        "    Hardware IDs:\r\n"
        "        PCI\\VEN_8086&DEV_A36D&CC_0C0330\r\n"
        "  \xA1\xA1USB\\VID_8087&PID_0024\xA1\xA1 \r\n"
        "bare LF\n"
        "zero \0 and Ctrl-Z \x1A\r\n"
        "\xC7\xFD\xB6\xAF"s;
    const std::string file = temp.path() + "\\listing.txt";
    ASSERT_TRUE(WriteWholeFile(file, listing));
    ScopedEnvironment environment("TOVUSB_DEVCON_LISTING", file);
    for (const DevconBuild& build : DevconBuilds()) {
        const ProcessOutcome outcome = RunSurvey(build.path);
        ASSERT_TRUE(outcome.started) << build.name;
        EXPECT_EQ(outcome.exitCode, 0u) << build.name;
        EXPECT_EQ(outcome.output, listing) << build.name;
    }
}

TEST(SampleDevcon, RefusesWhatItCannotDo) {
    TempFolder temp;
    ASSERT_TRUE(temp.ok());
    const std::string missing = temp.path() + "\\no-such-listing.txt";
    struct RefusalCase {
        const char* name;
        const char* listingVariable;  // null: not set
        std::string arguments;
        unsigned long exitCode;
        const char* outputMentions;
    } cases[] = {
        {"unreadable listing file", missing.c_str(), " hwids *", 2, "no-such-listing.txt"},
        {"other command", nullptr, " status *", 3, "Usage: devcon hwids"},
        {"hwids without an identifier", nullptr, " hwids", 3, "Usage: devcon hwids"},
    };
    for (const DevconBuild& build : DevconBuilds()) {
        for (const RefusalCase& c : cases) {
            SCOPED_TRACE(std::string(build.name) + ": " + c.name);
            std::unique_ptr<ScopedEnvironment> environment;
            if (c.listingVariable)
                environment = std::make_unique<ScopedEnvironment>("TOVUSB_DEVCON_LISTING", c.listingVariable);
            const ProcessOutcome outcome = RunCommandLine(build.path + c.arguments);
            ASSERT_TRUE(outcome.started);
            EXPECT_EQ(outcome.exitCode, c.exitCode);
            EXPECT_NE(outcome.output.find(c.outputMentions), std::string::npos) << outcome.output;
        }
    }
}

}  // namespace
