// Splitting the DISM simulator's command line by the C runtime's rules, GBK-aware.
#include "tools/dism_sim/command_line.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* name;
    std::string line;
    std::vector<std::string> args;
};

TEST(SplitCommandLine, FollowsTheRuntimeRules) {
    const SplitCase cases[] = {
        {"precise import form",
         "X:\\TovUSB\\\\dism\\x64\\dism.exe  /Image:D:\\  /Add-Driver /Driver:X:\\TovUSB\\\\Win7X64\\Intel_7\\  "
         "/Recurse  /ForceUnsigned",
         {"X:\\TovUSB\\\\dism\\x64\\dism.exe", "/Image:D:\\", "/Add-Driver", "/Driver:X:\\TovUSB\\\\Win7X64\\Intel_7\\",
          "/Recurse", "/ForceUnsigned"}},
        {"trailing blank adds nothing", "dism.exe /Recurse ", {"dism.exe", "/Recurse"}},
        {"unquoted space splits",
         "dism.exe /Driver:C:\\My Drivers /Recurse",
         {"dism.exe", "/Driver:C:\\My", "Drivers", "/Recurse"}},
        {"quoted space joins",
         "dism.exe /Driver:\"C:\\My Drivers\" /Recurse",
         {"dism.exe", "/Driver:C:\\My Drivers", "/Recurse"}},
        {"backslash before the closing mark escapes it",
         "p \"C:\\My Drivers\\\" /Recurse",
         {"p", "C:\\My Drivers\" /Recurse"}},
        {"two backslashes before a mark give one", "p a\\\\\"b c\" d", {"p", "a\\b c", "d"}},
        {"three backslashes give one and a literal mark", "p a\\\\\\\"b", {"p", "a\\\"b"}},
        {"backslashes elsewhere are plain", "p a\\\\b\\", {"p", "a\\\\b\\"}},
        {"doubled mark inside quotes", "p \"a\"\"b\"", {"p", "a\"b"}},
        {"empty quoted argument", "p \"\" x", {"p", "", "x"}},
        {"tabs separate", "p\ta\t\tb", {"p", "a", "b"}},
        {"quoted program name keeps its spaces and backslashes",
         "\"C:\\Program Files\\dism.exe\" /Image:D:\\",
         {"C:\\Program Files\\dism.exe", "/Image:D:\\"}},
        {"program name: marks group, backslashes are plain", "C:\\a\\\"b c\" x", {"C:\\a\\b c", "x"}},
        // 0x81 0x5C is one GBK character: its second byte is no backslash escaping the mark.
        {"GBK pair ending in 0x5C before a mark", "p \"\x81\x5C\" x", {"p", "\x81\x5C", "x"}},
        {"GBK text passes unchanged", "p /Driver:D:\\\xC7\xFD\xB6\xAF", {"p", "/Driver:D:\\\xC7\xFD\xB6\xAF"}},
        {"empty line", "", {}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.name;
}

}  // namespace
