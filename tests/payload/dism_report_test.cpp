// The DISM simulator's path rules and version text.
#include "tools/dism_sim/dism_report.h"

#include <gtest/gtest.h>

namespace {

TEST(DismPaths, JoinNameAndRecognisePackages) {
    struct JoinCase {
        const char* folder;
        const char* name;
        const char* joined;
    } joins[] = {
        {"D:\\drv", "a.inf", "D:\\drv\\a.inf"},
        {"D:\\drv\\", "a.inf", "D:\\drv\\a.inf"},
        {"X:\\TovUSB\\\\Win7X64", "x.inf", "X:\\TovUSB\\\\Win7X64\\x.inf"},
        {"D:/drv/", "a.inf", "D:/drv/a.inf"},
        {"", "a.inf", "a.inf"},
        // The GBK character 0x81 0x5C ends the folder name: a separator is still needed.
        {"D:\\\x81\x5C", "a.inf", "D:\\\x81\x5C\\a.inf"},
    };
    for (const JoinCase& c : joins)
        EXPECT_EQ(JoinPath(c.folder, c.name), c.joined) << c.folder;

    struct NameCase {
        const char* path;
        const char* name;
        bool inf;
    } names[] = {
        {"D:\\drv\\sub\\usb3.inf", "usb3.inf", true},
        {"D:\\drv\\USB3.INF", "USB3.INF", true},
        {"D:/drv/Usb3.Inf", "Usb3.Inf", true},
        {"a.inf", "a.inf", true},
        {"D:\\drv\\usb3.inf.txt", "usb3.inf.txt", false},
        {"D:\\drv\\readme.txt", "readme.txt", false},
        {"D:\\drv\\inf", "inf", false},
        {"D:\\\x81\x5C"
         "b.inf",
         "\x81\x5C"
         "b.inf",
         true},
    };
    for (const NameCase& c : names) {
        EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
        EXPECT_EQ(HasInfExtension(FileNamePart(c.path)), c.inf) << c.path;
    }

    EXPECT_EQ(PublishedInfPath("D:\\", 7), "D:\\Windows\\inf\\oem7.inf");
}

TEST(DismPaths, StoreFolderNamesThePackageAndItsBytes) {
    const std::string store = "D:\\Image\\Windows\\System32\\DriverStore\\FileRepository\\";
    const std::string a = DriverStoreFolder("D:\\Image", "B.INF", true, "[Version]\r\n");
    ASSERT_EQ(a.rfind(store + "b.inf_amd64_neutral_", 0), 0u) << a;
    const std::string digits = a.substr((store + "b.inf_amd64_neutral_").size());
    EXPECT_EQ(digits.size(), 16u);
    EXPECT_EQ(digits.find_first_not_of("0123456789abcdef"), std::string::npos) << digits;
    EXPECT_EQ(DriverStoreFolder("D:\\Image\\", "b.inf", true, "[Version]\r\n"), a);
    EXPECT_NE(DriverStoreFolder("D:\\Image", "B.INF", true, "[Version]\n"), a);
    EXPECT_EQ(DriverStoreFolder("D:\\Image", "B.INF", false, "[Version]\r\n"), store + "b.inf_x86_neutral_" + digits);
    // A GBK name keeps its trail bytes, even one that reads as a capital letter.
    EXPECT_EQ(FileNamePart(DriverStoreFolder("D:\\", "\x81\x41X.inf", false, "")).substr(0, 7), "\x81\x41x.inf");
}

TEST(DismPaths, ReportOrderIgnoresCase) {
    std::vector<std::string> paths = {"D:\\drv\\b\\Z.inf", "D:\\drv\\C.inf", "D:\\drv\\a.inf", "D:\\drv\\B\\y.inf"};
    SortPathsForReport(paths);
    EXPECT_EQ(paths,
              (std::vector<std::string>{"D:\\drv\\a.inf", "D:\\drv\\B\\y.inf", "D:\\drv\\b\\Z.inf", "D:\\drv\\C.inf"}));
}

TEST(DismReport, VersionTexts) {
    EXPECT_EQ(FormatFileVersion(0x00060001, 0x1DB1446A), "6.1.7601.17514");
    EXPECT_EQ(FormatFileVersion(0x000A0000, 0x4A610001), "10.0.19041.1");
    EXPECT_EQ(DismImageVersion(""), "Image Version: unknown\r\n\r\n");
    EXPECT_EQ(DismErrorBlock(87, "Bad."), "\r\nError: 87\r\n\r\nBad.\r\n\r\n");
}

}  // namespace
