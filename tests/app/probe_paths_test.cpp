// Where the version probes look for cmd.exe and which FileVersion prefixes they accept.
#include "app/exec/probe_paths.h"

#include <optional>

#include <gtest/gtest.h>

namespace {

TEST(ProbePaths, FamilyTestsUseTheDriveLetterWithoutPrefixAndThePrefixOtherwise) {
    struct Case {
        const char* root;
        const char* prefix;
        const char* expected;
    };
    const Case cases[] = {
        {"D:\\", nullptr, "D:\\Windows\\system32\\cmd.exe"},
        {"D:\\", "", "D:\\Windows\\system32\\cmd.exe"},
        // Only the first byte of the root counts.
        {"Dxyz", nullptr, "D:\\Windows\\system32\\cmd.exe"},
        {"", nullptr, ":\\Windows\\system32\\cmd.exe"},
        {nullptr, nullptr, ":\\Windows\\system32\\cmd.exe"},
        {nullptr, "E:\\Win7", "E:\\Win7\\Windows\\system32\\cmd.exe"},
        // A prefix decides alone; a drive root keeps its separator, doubled.
        {"C:\\", "E:\\", "E:\\\\Windows\\system32\\cmd.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.root ? c.root : "(none)") << " / " << (c.prefix ? c.prefix : "(none)"));
        EXPECT_EQ(FamilyProbeCmdPath(c.root, c.prefix).view(), c.expected);
    }
}

TEST(ProbePaths, VistaTestJoinsTheRootUnlessAskedForTheDriveLetter) {
    struct Case {
        const char* root;
        std::optional<int32_t> mode;
        const char* expected;
    };
    const Case cases[] = {
        {"X:\\", std::nullopt, "X:\\\\Windows\\system32\\cmd.exe"},
        {"X:\\", 1, "X:\\\\Windows\\system32\\cmd.exe"},
        {"X:", std::nullopt, "X:\\Windows\\system32\\cmd.exe"},
        {"X:\\", 0, "X:\\Windows\\system32\\cmd.exe"},
        {"X:\\", 2, "X:\\Windows\\system32\\cmd.exe"},
        {"", std::nullopt, "\\Windows\\system32\\cmd.exe"},
        {"", 0, ":\\Windows\\system32\\cmd.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.root << " mode " << (c.mode ? *c.mode : -999));
        EXPECT_EQ(VistaProbeCmdPath(c.root, c.mode).view(), c.expected);
    }
}

TEST(ProbePaths, VersionPrefixesAreComparedByteForByte) {
    struct Case {
        const char* version;
        bool windows8Family;
        bool windows7;
        bool vistaOrLater;
    };
    const Case cases[] = {
        {"6.1.7601.17514 (win7sp1_rtm.101119-1850)", false, true, true},
        {"6.2.9200.16384", true, false, true},
        {"6.3.9600.16384", true, false, true},
        {"10.0.19041.1", false, false, true},
        {"6.0.6002.18005", false, false, true},
        {"5.1.2600.5512", false, false, false},
        {"6.", false, false, true},
        {"6.1", false, true, true},
        // Only the leading bytes count: a "6.10" would read as Windows 7.
        {"6.10", false, true, true},
        {"6", false, false, false},
        {"1", false, false, false},
        {" 6.1", false, false, false},
        {"6,1,7601", false, false, false},
        {"", false, false, false},
        {nullptr, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version ? c.version : "(null)");
        EXPECT_EQ(IsWindows8FamilyVersion(c.version), c.windows8Family);
        EXPECT_EQ(IsWindows7Version(c.version), c.windows7);
        EXPECT_EQ(IsVistaOrLaterVersion(c.version), c.vistaOrLater);
    }
}

}  // namespace
