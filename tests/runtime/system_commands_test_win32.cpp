// System queries: the platform family, the special directories and the texts of error codes.
#include "runtime/system_commands.h"

#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EndsInOneSlash(const std::string& path) {
    return path.size() >= 2 && path.back() == '\\' && path[path.size() - 2] != '\\';
}

// The system's whole text for each code, only without the line break it ends in.
TEST(SystemErrorTextTest, TheSystemsTextTrimmedOrNone) {
    for (uint32_t code : {2u, 5u, 32u, 112u, 193u, 0xE0000100u}) {
        char raw[2048] = {};
        const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                       raw, sizeof raw, nullptr);
        const std::string text(SystemErrorText(code).c_str());
        const std::string reason(SystemErrorReason(code).c_str());
        if (n == 0) {
            EXPECT_TRUE(text.empty()) << code;
            EXPECT_EQ(reason.rfind("错误 ", 0), 0u) << code;
            EXPECT_EQ(reason.find(':'), std::string::npos) << code;
            continue;
        }
        ASSERT_FALSE(text.empty()) << code;
        EXPECT_EQ(std::string(raw, n).rfind(text, 0), 0u) << code;
        EXPECT_EQ(std::string(raw + text.size(), n - text.size()).find_first_not_of("\r\n "), std::string::npos)
            << code;
        EXPECT_EQ(std::string("\r\n ").find(text.back()), std::string::npos) << code;
        EXPECT_EQ(reason, "错误 " + std::to_string(code) + ": " + text) << code;
    }
}

TEST(OsPlatformTest, NtFamily) {
    EXPECT_EQ(OsPlatform(), 3);
}

TEST(SpecialDirectoryTest, WindowsSystemAndTemporaryDirectories) {
    char windows[MAX_PATH];
    char system[MAX_PATH];
    char temp[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const struct {
        int32_t code;
        std::string expected;
    } cases[] = {
        {9, std::string(windows) + "\\"},
        {10, std::string(system) + "\\"},
        // The temporary path comes with its separator already: it gets no second one.
        {11, temp},
    };
    for (const auto& c : cases) {
        const OwnedText directory = SpecialDirectory(c.code);
        EXPECT_EQ(std::string(directory.view()), c.expected) << c.code;
        EXPECT_TRUE(EndsInOneSlash(std::string(directory.view()))) << c.code;
    }
}

TEST(SpecialDirectoryTest, ShellFoldersEndInOneSeparator) {
    int found = 0;
    for (int32_t code = 1; code <= 8; ++code) {
        const OwnedText directory = SpecialDirectory(code);
        if (directory.empty())
            continue;  // a shell folder that does not exist is not created
        ++found;
        const std::string path(directory.view());
        EXPECT_TRUE(EndsInOneSlash(path)) << code << ": " << path;
        EXPECT_TRUE(IsDirectory(path)) << code << ": " << path;
    }
    // The prefix has a desktop, a fonts folder and an application data folder at least.
    EXPECT_GE(found, 3);
    EXPECT_NE(std::string(SpecialDirectory(4).view()), std::string(SpecialDirectory(8).view()));
}

TEST(SpecialDirectoryTest, OtherCodesGiveTheEmptyText) {
    for (const int32_t code : {0, 12, -1, 9 + 256, 0x7FFFFFFF})
        EXPECT_EQ(SpecialDirectory(code).get(), nullptr) << code;
}

bool SandboxDirectories(int32_t code, char* buffer, uint32_t size) {
    const char* answer = code == 9 ? "D:\\Sandbox\\Windows" : "D:\\Sandbox\\Windows\\System32\\";
    if (std::strlen(answer) >= size)
        return false;
    std::strcpy(buffer, answer);
    return true;
}

bool DeclineEverything(int32_t, char*, uint32_t) {
    return false;
}

TEST(SpecialDirectoryTest, OverrideAnswersOnlyTheSystemDirectories) {
    const std::string temp(SpecialDirectory(11).view());
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);

    SetSystemDirectoryOverride(SandboxDirectories);
    EXPECT_EQ(std::string(SpecialDirectory(9).view()), "D:\\Sandbox\\Windows\\");
    EXPECT_EQ(std::string(SpecialDirectory(10).view()), "D:\\Sandbox\\Windows\\System32\\");
    EXPECT_EQ(std::string(SpecialDirectory(11).view()), temp);
    EXPECT_EQ(SpecialDirectory(12).get(), nullptr);

    SetSystemDirectoryOverride(DeclineEverything);
    EXPECT_EQ(std::string(SpecialDirectory(9).view()), std::string(windows) + "\\");

    SetSystemDirectoryOverride(nullptr);
    EXPECT_EQ(std::string(SpecialDirectory(9).view()), std::string(windows) + "\\");
}

}  // namespace
