// Coverage of matched devices by the packages of a driver store, and the report that tells it.
#include <gtest/gtest.h>

#include "app/inject/driver_coverage.h"
#include "runtime/text_commands.h"

namespace {

// Three devices: an xHCI controller the index knows by its compatible ID (its class code in lower
// case, which the survey does not keep but a package still serves), an EHCI controller the index
// does not know, and a hub whose hardware ID the index knows (in lower case there).
constexpr char kListing[] =
    "PCI\\VEN_1B21&DEV_1042&SUBSYS_11421043\\4&0\r\n"
    "    Name: ASMedia xHCI\r\n"
    "    Hardware IDs:\r\n"
    "        PCI\\VEN_1B21&DEV_1042&SUBSYS_11421043\r\n"
    "    Compatible IDs:\r\n"
    "        PCI\\VEN_1B21&DEV_1042\r\n"
    "        pci\\cc_0c0330\r\n"
    "PCI\\VEN_8086&DEV_1E2D\\3&1\r\n"
    "    Name: Intel EHCI\r\n"
    "    Compatible IDs:\r\n"
    "        PCI\\CC_0C0320\r\n"
    "USB\\ROOT_HUB30\\4&2\r\n"
    "    Hardware IDs:\r\n"
    "        USB\\ROOT_HUB30&VID1B21&PID1042\r\n"
    "HID\\VID_046D\\5&3\r\n"
    "    Name: Mouse\r\n";
constexpr char kIndex[] = "A|PCI\\VEN_1B21&DEV_1042|ASM\\asm.inf\r\nB|usb\\root_hub30&vid1b21&pid1042|ASM\\hub.inf";

struct CoverageCase {
    const char* name;
    std::vector<StoredPackage> store;
    // Per matched device (ASMedia, then the hub): the served identifier and INF as reported, or
    // "未覆盖".
    std::vector<std::string> served;
};

TEST(CheckCoverage, MatchedDevicesAgainstStores) {
    const StoredPackage controller = {"asm.inf", "oem3.inf", {"PCI\\VEN_1B21&DEV_1042"}};
    const StoredPackage hub = {"hub.inf", "oem4.inf", {"USB\\ROOT_HUB30&VID1B21&PID1042"}};
    const StoredPackage inBoxEhci = {"ehci.inf", "", {"PCI\\CC_0C0320", "USB\\ROOT_HUB20"}};
    const StoredPackage exact = {"exact.inf", "", {"PCI\\VEN_1B21&DEV_1042&SUBSYS_11421043"}};
    const StoredPackage byClass = {"xhci.inf", "oem9.inf", {"PCI\\CC_0C0330"}};
    const CoverageCase cases[] = {
        {"nothing staged", {inBoxEhci}, {"未覆盖", "未覆盖"}},
        {"controller and hub",
         {inBoxEhci, controller, hub},
         {"PCI\\VEN_1B21&DEV_1042 由 oem3.inf (asm.inf) 提供",
          "USB\\ROOT_HUB30&VID1B21&PID1042 由 oem4.inf (hub.inf) 提供"}},
        {"the hub alone", {hub}, {"未覆盖", "USB\\ROOT_HUB30&VID1B21&PID1042 由 oem4.inf (hub.inf) 提供"}},
        // The hardware ID ranks before the compatible ones, whatever the store's order.
        {"a hardware ID wins",
         {controller, exact, hub},
         {"PCI\\VEN_1B21&DEV_1042&SUBSYS_11421043 由 exact.inf 提供",
          "USB\\ROOT_HUB30&VID1B21&PID1042 由 oem4.inf (hub.inf) 提供"}},
        {"the first compatible ID wins",
         {byClass, controller},
         {"PCI\\VEN_1B21&DEV_1042 由 oem3.inf (asm.inf) 提供", "未覆盖"}},
        {"a class-code driver", {byClass}, {"pci\\cc_0c0330 由 oem9.inf (xhci.inf) 提供", "未覆盖"}},
        {"the first package of an identifier is named",
         {controller, {"again.inf", "oem5.inf", {"PCI\\VEN_1B21&DEV_1042"}}},
         {"PCI\\VEN_1B21&DEV_1042 由 oem3.inf (asm.inf) 提供", "未覆盖"}},
    };
    const TextArray index = SplitText(kIndex, "\r\n");
    for (const CoverageCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<DeviceCoverage> coverage = CheckCoverage(kListing, index, c.store);
        ASSERT_EQ(coverage.size(), 2u);
        EXPECT_EQ(coverage[0].name, "ASMedia xHCI");
        EXPECT_EQ(coverage[1].name, "(无名称)");
        EXPECT_EQ(coverage[1].instance, "USB\\ROOT_HUB30\\4&2");
        const std::vector<std::string> report = CoverageReport(coverage);
        ASSERT_EQ(report.size(), 7u);
        size_t uncovered = 0;
        for (size_t i = 0; i < 2; ++i) {
            const std::string expected = c.served[i] == "未覆盖" ? "  驱动: 未覆盖" : "  驱动: " + c.served[i];
            EXPECT_EQ(report[3 * i + 2], expected);
            EXPECT_EQ(coverage[i].package == nullptr, c.served[i] == "未覆盖");
            uncovered += coverage[i].package == nullptr ? 1 : 0;
        }
        EXPECT_EQ(AllCovered(coverage), uncovered == 0);
        EXPECT_EQ(report.back(), uncovered == 0
                                     ? "覆盖结果: 2 个匹配的设备全部有可用的驱动"
                                     : "覆盖结果: " + std::to_string(uncovered) + " 个匹配的设备未覆盖 (共 2 个)");
        std::string names;
        for (const DeviceCoverage& device : coverage)
            names += device.package == nullptr ? (names.empty() ? "" : "\r\n") + device.name : "";
        EXPECT_EQ(UncoveredNames(coverage), names);
    }
}

TEST(CheckCoverage, NoListingOrNoIndexMatchesNothing) {
    const std::vector<StoredPackage> store = {{"asm.inf", "", {"PCI\\VEN_1B21&DEV_1042"}}};
    EXPECT_TRUE(CheckCoverage("", SplitText(kIndex, "\r\n"), store).empty());
    EXPECT_TRUE(CheckCoverage(kListing, SplitText("A|PCI\\VEN_FFFF&DEV_0001|x\\y.inf", "\r\n"), store).empty());
    EXPECT_TRUE(AllCovered({}));
}

}  // namespace
