// The sandbox's Windows and system directories for a simulated system root.
#include <gtest/gtest.h>

#include "app/sandbox/sandbox_override.h"

namespace {

struct DirectoryCase {
    const char* root;
    int32_t code;
    const char* expected;
};

TEST(SandboxDirectoryTest, AddsSeparatorsOnlyWhereMissing) {
    const DirectoryCase cases[] = {
        {"X:\\Windows", 9, "X:\\Windows\\"},
        {"X:\\Windows", 10, "X:\\Windows\\system32\\"},
        {"X:\\Windows\\", 9, "X:\\Windows\\"},
        {"X:\\Windows\\", 10, "X:\\Windows\\system32\\"},
        {"x:\\windows", 10, "x:\\windows\\system32\\"},
        {"X:\\", 9, "X:\\"},
        {"X:\\", 10, "X:\\system32\\"},
        // A GBK character whose second byte is 0x5C does not end the path in a separator.
        {"X:\\\xB1\x5C", 9, "X:\\\xB1\x5C\\"},
        {"X:\\\xB1\x5C", 10, "X:\\\xB1\x5C\\system32\\"},
        // Other codes and an empty root are left to the system.
        {"X:\\Windows", 11, ""},
        {"X:\\Windows", 1, ""},
        {"", 9, ""},
        {"", 10, ""},
    };
    for (const DirectoryCase& c : cases) {
        SCOPED_TRACE(std::string(c.root) + " code " + std::to_string(c.code));
        EXPECT_EQ(SandboxDirectory(c.root, c.code), c.expected);
    }
}

}  // namespace
