// The host and Windows version probes against stand-in cmd.exe programs laid out as offline
// Windows roots, by folder and by drive letter.
#include "app/exec/probes.h"

#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "runtime/text_commands.h"
#include "tests/support/offline_windows.h"

namespace {

const char kWin7Version[] = "6.1.7601.17514 (win7sp1_rtm.101119-1850)";

TEST(Probes, HostBitnessWithAndWithoutWow64) {
    // The test prefix is a 64-bit Wine, whose WOW64 directory always exists; the override stands
    // for a system without one: a 64-bit Windows PE for the 64-bit program, which is proof of a
    // 64-bit host by itself, and a 32-bit system for the 32-bit program.
    constexpr bool k64BitProgram = sizeof(void*) == 8;
    struct Case {
        bool wow64Absent;
        bool host64Bit;
        bool hostRuns32BitPrograms;
    };
    const Case cases[] = {{false, true, true}, {true, k64BitProgram, !k64BitProgram}, {false, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wow64Absent ? "without WoW64" : "with WoW64");
        SetWow64AbsentOverride(c.wow64Absent);
        EXPECT_EQ(IsHost64Bit(), c.host64Bit);
        EXPECT_EQ(HostRuns32BitPrograms(), c.hostRuns32BitPrograms);
    }
    SetWow64AbsentOverride(false);
}

TEST(Probes, FileVersionTextOfEachStandIn) {
    struct Case {
        FakeCmd kind;
        const char* version;
    };
    const Case cases[] = {
        {FakeCmd::kWin7x64, kWin7Version},   {FakeCmd::kWin7x86, kWin7Version}, {FakeCmd::kWin8, "6.2.9200.16384"},
        {FakeCmd::kWin81, "6.3.9600.16384"}, {FakeCmd::kWin10, "10.0.19041.1"}, {FakeCmd::kNoVersion, ""},
    };
    for (const Case& c : cases) {
        const std::string path = FakeCmdPath(c.kind);
        SCOPED_TRACE(path);
        OwnedText version = GetFileVersionText(path.c_str());
        EXPECT_EQ(version.view(), c.version);
        if (c.version[0] == '\0') {
            EXPECT_EQ(version.get(), nullptr);
        }
    }
    EXPECT_EQ(GetFileVersionText((FixtureDirectory() + "missing.exe").c_str()).get(), nullptr);
    EXPECT_EQ(GetFileVersionText("").get(), nullptr);
}

struct VersionCase {
    FakeCmd kind;
    bool windows8Family;
    bool windows7;
    bool vistaOrLater;
};

const VersionCase kVersionCases[] = {
    {FakeCmd::kWin7x64, false, true, true}, {FakeCmd::kWin7x86, false, true, true},
    {FakeCmd::kWin8, true, false, true},    {FakeCmd::kWin81, true, false, true},
    {FakeCmd::kWin10, false, false, true},  {FakeCmd::kNoVersion, false, false, false},
    {FakeCmd::kNone, false, false, false},
};

TEST(Probes, VersionTestsOfAFolderRoot) {
    for (const VersionCase& c : kVersionCases) {
        OfflineWindowsRoot root({c.kind});
        ASSERT_TRUE(root.ok());
        const std::string folder = root.path();
        SCOPED_TRACE(FakeCmdPath(c.kind) + " in " + folder);
        EXPECT_EQ(IsWindows8Family(nullptr, folder.c_str()), c.windows8Family);
        EXPECT_EQ(IsWindows7(nullptr, folder.c_str()), c.windows7);
        // The root given with the prefix is not used.
        EXPECT_EQ(IsWindows7("Q:\\", folder.c_str()), c.windows7);
        EXPECT_EQ(IsWindowsVistaOrLater(folder.c_str()), c.vistaOrLater);
        EXPECT_EQ(IsWindowsVistaOrLater(folder.c_str(), 1), c.vistaOrLater);
        // A prefix ending in a separator doubles it before Windows; the path still opens.
        const std::string withSlash = folder + "\\";
        EXPECT_EQ(IsWindows7(nullptr, withSlash.c_str()), c.windows7);
        EXPECT_EQ(IsWindows8Family(nullptr, withSlash.c_str()), c.windows8Family);
        EXPECT_EQ(IsWindowsVistaOrLater(withSlash.c_str()), c.vistaOrLater);
    }
}

TEST(Probes, VersionTestsOfADriveLetter) {
    for (const VersionCase& c : kVersionCases) {
        OfflineWindowsRoot root({c.kind});
        ASSERT_TRUE(root.ok());
        MappedDrive drive(root.path());
        ASSERT_NE(drive.letter(), 0) << "no drive letter could be mapped";
        const std::string driveRoot = drive.root();
        SCOPED_TRACE(FakeCmdPath(c.kind) + " on " + driveRoot);
        // Without a prefix only the first byte of the root counts.
        EXPECT_EQ(IsWindows8Family(driveRoot.c_str()), c.windows8Family);
        EXPECT_EQ(IsWindows7(driveRoot.c_str(), ""), c.windows7);
        EXPECT_EQ(IsWindows7((std::string(1, drive.letter()) + "-not-a-path").c_str()), c.windows7);
        // Mode other than 1: the drive letter form; mode 1: the root itself, separator doubled.
        EXPECT_EQ(IsWindowsVistaOrLater(driveRoot.c_str(), 0), c.vistaOrLater);
        EXPECT_EQ(IsWindowsVistaOrLater(driveRoot.c_str(), 2), c.vistaOrLater);
        EXPECT_EQ(IsWindowsVistaOrLater(driveRoot.c_str()), c.vistaOrLater);
    }
}

TEST(Probes, NoRootAndNoPrefixTestsAPathThatDoesNotExist) {
    EXPECT_FALSE(IsWindows8Family());
    EXPECT_FALSE(IsWindows7());
    EXPECT_FALSE(IsWindows7("", ""));
    EXPECT_FALSE(IsWindowsVistaOrLater("", 0));
}

TEST(ReadProcessorBrand, MatchesWhatTheSystemReportsForProcessorZero) {
    char reported[128] = {};
    DWORD size = sizeof reported;
    const LONG rc = RegGetValueA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                                 "ProcessorNameString", RRF_RT_REG_SZ, nullptr, reported, &size);
    OwnedText brand = ReadProcessorBrand();
    ASSERT_FALSE(brand.empty());
    EXPECT_LE(brand.size(), 48u);
    if (rc != ERROR_SUCCESS)
        GTEST_SKIP() << "no processor name in the registry";
    OwnedText ours = TrimSpaces(brand.get());
    OwnedText theirs = TrimSpaces(reported);
    EXPECT_STREQ(ours.c_str(), theirs.c_str());
}

bool GivenBrand(char* buffer) {
    std::strcpy(buffer, "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz");
    return true;
}

bool NoAnswer(char*) {
    return false;
}

bool FullLengthBrand(char* buffer) {
    std::memset(buffer, 'b', kProcessorBrandBytes);
    buffer[kProcessorBrandBytes] = '\0';
    return true;
}

TEST(ReadProcessorBrand, AnOverrideAnswersInsteadOfTheProcessor) {
    OwnedText own = ReadProcessorBrand();
    SetProcessorBrandOverride(GivenBrand);
    EXPECT_STREQ(ReadProcessorBrand().c_str(), "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz");
    SetProcessorBrandOverride(FullLengthBrand);
    EXPECT_EQ(ReadProcessorBrand().view(), std::string(kProcessorBrandBytes, 'b'));
    // An override that does not answer leaves it to the processor, and so does none.
    SetProcessorBrandOverride(NoAnswer);
    EXPECT_STREQ(ReadProcessorBrand().c_str(), own.c_str());
    SetProcessorBrandOverride(nullptr);
    EXPECT_STREQ(ReadProcessorBrand().c_str(), own.c_str());
}

}  // namespace
