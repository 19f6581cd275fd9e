// The sandbox overrides as the runtime's directory queries, the processor brand probe and the WoW64
// question see them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/exec/probes.h"
#include "app/sandbox/sandbox_override.h"
#include "runtime/system_commands.h"

namespace {

std::string SystemAnswer(UINT(WINAPI* query)(LPSTR, UINT)) {
    char buffer[MAX_PATH];
    const UINT n = query(buffer, MAX_PATH);
    std::string path(buffer, n);
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return path;
}

TEST(SandboxOverrideTest, AnswersFromTheVariableOnlyWhenItIsSet) {
    const std::string windows = SystemAnswer(GetWindowsDirectoryA);
    const std::string system = SystemAnswer(GetSystemDirectoryA);

    SetEnvironmentVariableA(kSandboxSystemRootVariable, nullptr);
    InstallSandboxOverride();
    EXPECT_EQ(SpecialDirectory(9).c_str(), windows);
    EXPECT_EQ(SpecialDirectory(10).c_str(), system);

    SetEnvironmentVariableA(kSandboxSystemRootVariable, "X:\\Windows");
    InstallSandboxOverride();
    EXPECT_STREQ(SpecialDirectory(9).c_str(), "X:\\Windows\\");
    EXPECT_STREQ(SpecialDirectory(10).c_str(), "X:\\Windows\\system32\\");
    // The temporary directory and the shell folders stay the system's.
    char temp[MAX_PATH];
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    EXPECT_EQ(SpecialDirectory(11).c_str(), std::string(temp, n));

    // Read once: changing the variable later changes nothing.
    SetEnvironmentVariableA(kSandboxSystemRootVariable, "Y:\\Other");
    EXPECT_STREQ(SpecialDirectory(9).c_str(), "X:\\Windows\\");

    // An answer too long for the runtime's 260-byte buffer is no answer: the system's stands.
    const std::string longRoot = "X:\\" + std::string(250, 'w');
    SetEnvironmentVariableA(kSandboxSystemRootVariable, longRoot.c_str());
    InstallSandboxOverride();
    EXPECT_EQ(SpecialDirectory(9).c_str(), longRoot + "\\");
    EXPECT_EQ(SpecialDirectory(10).c_str(), system);

    SetSystemDirectoryOverride(nullptr);
    SetEnvironmentVariableA(kSandboxSystemRootVariable, nullptr);
}

TEST(SandboxOverrideTest, AnswersTheProcessorBrandFromItsVariable) {
    SetEnvironmentVariableA(kSandboxProcessorBrandVariable, nullptr);
    InstallSandboxOverride();
    const std::string own = ReadProcessorBrand().c_str();
    ASSERT_FALSE(own.empty());

    const std::string given = "AMD Ryzen 7 3700X 8-Core Processor";
    ASSERT_NE(given, own);
    SetEnvironmentVariableA(kSandboxProcessorBrandVariable, given.c_str());
    InstallSandboxOverride();
    EXPECT_EQ(ReadProcessorBrand().c_str(), given);
    // Read once: changing the variable later changes nothing.
    SetEnvironmentVariableA(kSandboxProcessorBrandVariable, "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz");
    EXPECT_EQ(ReadProcessorBrand().c_str(), given);

    // The processor's leaves hold 48 bytes: a brand of 48 is one, a longer one is no answer.
    const std::string longest(kProcessorBrandBytes, 'b');
    SetEnvironmentVariableA(kSandboxProcessorBrandVariable, longest.c_str());
    InstallSandboxOverride();
    EXPECT_EQ(ReadProcessorBrand().c_str(), longest);
    SetEnvironmentVariableA(kSandboxProcessorBrandVariable, (longest + "b").c_str());
    InstallSandboxOverride();
    EXPECT_EQ(ReadProcessorBrand().c_str(), own);

    SetEnvironmentVariableA(kSandboxProcessorBrandVariable, nullptr);
    InstallSandboxOverride();
    EXPECT_EQ(ReadProcessorBrand().c_str(), own);
    SetSystemDirectoryOverride(nullptr);
}

TEST(SandboxOverrideTest, OnlyOneMakesWow64Absent) {
    struct Case {
        const char* value;  // null: not set
        bool wow64;
    };
    const Case cases[] = {{"1", false}, {nullptr, true}, {"0", true}, {"", true}, {"11", true}, {"yes", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "not set");
        SetEnvironmentVariableA(kSandboxNoWow64Variable, c.value);
        InstallSandboxOverride();
        // Without WoW64 the 64-bit program runs no 32-bit tool, and the 32-bit one is on a 32-bit host.
        EXPECT_EQ(IsHost64Bit() && HostRuns32BitPrograms(), c.wow64);
    }
    SetEnvironmentVariableA(kSandboxNoWow64Variable, nullptr);
    SetWow64AbsentOverride(false);
    SetSystemDirectoryOverride(nullptr);
}

}  // namespace
