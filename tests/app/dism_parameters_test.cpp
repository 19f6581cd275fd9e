// DISM parameter texts: byte-exact without spaces, one argument each with them.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/inject/dism_parameters.h"
#include "tests/app/windows_argv.h"

namespace {

TEST(DismParameters, ExactTextsForPathsWithoutSpaces) {
    EXPECT_STREQ(
        PreciseImportParameters("D:\\", "X:\\TovUSB\\Win7X64\\Intel_7_USB3.0_Win7\\").c_str(),
        " /Image:D:\\  /Add-Driver /Driver:X:\\TovUSB\\Win7X64\\Intel_7_USB3.0_Win7\\  /Recurse  /ForceUnsigned");
    EXPECT_STREQ(FuzzyImportParameters("D:\\", "X:\\TovUSB\\", true).c_str(),
                 " /Image:D:\\  /Add-Driver /Driver:X:\\TovUSB\\\\Win7X64 /Recurse ");
    EXPECT_STREQ(FuzzyImportParameters("E:\\", "X:\\TovUSB\\", false).c_str(),
                 " /Image:E:\\  /Add-Driver /Driver:X:\\TovUSB\\\\Win7X86 /Recurse ");
    EXPECT_STREQ(CustomImportParameters("D:\\", "E:\\drv").c_str(),
                 " /Image:D:\\  /Add-Driver /Driver:E:\\drv /Recurse ");
    // An empty custom folder still goes on the line as it stands.
    EXPECT_STREQ(CustomImportParameters("D:\\", "").c_str(), " /Image:D:\\  /Add-Driver /Driver: /Recurse ");
}

TEST(ImageRootOfWindowsDirectory, TheFolderAboveTheWindowsDirectory) {
    EXPECT_STREQ(ImageRootOfWindowsDirectory("D:\\Windows").c_str(), "D:\\");
    EXPECT_STREQ(ImageRootOfWindowsDirectory("D:\\Windows\\").c_str(), "D:\\");
    EXPECT_STREQ(ImageRootOfWindowsDirectory("D:\\images\\win7\\Windows").c_str(), "D:\\images\\win7\\");
    EXPECT_STREQ(ImageRootOfWindowsDirectory("Windows").c_str(), "Windows");
}

TEST(DismParameters, PathsWithSpacesStayOneArgument) {
    const char* const paths[] = {
        "D:\\My Windows\\",        // trailing separator before the closing quote
        "D:\\a b\\\\",             // two trailing separators
        "E:\\drivers\\usb 3",      // plain
        "E:\\say \"hi\"\\x",       // a quote typed into the edit box
        "E:\\tab\there",           // a tab splits arguments too
        "E:\\\x95\x5C dir\\",      // a GBK character ending in 0x5C before the closing quote
        "E:\\\\server share\\\"",  // backslashes before a quote
    };
    for (const char* path : paths) {
        OwnedText parameters = CustomImportParameters(path, path);
        const std::vector<std::string> argv = SplitWindowsArguments(std::string("dism.exe") + parameters.c_str());
        ASSERT_EQ(argv.size(), 5u) << parameters.c_str();
        EXPECT_EQ(argv[1], std::string("/Image:") + path) << parameters.c_str();
        EXPECT_EQ(argv[2], "/Add-Driver");
        EXPECT_EQ(argv[3], std::string("/Driver:") + path) << parameters.c_str();
        EXPECT_EQ(argv[4], "/Recurse");
    }
    EXPECT_STREQ(DismPathArgument("D:\\My Windows\\").c_str(), "\"D:\\My Windows\\\\\"");
    EXPECT_STREQ(DismPathArgument("X:\\plain\\").c_str(), "X:\\plain\\");
}

TEST(DismSucceeded, OnlyStartedRunsEndingInZeroOrRestart) {
    EXPECT_TRUE(DismSucceeded(true, 0));
    EXPECT_TRUE(DismSucceeded(true, 3010));
    EXPECT_FALSE(DismSucceeded(true, 2));
    EXPECT_FALSE(DismSucceeded(true, 87));
    EXPECT_FALSE(DismSucceeded(true, 0xC0000005));
    EXPECT_FALSE(DismSucceeded(false, 0));
}

}  // namespace
