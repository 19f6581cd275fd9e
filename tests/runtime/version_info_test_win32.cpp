// Reading the version record of the test program itself, whose resource version_fixture.rc holds.
#include "runtime/version_info.h"

#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "runtime/memory.h"
#include "tests/runtime/scratch_folder_win32.h"

namespace {

std::string OwnPath() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_GT(n, 0u);
    return std::string(path, n);
}

std::string Member(const FileVersionInfo& record, VersionMember m) {
    return record.members[m] ? record.members[m] : "<null>";
}

std::string LanguageName(WORD language) {
    char name[256] = {};
    VerLanguageNameA(language, name, sizeof name);
    return name;
}

std::string Repeat(const std::string& piece, size_t times) {
    std::string text;
    for (size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

char* HeapText(const char* text) {
    auto* block = static_cast<char*>(RuntimeAlloc(std::strlen(text) + 1));
    std::strcpy(block, text);
    return block;
}

TEST(ReadFileVersionInfoTest, MembersOfTheFirstTranslation) {
    FileVersionInfo record;
    ASSERT_TRUE(ReadFileVersionInfo(OwnPath().c_str(), record));
    const std::string longDigits = Repeat("0123456789", 30);
    const struct {
        VersionMember member;
        std::string value;
    } cases[] = {
        {kFileVersion, "6.1.7601.17514 (fixture)"},
        {kFileDescription, "运行时测试"},
        {kInternalName, "runtime_tests"},
        {kCompanyName, "TovUSB"},
        // 300 two-byte characters: cut at a character boundary, 127 characters in 254 bytes.
        {kLegalCopyright, Repeat("版本", 63) + "版"},
        // The other translation's block has this one; the record reads only the first block.
        {kLegalTrademarks, "<null>"},
        {kOriginalFilename, "runtime_tests.exe"},
        {kProductName, "TovUSB 运行时"},
        {kProductVersion, "1.0"},
        // 300 characters: the first 255.
        {kComments, longDigits.substr(0, 255)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Member(record, c.member), c.value) << "member " << c.member + 1;
    // Both translation entries are named, in table order.
    EXPECT_EQ(Member(record, kLanguageNames), LanguageName(0x0804) + ", " + LanguageName(0x0409));
    EXPECT_NE(LanguageName(0x0804), LanguageName(0x0409));
}

TEST(ReadFileVersionInfoTest, EveryFilledMemberIsA256ByteBlock) {
    FileVersionInfo record;
    ASSERT_TRUE(ReadFileVersionInfo(OwnPath().c_str(), record));
    for (int m = 0; m < kVersionMemberCount; ++m) {
        if (record.members[m] == nullptr)
            continue;
        EXPECT_EQ(HeapSize(GetProcessHeap(), 0, record.members[m]), 256u) << "member " << m + 1;
        EXPECT_LE(std::strlen(record.members[m]), 255u);
    }
}

TEST(ReadFileVersionInfoTest, FileWithoutResourceEmptiesTheRecord) {
    ScratchFolder temp;
    const std::string plain = temp / "plain.txt";
    ScratchFolder::WriteFile(plain, "no resource here");
    FileVersionInfo record;
    for (int m = 0; m < kVersionMemberCount; ++m)
        record.members[m] = HeapText("left over");
    for (const std::string& path : {plain, temp / "missing.exe", std::string()}) {
        EXPECT_FALSE(ReadFileVersionInfo(path.c_str(), record)) << path;
        for (int m = 0; m < kVersionMemberCount; ++m)
            EXPECT_EQ(record.members[m], nullptr) << path << " member " << m + 1;
    }
}

TEST(ReadFileVersionInfoTest, RereadingReplacesTheMembers) {
    FileVersionInfo record;
    record.members[kLegalTrademarks] = HeapText("stale");
    ASSERT_TRUE(ReadFileVersionInfo(OwnPath().c_str(), record));
    EXPECT_EQ(record.members[kLegalTrademarks], nullptr) << "a member the resource lacks is emptied";
    ASSERT_TRUE(ReadFileVersionInfo(OwnPath().c_str(), record));
    EXPECT_EQ(Member(record, kFileVersion), "6.1.7601.17514 (fixture)");
}

}  // namespace
