// The sample devcon's listing layout and identifier patterns.
#include "tools/devcon/devcon_listing.h"

#include <gtest/gtest.h>

namespace {

TEST(DevconPatterns, MatchLikeDevcon) {
    struct PatternCase {
        const char* pattern;
        const char* text;
        bool matches;
    } cases[] = {
        {"*", "PCI\\VEN_8086&DEV_1E31", true},
        {"*", "", true},
        {"PCI\\VEN_8086*", "PCI\\VEN_8086&DEV_1E31&CC_0C0330", true},
        {"pci\\ven_8086&dev_1e31", "PCI\\VEN_8086&DEV_1E31", true},
        {"PCI\\VEN_8086", "PCI\\VEN_8086&DEV_1E31", false},
        {"*DEV_1E31*", "PCI\\VEN_8086&DEV_1E31&REV_04", true},
        {"*DEV_1E31", "PCI\\VEN_8086&DEV_1E31&REV_04", false},
        {"USB\\*\\*", "USB\\ROOT_HUB30\\4&1B9A3B2C&0&0", true},
        {"*&*&*", "A&B", false},
        {"", "", true},
        {"", "A", false},
        // Case folding stops at GBK pairs: 0x81 0x61 and 0x81 0x41 are different characters.
        {"\x81\x61", "\x81\x41", false},
        {"\x81\x41*", "\x81\x41x", true},
    };
    for (const PatternCase& c : cases)
        EXPECT_EQ(MatchesPattern(c.pattern, c.text), c.matches) << c.pattern << " / " << c.text;
}

TEST(DevconPatterns, SelectDevicesByIdOrInstance) {
    const DeviceRecord xhci = {"PCI\\VEN_8086&DEV_1E31\\3&11583659&0&A0",
                               "xHCI",
                               {"PCI\\VEN_8086&DEV_1E31&REV_04"},
                               {"PCI\\VEN_8086&DEV_1E31", "PCI\\CC_0C0330"}};
    const DeviceRecord bare = {"ROOT\\LEGACY\\0000", "", {}, {}};
    struct SelectCase {
        std::vector<std::string> patterns;
        bool xhciSelected;
        bool bareSelected;
    } cases[] = {
        {{"*"}, true, true},
        {{"PCI\\CC_0C0330"}, true, false},
        {{"PCI\\VEN_8086&DEV_1E31"}, true, false},
        {{"@PCI\\*"}, true, false},
        {{"@root\\legacy\\*"}, false, true},
        {{"PCI\\VEN_8086&DEV_1E31\\3&11583659&0&A0"}, false, false},
        {{"USB\\*", "@ROOT\\*"}, false, true},
        {{}, false, false},
    };
    for (const SelectCase& c : cases) {
        EXPECT_EQ(DeviceSelected(xhci, c.patterns), c.xhciSelected) << testing::PrintToString(c.patterns);
        EXPECT_EQ(DeviceSelected(bare, c.patterns), c.bareSelected) << testing::PrintToString(c.patterns);
    }
}

TEST(DevconListing, UsesDevconLayout) {
    const std::vector<DeviceRecord> devices = {
        {"PCI\\VEN_8086&DEV_1E31&SUBSYS_05351028&REV_04\\3&11583659&0&A0",
         "Intel(R) USB 3.0 eXtensible Host Controller",
         {"PCI\\VEN_8086&DEV_1E31&SUBSYS_05351028&REV_04", "PCI\\VEN_8086&DEV_1E31&CC_0C0330"},
         {"PCI\\VEN_8086&DEV_1E31&REV_04", "PCI\\VEN_8086&DEV_1E31"}},
        {"USB\\ROOT_HUB30\\4&1B9A3B2C&0&0", "USB Root Hub", {"USB\\ROOT_HUB30&VID8086&PID1E31"}, {}},
        {"ROOT\\SYSTEM\\0000", "\xC7\xFD\xB6\xAF", {}, {}},
        {"ROOT\\UNNAMED\\0000", "", {}, {"GENERIC_DEVICE"}},
    };
    EXPECT_EQ(FormatHwidsListing(devices),
              "PCI\\VEN_8086&DEV_1E31&SUBSYS_05351028&REV_04\\3&11583659&0&A0\r\n"
              "    Name: Intel(R) USB 3.0 eXtensible Host Controller\r\n"
              "    Hardware IDs:\r\n"
              "        PCI\\VEN_8086&DEV_1E31&SUBSYS_05351028&REV_04\r\n"
              "        PCI\\VEN_8086&DEV_1E31&CC_0C0330\r\n"
              "    Compatible IDs:\r\n"
              "        PCI\\VEN_8086&DEV_1E31&REV_04\r\n"
              "        PCI\\VEN_8086&DEV_1E31\r\n"
              "USB\\ROOT_HUB30\\4&1B9A3B2C&0&0\r\n"
              "    Name: USB Root Hub\r\n"
              "    Hardware IDs:\r\n"
              "        USB\\ROOT_HUB30&VID8086&PID1E31\r\n"
              "ROOT\\SYSTEM\\0000\r\n"
              "    Name: \xC7\xFD\xB6\xAF\r\n"
              "    No hardware or compatible IDs found for this device.\r\n"
              "ROOT\\UNNAMED\\0000\r\n"
              "    Compatible IDs:\r\n"
              "        GENERIC_DEVICE\r\n"
              "4 matching device(s) found.\r\n");
    EXPECT_EQ(FormatHwidsListing({}), "No matching devices found.\r\n");
}

}  // namespace
