// Command lines of the command runner and the due times of its waits.
#include "app/exec/command_line.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace {

struct LineCase {
    const char* name;
    int32_t platform;
    const char* command;
    const char* program;
    int32_t mode;
    const char* expected;
};

TEST(CommandLine, FormsByPlatformAndMode) {
    const LineCase cases[] = {
        {"shell form", 3, "X:\\TovUSB\\\\devcon64.exe hwids *", "", 0, "cmd.exe /c X:\\TovUSB\\\\devcon64.exe hwids *"},
        {"shell form ignores the program", 3, "dir", "X:\\a.exe", 0, "cmd.exe /c dir"},
        {"program form", 3, "x -y", "X:\\7z.exe", 1, "X:\\7z.exe x -y"},
        {"command starting with a space leaves two", 3, " /Image:D:\\  /Add-Driver", "X:\\a.exe", 1,
         "X:\\a.exe  /Image:D:\\  /Add-Driver"},
        {"any non-zero mode is program form", 3, "go", "p.exe", -7, "p.exe go"},
        {"empty program keeps the separator", 3, "go", "", 2, " go"},
        {"null texts read as empty", 3, nullptr, nullptr, 0, "cmd.exe /c "},
        {"null program in program form", 3, "go", nullptr, 1, " go"},
        {"Windows 9x, shell form", 2, "dir", "X:\\a.exe", 0, "command.com /c dir"},
        {"Windows 9x, program form too", 2, "dir", "X:\\a.exe", 1, "command.com /c dir"},
        {"Win32s", 1, "dir", "X:\\a.exe", 1, "command.com /c dir"},
        {"unrecognised platform", 0, "dir", "X:\\a.exe", 1, "command.com /c dir"},
        {"GBK bytes pass unchanged", 3, "\xD6\xD0\xCE\xC4", "", 0, "cmd.exe /c \xD6\xD0\xCE\xC4"},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        OwnedText line = BuildCommandLine(c.platform, c.command, c.program, c.mode);
        ASSERT_NE(line.get(), nullptr);
        EXPECT_EQ(line.view(), c.expected);
        // CreateProcessA may write into the command line: it must be a heap block of our own.
        line.get()[0] = 'Z';
    }
}

struct DueCase {
    int32_t amount;
    std::optional<int32_t> unit;
    int64_t due;
    uint64_t milliseconds;
};

TEST(CommandLine, WaitDueTimesAreRelativeHundredNanosecondSteps) {
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    const DueCase cases[] = {
        {1, std::nullopt, -10000, 1},
        {1, 0, -10000, 1},
        {250, std::nullopt, -2500000, 250},
        {2, 1, -20000000, 2000},
        {1, 2, -600000000, 60000},
        {2, 3, -72000000000, 7200000},
        // Any other unit is milliseconds per unit.
        {3, 7, -210000, 21},
        {3, 4, -120000, 12},
        {0, std::nullopt, 0, 0},
        // A positive due time is an absolute time long past: the timer fires at once.
        {-5, std::nullopt, 50000, 0},
        {5, -1, 50000, 0},
        {2147483647, 1000, -21474836470000000, 2147483647000},
        // Beyond the 64-bit range the due time saturates instead of wrapping.
        {2147483647, 3, kMin, (uint64_t{1} << 63) / 10000 + 1},
        {-2147483647 - 1, -2147483647 - 1, kMin, (uint64_t{1} << 63) / 10000 + 1},
        {-2147483647 - 1, 2147483647, kMax, 0},
    };
    for (const DueCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.amount << " x unit " << (c.unit ? std::to_string(*c.unit) : "omitted"));
        EXPECT_EQ(WaitDueTime(c.amount, c.unit), c.due);
        EXPECT_EQ(WaitMilliseconds(c.amount, c.unit), c.milliseconds);
    }
}

}  // namespace
