// Under Wine with real files: log entries newest first, the target's architecture, the driver
// index, the shell's path qualification and the work directory's levels.
#include <windows.h>

#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "app/inject/survey.h"
#include "app/inject/target_system.h"
#include "app/startup/program_globals.h"
#include "app/startup/startup_sequence.h"
#include "runtime/text_commands.h"
#include "tests/support/offline_windows.h"

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(AddLogEntry, NewestEntryFirstAndMissingLogCreated) {
    TempFolder folder;
    // Joined as the tool joins them: a doubled separator before the file name.
    const std::string log = folder.path() + "\\\\hwids.log";
    AddLogEntry("", log.c_str());
    EXPECT_EQ(ReadAll(folder.path() + "\\hwids.log"), "\r\n\r\n");
    AddLogEntry("old", log.c_str());
    AddLogEntry("new", log.c_str());
    EXPECT_EQ(ReadAll(log), "new\r\n\r\nold\r\n\r\n\r\n\r\n");
}

TEST(AddLogEntry, LargeLogKeepsEveryByteBehindTheEntry) {
    TempFolder folder;
    const std::string log = folder.path() + "\\USB.log";
    std::string old;
    for (int i = 0; i < 5000; ++i)
        old += "line " + std::to_string(i) + "\r\n";
    WriteAll(log, old);
    AddLogEntry("entry", log.c_str());
    EXPECT_EQ(ReadAll(log), "entry\r\n\r\n" + old);
}

TEST(AddLogEntry, UnwritableLogLosesTheEntrySilently) {
    TempFolder folder;
    const std::string log = folder.path() + "\\USB.log";
    WriteAll(log, "kept\r\n");
    // Another process holding the log without sharing it. (A read-only attribute would do on
    // Windows, but Wine running as root writes read-only files all the same.)
    HANDLE holder = CreateFileA(log.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    AddLogEntry("lost", log.c_str());
    CloseHandle(holder);
    EXPECT_EQ(ReadAll(log), "kept\r\n");
}

TEST(TargetIs64Bit, ByTheTargetsOwnCommandInterpreter) {
    struct Case {
        const char* name;
        OfflineWindowsLayout layout;
        int expected;
    };
    const Case cases[] = {
        {"64-bit system32", {FakeCmd::kWin7x64, FakeCmd::kNone, true}, 1},
        {"32-bit system32", {FakeCmd::kWin7x86, FakeCmd::kNone, true}, 0},
        {"no cmd.exe", {FakeCmd::kNone, FakeCmd::kNone, true}, 0},
        // sysnative is looked at first: it is what a 32-bit view of a 64-bit system calls system32.
        {"64-bit sysnative wins", {FakeCmd::kWin7x86, FakeCmd::kWin7x64, true}, 1},
        {"32-bit sysnative wins", {FakeCmd::kWin7x64, FakeCmd::kWin7x86, true}, 0},
    };
    for (const Case& c : cases) {
        OfflineWindowsRoot root(c.layout);
        ASSERT_TRUE(root.ok()) << c.name;
        // The dialog gives drive roots with a trailing separator: the join doubles it.
        const std::string withSlash = root.path() + "\\";
        EXPECT_EQ(TargetIs64Bit(root.path().c_str()), c.expected) << c.name;
        EXPECT_EQ(TargetIs64Bit(withSlash.c_str()), c.expected) << c.name;
    }
}

TEST(LoadDriverIndex, IndexTextUpToItsFirstZeroByteAndTheDriverBase) {
    TempFolder folder;
    WorkDir = ConcatText(folder.path().c_str(), "\\");
    WriteAll(folder.path() + "\\WIN7X64.INDEX",
             std::string("a|ID|f\\x.inf\r\nb", 15) + std::string(1, '\0') + "hidden");
    DriverIndex index = LoadDriverIndex(true);
    EXPECT_STREQ(index.text.c_str(), "a|ID|f\\x.inf\r\nb");
    EXPECT_EQ(std::string(index.driverBase.c_str()), folder.path() + "\\\\Win7X64\\");
    DriverIndex missing = LoadDriverIndex(false);
    EXPECT_EQ(missing.text.get(), nullptr);
    EXPECT_EQ(std::string(missing.driverBase.c_str()), folder.path() + "\\\\Win7X86\\");
    WorkDir = OwnedText();
}

TEST(QualifyPath, CollapsesDoubledSeparatorsAndDots) {
    EXPECT_STREQ(QualifyPath("C:\\TovUSB\\\\Win7X64\\Intel_7_USB3.0_Win7\\").c_str(),
                 "C:\\TovUSB\\Win7X64\\Intel_7_USB3.0_Win7\\");
    EXPECT_STREQ(QualifyPath("C:\\a\\..\\b").c_str(), "C:\\b");
}

TEST(CreateDirectoryPath, MakesEveryLevelOrTellsWhyNot) {
    TempFolder folder;
    OwnedText path = CopyText((folder.path() + "\\\\a\\\\b").c_str());
    EXPECT_TRUE(CreateDirectoryPath(path));
    EXPECT_EQ(std::string(path.c_str()), folder.path() + "\\a\\b\\");
    EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    // A file stands where a level should be: the level below it cannot be made.
    WriteAll(folder.path() + "\\file", "x");
    path = CopyText((folder.path() + "\\file\\sub\\").c_str());
    const Result made = CreateDirectoryPath(path);
    EXPECT_FALSE(made);
    EXPECT_NE(made.error(), 0u);
}

}  // namespace
