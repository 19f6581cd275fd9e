// Path rules: what directory-tree removal refuses, and separator detection in GBK paths.
#include "runtime/path_rules.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(RemovableDirectoryPathTest, RefusesEmptyPathsDrivesAndDriveRoots) {
    const char* refused[] = {nullptr, "", " ", "    ", "C:", "c:", "Z:", "C:\\", "  C:", "   D:\\", "?:", "\xB0:\\"};
    for (const char* path : refused)
        EXPECT_EQ(RemovableDirectoryPath(path), nullptr) << (path ? path : "(null)");
}

TEST(RemovableDirectoryPathTest, AcceptsEverythingElseWithoutLeadingSpaces) {
    const struct {
        const char* path;
        const char* kept;
    } cases[] = {
        {"C:\\TovUSB\\", "C:\\TovUSB\\"},
        {"  C:\\TovUSB", "C:\\TovUSB"},
        {"C:\\\\", "C:\\\\"},  // not only the root
        {"C:/", "C:/"},        // only the backslash makes a root
        {"C:x", "C:x"},        // relative to the drive's current directory
        {"\\\\server\\share", "\\\\server\\share"},
        {"dir", "dir"},
        {"d", "d"},
        {"\tC:", "\tC:"},              // only 0x20 counts as a space
        {"\xA1\xA1X:", "\xA1\xA1X:"},  // nor does the full-width space
        {" :\\", ":\\"},
        {"x :", "x :"},
    };
    for (const auto& c : cases) {
        const char* kept = RemovableDirectoryPath(c.path);
        ASSERT_NE(kept, nullptr) << c.path;
        EXPECT_STREQ(kept, c.kept);
        // The result points into the argument; nothing is copied.
        EXPECT_EQ(kept, c.path + (std::strlen(c.path) - std::strlen(c.kept)));
    }
}

TEST(NamesWholeVolumeTest, DriveShareAndDeviceRootsHoweverSpelt) {
    const struct {
        const char* path;
        bool whole;
    } cases[] = {
        {"C:\\", true},
        {"C:", true},
        {"C:\\\\", true},
        {"C:/", true},
        {"C:\\.", true},
        {"C:\\..\\..", true},
        {"C:\\Windows\\..", true},
        {"C:\\. \\...", true},  // names of dots and spaces are stripped to nothing
        {"\\", true},           // the current drive
        {"\\\\?\\C:\\", true},
        {"\\\\?\\C:", true},  // what Wine makes of "\\?\C:\."
        {"\\\\.\\C:\\\\", true},
        {"\\\\?\\Volume{4c1b02c1-d990-11dc-99ae-806e6f6e6963}\\", true},
        {"\\\\?\\unc\\server\\share\\", true},
        {"\\\\?\\UNC\\server\\share\\x\\..", true},
        {"\\\\server\\share", true},
        {"\\\\server\\share\\\\.", true},
        {"\\\\server", true},
        {"C:\\TovUSB", false},
        {"C:\\TovUSB\\", false},
        {"C:\\\\TovUSB\\\\", false},
        {"C:\\a\\..\\b", false},
        {"C:\\..\\TovUSB", false},  // ".." stops at the root
        {"C:\\\xD6\xD0\\", false},
        {"C:\\\x95\x5C", false},  // the second byte of a character is no separator
        {"\\\\?\\C:\\TovUSB", false},
        {"\\\\?\\UNC\\server\\share\\dir", false},
        {"\\\\server\\share\\dir\\", false},
        {"C:\\.x", false},
        {"TovUSB", false},  // relative: no full path
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NamesWholeVolume(c.path), c.whole) << c.path;
    EXPECT_FALSE(NamesWholeVolume(nullptr));
}

TEST(EndsWithSeparatorTest, LooksAtTheLastCharacterNotTheLastByte) {
    const struct {
        const char* path;
        bool ends;
    } cases[] = {
        {"C:\\Windows", false},           {"C:\\Windows\\", true},     {"\\", true},       {"", false},
        {"C:\\\xD6\xD0\xCE\xC4\\", true},  // "中文\"
        {"C:\\\x95\x5C", false},           // a two-byte character whose second byte is 0x5C
        {"C:\\\x95\x5C\\", true},         {"\x95\x5C\x95\x5C", false}, {"a\\\x95", false},  // a lone lead byte at the
                                                                                            // end
    };
    for (const auto& c : cases)
        EXPECT_EQ(EndsWithSeparator(c.path, std::strlen(c.path)), c.ends) << c.path;
    EXPECT_FALSE(EndsWithSeparator(nullptr, 0));
    EXPECT_TRUE(EndsWithSeparator("ab\\cd", 3)) << "only the first n bytes count";
}

}  // namespace
