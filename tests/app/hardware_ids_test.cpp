// Splitting devcon's listing and keeping the hardware identifiers.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/inject/device_listing.h"
#include "app/inject/hardware_ids.h"

namespace {

std::vector<std::string> Lines(const char* listing) {
    TextArray lines = SplitListing(listing);
    std::vector<std::string> out;
    for (uint32_t i = 0; i < lines.size(); ++i)
        out.emplace_back(lines[i] ? lines[i] : "");
    return out;
}

std::vector<std::string> Ids(const char* listing) {
    TextArray lines = SplitListing(listing);
    std::vector<std::string> out;
    for (const OwnedText& id : ExtractHardwareIds(lines))
        out.emplace_back(id.c_str());
    return out;
}

TEST(SplitListing, LinesAtCrLf) {
    EXPECT_EQ(Lines(""), std::vector<std::string>{});
    EXPECT_EQ(Lines("\r\n\r\n"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(Lines("A\r\n\r\nB"), (std::vector<std::string>{"A", "", "B"}));
    EXPECT_EQ(Lines("A\r\n"), (std::vector<std::string>{"A"}));
    EXPECT_EQ(Lines("A\nB"), (std::vector<std::string>{"A\nB"}));
}

TEST(ExtractHardwareIds, KeepsTrimmedPciAndUsbIdentifiers) {
    const char* listing =
        "PCI\\VEN_8086&DEV_A36D&SUBSYS_86941043&REV_10\\3&11583659&0&A0\r\n"
        "    Name: Intel(R) USB 3.1 eXtensible Host Controller\r\n"
        "    Hardware IDs:\r\n"
        "        PCI\\VEN_8086&DEV_A36D&CC_0C0330\r\n"
        "        PCI\\VEN_8086&DEV_A36D&CC_0C0330\r\n"
        " \xA1\xA1USB\\VID_8087&PID_0024\xA1\xA1  \r\n"
        "        ACPI\\PNP0A08\r\n"
        "        HID\\VID_046D&PID_C52B\r\n"
        "        pci\\ven_8086&dev_1e31\r\n"
        "\tPCI\\VEN_1033&DEV_0194\r\n"
        "USB\\ROOT_HUB30\\4&1B9A3B2C&0&0\r\n"
        "    Compatible IDs:\r\n"
        "2 matching device(s) found.\r\n";
    EXPECT_EQ(Ids(listing), (std::vector<std::string>{
                                "PCI\\VEN_8086&DEV_A36D&SUBSYS_86941043&REV_10\\3&11583659&0&A0",
                                "PCI\\VEN_8086&DEV_A36D&CC_0C0330",
                                "PCI\\VEN_8086&DEV_A36D&CC_0C0330",
                                "USB\\VID_8087&PID_0024",
                                "\tPCI\\VEN_1033&DEV_0194",  // tabs are no spaces
                                "USB\\ROOT_HUB30\\4&1B9A3B2C&0&0",
                            }));
    EXPECT_TRUE(Ids("\r\n\r\n").empty());
}

TEST(ExtractHardwareIds, MatchesOnlyAtCharacterBoundaries) {
    // "\xB0\x5C" is one GBK character whose second byte looks like a backslash; "\xC1\x55SB"
    // carries "USB" only across a character's second byte.
    EXPECT_TRUE(Ids("\xB0\x5CPCI\r\n").empty());
    EXPECT_TRUE(Ids("\xC1USB\\X\r\n").empty());
    EXPECT_EQ(Ids("\xC1\xA1USB\\X\r\n"), std::vector<std::string>{"\xC1\xA1USB\\X"});
}

TEST(ParseDeviceListing, BlocksPartsAndWhatStandsOutsideThem) {
    const std::vector<ListedDevice> devices = ParseDeviceListing(
        "stray line before any device\r\n"
        "    PCI\\VEN_0000 indented before any device\r\n"
        "PCI\\VEN_8086&DEV_A36D\\3&0\r\n"
        "    NAME:  Intel xHCI  \r\n"
        "    Hardware IDs:\r\n"
        "        PCI\\VEN_8086&DEV_A36D&REV_10\r\n"
        "\xA1\xA1\xA1\xA1PCI\\VEN_8086&DEV_A36D\n"
        "    Compatible IDs:\r\n"
        "\tPCI\\CC_0C0330\r\n"
        "ACPI\\PNP0A08\\0\r\n"
        "1 matching device(s) found.\r\n"
        "    PCI\\VEN_FFFF after the count");
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].instance, "PCI\\VEN_8086&DEV_A36D\\3&0");
    EXPECT_EQ(devices[0].name, "Intel xHCI");
    EXPECT_EQ(devices[0].hardwareIds,
              (std::vector<std::string>{"PCI\\VEN_8086&DEV_A36D&REV_10", "PCI\\VEN_8086&DEV_A36D"}));
    EXPECT_EQ(devices[0].compatibleIds, std::vector<std::string>{"\tPCI\\CC_0C0330"});
    EXPECT_EQ(devices[0].lines.size(), 7u);
    EXPECT_EQ(devices[1].instance, "ACPI\\PNP0A08\\0");
    EXPECT_TRUE(devices[1].name.empty());
    EXPECT_EQ(devices[1].lines.size(), 1u);
    EXPECT_TRUE(ParseDeviceListing("").empty());
    EXPECT_TRUE(ParseDeviceListing(nullptr).empty());
}

TEST(LogEntryLines, TextAndTwoLineEnds) {
    EXPECT_STREQ(LogEntryLines("new").c_str(), "new\r\n\r\n");
    EXPECT_STREQ(LogEntryLines("").c_str(), "\r\n\r\n");
}

}  // namespace
