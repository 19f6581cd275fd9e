// The sandbox overrides as the runtime's directory queries and the processor brand probe see them.
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

}  // namespace
