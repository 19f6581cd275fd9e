// The version record of a program whose path reaches the ANSI functions' limit of MAX_PATH
// characters: none, as on Windows, even where the platform (Wine) could read it.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "runtime/version_info.h"
#include "tests/runtime/scratch_folder_win32.h"

namespace {

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n - 1 : 0);
    return wide;
}

std::string Repeat(const std::string& piece, size_t times) {
    std::string text;
    for (size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

// Copies this test program (which has a version resource) to folder\v.exe, making the folders
// through the wide functions, which take paths of any length.
bool PlaceProgram(const std::string& base, const std::string& folder) {
    const std::wstring root = L"\\\\?\\" + Wide(base);
    std::wstring path = root;
    for (size_t start = 0; start < folder.size();) {
        const size_t end = folder.find('\\', start);
        path += L"\\" + Wide(folder.substr(start, end == std::string::npos ? std::string::npos : end - start));
        CreateDirectoryW(path.c_str(), nullptr);
        start = end == std::string::npos ? folder.size() : end + 1;
    }
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return CopyFileW(self, (path + L"\\v.exe").c_str(), FALSE) != FALSE;
}

void RemoveProgram(const std::string& base, const std::string& folder) {
    const std::wstring root = L"\\\\?\\" + Wide(base);
    std::wstring path = L"\\\\?\\" + Wide(base + "\\" + folder);
    DeleteFileW((path + L"\\v.exe").c_str());
    while (path.size() > root.size()) {
        RemoveDirectoryW(path.c_str());
        path.resize(path.rfind(L'\\'));
    }
}

TEST(ReadFileVersionInfoPathLimitTest, ReadsOnlyBelowMaxPathCharacters) {
    ScratchFolder scratch;
    const std::string base = scratch.path();
    // 版 is two bytes: 140 of them are 280 bytes but only 140 characters.
    struct PathCase {
        const char* name;
        std::string folder;
        bool readable;
    };
    const PathCase cases[] = {
        {"short", "short", true},
        {"long in bytes, short in characters", Repeat("版", 70) + "\\" + Repeat("版", 70), true},
        {"past MAX_PATH characters", std::string(120, 'a') + "\\" + std::string(120, 'b'), false},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(PlaceProgram(base, c.folder));
        const std::string program = base + "\\" + c.folder + "\\v.exe";
        FileVersionInfo record;
        EXPECT_EQ(ReadFileVersionInfo(program.c_str(), record), c.readable) << program.size() << " bytes";
        EXPECT_EQ(record.members[kFileVersion] != nullptr, c.readable);
        RemoveProgram(base, c.folder);
    }
}

}  // namespace
