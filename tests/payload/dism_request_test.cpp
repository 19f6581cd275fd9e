// Reading the DISM simulator's options from the three import forms and from faulty command lines.
#include "tools/dism_sim/dism_request.h"

#include <gtest/gtest.h>

#include "tools/dism_sim/command_line.h"

namespace {

struct RequestCase {
    const char* name;
    std::string parameters;  // what follows the program path, as the tool joins it
    bool ok;
    std::string image;
    std::string driver;
    bool recurse;
    bool forceUnsigned;
    const char* errorMentions;  // when not ok
};

DismParse Parse(const std::string& parameters) {
    std::vector<std::string> args = SplitCommandLine("X:\\TovUSB\\\\dism\\X86\\dism.exe " + parameters);
    args.erase(args.begin());
    return ParseDismArguments(args);
}

TEST(ParseDismArguments, ReadsTheImportFormsAndRejectsFaultyLines) {
    const RequestCase cases[] = {
        {"precise",
         " /Image:D:\\  /Add-Driver /Driver:X:\\TovUSB\\\\Win7X64\\VIA_USB3.0_WinA\\  /Recurse  /ForceUnsigned", true,
         "D:\\", "X:\\TovUSB\\\\Win7X64\\VIA_USB3.0_WinA\\", true, true, nullptr},
        {"fuzzy", " /Image:D:\\  /Add-Driver /Driver:X:\\TovUSB\\\\Win7X86 /Recurse ", true, "D:\\",
         "X:\\TovUSB\\\\Win7X86", true, false, nullptr},
        {"custom", " /Image:D:\\Windows  /Add-Driver /Driver:E:\\drv /Recurse ", true, "D:\\Windows", "E:\\drv", true,
         false, nullptr},
        {"without /Recurse", " /Image:D:\\ /Add-Driver /Driver:E:\\drv", true, "D:\\", "E:\\drv", false, false,
         nullptr},
        {"option names ignore case", " /image:D:\\ /ADD-DRIVER /driver:E:\\drv /recurse /forceunsigned", true, "D:\\",
         "E:\\drv", true, true, nullptr},
        {"quoted path with a space", " /Image:D:\\  /Add-Driver /Driver:\"E:\\my drivers\" /Recurse ", true, "D:\\",
         "E:\\my drivers", true, false, nullptr},
        {"unquoted path with a space", " /Image:D:\\  /Add-Driver /Driver:E:\\my drivers /Recurse ", false, "", "",
         false, false, "\"drivers\""},
        {"unquoted image with a space", " /Image:D:\\Old Windows  /Add-Driver /Driver:E:\\drv /Recurse ", false, "", "",
         false, false, "\"Windows\""},
        {"unknown option", " /Online /Add-Driver /Driver:E:\\drv", false, "", "", false, false, "/Online"},
        {"no image", " /Add-Driver /Driver:E:\\drv", false, "", "", false, false, "/Image"},
        {"no servicing command", " /Image:D:\\ /Driver:E:\\drv", false, "", "", false, false, "/Add-Driver"},
        {"no driver", " /Image:D:\\ /Add-Driver /Recurse", false, "", "", false, false, "/Driver"},
        {"empty image value", " /Image: /Add-Driver /Driver:E:\\drv", false, "", "", false, false, "/Image"},
        {"repeated option", " /Image:D:\\ /Add-Driver /Driver:E:\\a /Driver:E:\\b", false, "", "", false, false,
         "/Driver"},
        {"value on a switch", " /Image:D:\\ /Add-Driver /Driver:E:\\a /Recurse:yes", false, "", "", false, false,
         "/Recurse"},
    };
    for (const RequestCase& c : cases) {
        const DismParse parse = Parse(c.parameters);
        ASSERT_EQ(parse.ok, c.ok) << c.name << ": " << parse.error;
        if (c.ok) {
            EXPECT_EQ(parse.request.image, c.image) << c.name;
            EXPECT_EQ(parse.request.driver, c.driver) << c.name;
            EXPECT_EQ(parse.request.recurse, c.recurse) << c.name;
            EXPECT_EQ(parse.request.forceUnsigned, c.forceUnsigned) << c.name;
        } else {
            EXPECT_NE(parse.error.find(c.errorMentions), std::string::npos) << c.name << ": " << parse.error;
        }
    }
}

}  // namespace
