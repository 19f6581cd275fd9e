// File and directory commands against real files in a temporary folder.
#include "runtime/file_commands.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "runtime/byte_set.h"
#include "runtime/path_rules.h"
#include "tests/runtime/scratch_folder_win32.h"
#include "tests/support/offline_windows.h"
#include "tests/support/unix_side.h"

namespace {

std::string Bytes(const OwnedByteSet& set) {
    return std::string(reinterpret_cast<const char*>(set.data()), set.size());
}

OwnedByteSet ByteSetOf(const std::string& bytes) {
    return MakeByteSet(bytes.data(), bytes.size());
}

bool RunningOnWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(MakeDirectoryTest, CreatesOneLevelOnly) {
    ScratchFolder temp;
    EXPECT_TRUE(MakeDirectory((temp / "a").c_str()));
    EXPECT_TRUE(GetFileAttributesA((temp / "a").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(MakeDirectory((temp / "a").c_str()).error(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(MakeDirectory((temp / "b\\c").c_str()).error(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(ScratchFolder::Exists(temp / "b"));
    EXPECT_FALSE(MakeDirectory(""));
}

TEST(RemoveDirectoryTreeTest, RemovesNestedContentsAndTheDirectory) {
    ScratchFolder temp;
    const std::string root = temp / "tree";
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\sub").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\sub\\deeper").c_str(), nullptr));
    ScratchFolder::WriteFile(root + "\\a.txt", "a");
    ScratchFolder::WriteFile(root + "\\noextension", "b");
    ScratchFolder::WriteFile(root + "\\sub\\c.bin", "c");
    ScratchFolder::WriteFile(root + "\\sub\\deeper\\中文.txt", "d");
    // The payload's work directory is hidden; the removal must not care.
    SetFileAttributesA(root.c_str(), FILE_ATTRIBUTE_HIDDEN);

    EXPECT_TRUE(RemoveDirectoryTree(root.c_str()));
    EXPECT_FALSE(ScratchFolder::Exists(root));
    EXPECT_TRUE(ScratchFolder::Exists(temp.path()));
}

TEST(RemoveDirectoryTreeTest, LeadingSpacesAreSkipped) {
    ScratchFolder temp;
    const std::string root = temp / "spaced";
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ScratchFolder::WriteFile(root + "\\x", "x");
    EXPECT_TRUE(RemoveDirectoryTree(("   " + root).c_str()));
    EXPECT_FALSE(ScratchFolder::Exists(root));
}

TEST(RemoveDirectoryTreeTest, DotNamesAreKeptAndTheDirectoryWithThem) {
    ScratchFolder temp;
    const std::string root = temp / "tree";
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\sub").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\.git").c_str(), nullptr));
    ScratchFolder::WriteFile(root + "\\.keep", "keep");
    ScratchFolder::WriteFile(root + "\\.git\\inner", "inner");
    ScratchFolder::WriteFile(root + "\\a.txt", "a");
    ScratchFolder::WriteFile(root + "\\sub\\b.txt", "b");

    EXPECT_FALSE(RemoveDirectoryTree(root.c_str()));
    EXPECT_TRUE(ScratchFolder::Exists(root));
    EXPECT_EQ(ScratchFolder::ReadFile(root + "\\.keep"), "keep");
    EXPECT_EQ(ScratchFolder::ReadFile(root + "\\.git\\inner"), "inner");
    EXPECT_FALSE(ScratchFolder::Exists(root + "\\a.txt"));
    EXPECT_FALSE(ScratchFolder::Exists(root + "\\sub"));
}

TEST(RemoveDirectoryTreeTest, ReadOnlyFileKeepsItsDirectory) {
    ScratchFolder temp;
    const std::string root = temp / "tree";
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ScratchFolder::WriteFile(root + "\\locked", "l");
    ScratchFolder::WriteFile(root + "\\free", "f");
    ASSERT_TRUE(SetFileAttributesA((root + "\\locked").c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_FALSE(RemoveDirectoryTree(root.c_str()));
    EXPECT_TRUE(ScratchFolder::Exists(root + "\\locked"));
    EXPECT_FALSE(ScratchFolder::Exists(root + "\\free"));
}

// A folder linked to from the tree (a junction on Windows; a Unix symbolic link, which Wine
// reports the same way) belongs to someone else: the target system, say.
TEST(RemoveDirectoryTreeTest, LinkedFoldersAreNeverEmptied) {
    if (!RunningOnWine())
        GTEST_SKIP() << "the links are made on the Unix side of Wine";
    ScratchFolder temp;
    const std::string root = temp / "tree";
    const std::string outside = temp / "outside";
    ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(outside.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((outside + "\\sub").c_str(), nullptr));
    ScratchFolder::WriteFile(outside + "\\keep.txt", "keep");
    ScratchFolder::WriteFile(outside + "\\sub\\deep.txt", "deep");
    ScratchFolder::WriteFile(root + "\\own.txt", "own");
    const struct {
        std::string link;
        std::string removed;  // what RemoveDirectoryTree is given
    } cases[] = {
        {root + "\\link", root},
        {temp / "rootlink", temp / "rootlink"},
        {temp / "slashlink", temp / "slashlink\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.removed);
        ASSERT_TRUE(StartUnixProgram("/bin/ln",
                                     "-s " + UnixQuoted(UnixPathOf(outside)) + " " + UnixQuoted(UnixPathOf(c.link))));
        DWORD attributes = INVALID_FILE_ATTRIBUTES;
        for (int i = 0; i < 500 && attributes == INVALID_FILE_ATTRIBUTES; ++i) {
            Sleep(20);
            attributes = GetFileAttributesA(c.link.c_str());
        }
        ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "no link";
        ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT);

        // Windows removes the link itself; Wine's RemoveDirectory refuses a link to a folder
        // that is not empty, so the result is not checked here.
        RemoveDirectoryTree(c.removed.c_str());
        EXPECT_EQ(ScratchFolder::ReadFile(outside + "\\keep.txt"), "keep");
        EXPECT_EQ(ScratchFolder::ReadFile(outside + "\\sub\\deep.txt"), "deep");
    }
    EXPECT_FALSE(ScratchFolder::Exists(root + "\\own.txt"));
}

// Windows reads all these as the root of a drive. Each, if not refused, would empty the drive
// before the removal of the root itself failed; here the drive is a folder of the test.
TEST(RemoveDirectoryTreeTest, NoSpellingOfADriveRootEmptiesIt) {
    ScratchFolder temp;
    ASSERT_TRUE(CreateDirectoryA((temp / "sub").c_str(), nullptr));
    ScratchFolder::WriteFile(temp / "keep.txt", "keep");
    ScratchFolder::WriteFile(temp / "sub\\deep.txt", "deep");
    MappedDrive drive(temp.path());
    ASSERT_NE(drive.letter(), 0);
    const std::string d(1, drive.letter());
    char previous[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA((d + ":\\sub").c_str()));
    // Not "/": Wine reads it as the root of its Unix file system, on drive Z:.
    const std::string spellings[] = {
        d + ":\\\\",
        d + ":\\.",
        d + ":\\..\\",
        d + ":\\sub\\..",
        d + ":/",
        d + ":\\. ",
        d + ":\\\\\\sub\\\\..\\\\",
        "\\",
        "..",
        d + ":..",
        "\\\\?\\" + d + ":\\",
        "\\\\?\\" + d + ":\\\\",
        "\\\\?\\" + d + ":\\.",
        "\\\\.\\" + d + ":\\",
    };
    for (const std::string& path : spellings) {
        // Should the system read a spelling as another drive, a broken rule must not reach it.
        char full[MAX_PATH] = {};
        GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
        const std::string form = full;
        if (form.rfind(d + ":", 0) != 0 && form.rfind("\\\\?\\" + d + ":", 0) != 0 &&
            form.rfind("\\\\.\\" + d + ":", 0) != 0) {
            ADD_FAILURE() << path << " is read as " << form;
            continue;
        }
        EXPECT_FALSE(RemoveDirectoryTree(path.c_str())) << path;
        EXPECT_EQ(ScratchFolder::ReadFile(temp / "keep.txt"), "keep") << path;
        EXPECT_EQ(ScratchFolder::ReadFile(temp / "sub\\deep.txt"), "deep") << path;
    }
    ASSERT_TRUE(SetCurrentDirectoryA(previous));
    // A folder below the root goes, however its separators run.
    EXPECT_TRUE(RemoveDirectoryTree((d + ":\\\\sub\\\\").c_str()));
    EXPECT_FALSE(ScratchFolder::Exists(temp / "sub"));
    EXPECT_EQ(ScratchFolder::ReadFile(temp / "keep.txt"), "keep");

    uint64_t free = 0;
    EXPECT_TRUE(DriveFreeSpace((d + ":\\").c_str(), &free));
    EXPECT_GT(free, 0u);
}

TEST(RemoveDirectoryTreeTest, MissingDirectoryGivesFalse) {
    ScratchFolder temp;
    EXPECT_FALSE(RemoveDirectoryTree((temp / "absent").c_str()));
}

// The names in a directory, in enumeration order.
std::string Listing(const std::string& directory) {
    std::string names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names += std::string(found.cFileName) + "|";
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

TEST(RemoveDirectoryTreeTest, RefusesEmptyPathsDrivesAndDriveRoots) {
    ScratchFolder temp;
    // Every refused path would reach the root of the current drive if the refusal were skipped, so
    // first make sure that the removal goes through the rule (only the rule trims spaces) and that
    // the rule refuses each path; a fault then shows up here and never reaches a real root.
    const std::string spaced = temp / "spaced";
    ASSERT_TRUE(CreateDirectoryA(spaced.c_str(), nullptr));
    ASSERT_TRUE(RemoveDirectoryTree((" " + spaced).c_str()));
    char previous[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(temp.path().c_str()));
    const std::string drive = temp.path().substr(0, 2);
    ASSERT_EQ(drive[1], ':');
    const std::string lower = std::string(1, static_cast<char>(drive[0] | 0x20)) + ":";
    const std::string cases[] = {
        "", " ", "     ", drive, "  " + drive, lower, drive + "\\", "  " + drive + "\\", lower + "\\", "C:", "C:\\"};
    for (const std::string& path : cases)
        ASSERT_EQ(RemovableDirectoryPath(path.c_str()), nullptr) << "'" << path << "'";

    const std::string root = Listing(drive);
    const std::string here = Listing(temp.path());
    ASSERT_FALSE(root.empty());
    for (const std::string& path : cases) {
        EXPECT_FALSE(RemoveDirectoryTree(path.c_str())) << "'" << path << "'";
        EXPECT_EQ(Listing(drive), root) << "'" << path << "'";
        EXPECT_EQ(Listing(temp.path()), here) << "'" << path << "'";
    }
    SetCurrentDirectoryA(previous);
}

TEST(FileExistsTest, FilesDirectoriesAndPatterns) {
    ScratchFolder temp;
    ScratchFolder::WriteFile(temp / "one.log", "1");
    ASSERT_TRUE(CreateDirectoryA((temp / "dir").c_str(), nullptr));
    const struct {
        std::string path;
        bool exists;
    } cases[] = {
        {temp / "one.log", true},  {temp / "dir", true},
        {temp.path(), true},       {temp / "*", true},
        {temp / "*.log", true},    {temp / "o?e.*", true},
        {temp / "*.txt", false},   {temp / "two.log", false},
        {temp / "dir\\*", true},  // "." and ".." match inside an empty directory
        {temp / "none\\x", false}, {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileExists(c.path.c_str()), c.exists) << c.path;
}

TEST(ChangeFileAttributesTest, OnlyTheMaskedBitsAreSet) {
    ScratchFolder temp;
    const std::string file = temp / "f";
    ScratchFolder::WriteFile(file, "f");
    const struct {
        int32_t requested;
        DWORD expected;
    } cases[] = {
        {0x27 | 0x80, 0x27},
        // 0x80 (normal) is dropped; attributes 0 leave a plain file, which reads back as normal.
        {0x80, FILE_ATTRIBUTE_NORMAL},
        {0x01, FILE_ATTRIBUTE_READONLY},
        {static_cast<int32_t>(0xFFFFFFFF), 0x27},
        {0x10 | 0x02, FILE_ATTRIBUTE_HIDDEN},  // the directory bit cannot be set
        {0x100 | 0x04, FILE_ATTRIBUTE_SYSTEM},
    };
    for (const auto& c : cases) {
        // Start from a file with bits set, so "sets nothing" also means "clears them".
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
        EXPECT_TRUE(ChangeFileAttributes(file.c_str(), c.requested)) << std::hex << c.requested;
        // Wine reports the archive bit on every ordinary file (it has nowhere to keep it cleared);
        // Windows reports exactly what was set, and "normal" when that is nothing.
        DWORD expected = c.expected;
        if (RunningOnWine())
            expected = (expected & ~FILE_ATTRIBUTE_NORMAL) | FILE_ATTRIBUTE_ARCHIVE;
        EXPECT_EQ(GetFileAttributesA(file.c_str()), expected) << std::hex << c.requested;
    }
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ChangeFileAttributes((temp / "missing").c_str(), 0x01).error(), ERROR_FILE_NOT_FOUND);
}

TEST(ReadFileBytesTest, WholeFileOrNull) {
    ScratchFolder temp;
    ScratchFolder::WriteFile(temp / "empty", "");
    const std::string data("a\0b\r\n\xff\x80z", 8);
    ScratchFolder::WriteFile(temp / "data", data);

    EXPECT_EQ(ReadFileBytes((temp / "missing").c_str()).get(), nullptr);
    EXPECT_EQ(ReadFileBytes((temp / "empty").c_str()).get(), nullptr);
    EXPECT_EQ(ReadFileBytes("").get(), nullptr);
    EXPECT_EQ(ReadFileBytes(temp.path().c_str()).get(), nullptr) << "a directory";

    const OwnedByteSet read = ReadFileBytes((temp / "data").c_str());
    ASSERT_NE(read.get(), nullptr);
    EXPECT_EQ(ByteSetLength(read.get()), 8u);
    EXPECT_EQ(Bytes(read), data);
}

TEST(ReadFileBytesTest, OtherReadersMayShareButNotWriters) {
    ScratchFolder temp;
    const std::string file = temp / "shared";
    ScratchFolder::WriteFile(file, "abc");
    HANDLE reader = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Bytes(ReadFileBytes(file.c_str())), "abc");
    CloseHandle(reader);

    HANDLE writer = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadFileBytes(file.c_str()).get(), nullptr) << "an open writer denies the read";
    CloseHandle(writer);
}

TEST(WriteFileBytesTest, EmptyConstantGivesZeroLengthFile) {
    ScratchFolder temp;
    const std::string file = temp / "out";
    EXPECT_TRUE(WriteFileBytes(file.c_str(), {kEmptyByteSet}));
    EXPECT_TRUE(ScratchFolder::Exists(file));
    EXPECT_EQ(ScratchFolder::ReadFile(file), "");

    ScratchFolder::WriteFile(file, "old contents");
    EXPECT_TRUE(WriteFileBytes(file.c_str(), {kEmptyByteSet}));
    EXPECT_EQ(ScratchFolder::ReadFile(file), "") << "an existing file is emptied";
}

TEST(WriteFileBytesTest, WritesEveryNonEmptySetInOrder) {
    ScratchFolder temp;
    const std::string file = temp / "out";
    ScratchFolder::WriteFile(file, "a much longer old file that must not survive");
    const OwnedByteSet first = ByteSetOf(std::string("first\0", 6));
    const OwnedByteSet second = ByteSetOf("second");
    EXPECT_TRUE(WriteFileBytes(file.c_str(), {first.get(), kEmptyByteSet, nullptr, second.get()}));
    EXPECT_EQ(ScratchFolder::ReadFile(file), std::string("first\0second", 12));

    // A payload-sized set goes out whole.
    std::string big(3 * 1024 * 1024 + 7, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 31 % 253);
    const OwnedByteSet large = ByteSetOf(big);
    EXPECT_TRUE(WriteFileBytes(file.c_str(), {large.get(), first.get()}));
    EXPECT_EQ(ScratchFolder::ReadFile(file), big + std::string("first\0", 6));
}

TEST(WriteFileBytesTest, FailuresCarryTheSystemsCode) {
    ScratchFolder temp;
    const OwnedByteSet data = ByteSetOf("x");
    const std::string file = temp / "busy";
    ScratchFolder::WriteFile(file, "kept");
    HANDLE other = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const struct {
        std::string path;
        DWORD error;
    } cases[] = {
        {"", ERROR_PATH_NOT_FOUND},
        {temp / "missing\\out", ERROR_PATH_NOT_FOUND},
        {temp.path(), ERROR_ACCESS_DENIED},  // a directory
        {file, ERROR_SHARING_VIOLATION},     // the write needs the file to itself
    };
    for (const auto& c : cases)
        EXPECT_EQ(WriteFileBytes(c.path.c_str(), {data.get()}).error(), c.error) << c.path;
    CloseHandle(other);
    EXPECT_EQ(ScratchFolder::ReadFile(file), "kept");
}

}  // namespace
