// File numbers, the registry of open file objects, and line insertion against real files.
#include "runtime/file_numbers.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "tests/runtime/scratch_folder_win32.h"

namespace {

int64_t PositionOf(int32_t number) {
    LARGE_INTEGER zero = {};
    LARGE_INTEGER position = {};
    EXPECT_TRUE(SetFilePointerEx(FileNumberHandle(number), zero, &position, FILE_CURRENT));
    return position.QuadPart;
}

void MoveTo(int32_t number, int64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = offset;
    ASSERT_TRUE(SetFilePointerEx(FileNumberHandle(number), to, nullptr, FILE_BEGIN));
}

std::string Pattern(size_t n) {
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) % 256);
    return bytes;
}

// Closes the number when the test leaves, whatever happened.
class NumberGuard {
  public:
    explicit NumberGuard(int32_t number) : number_(number) {}
    ~NumberGuard() { CloseFileNumber(number_); }
    NumberGuard(const NumberGuard&) = delete;
    NumberGuard& operator=(const NumberGuard&) = delete;

  private:
    int32_t number_;
};

TEST(FileRegistryTest, KindsRegistrationAndRemoval) {
    int a = 0;
    int b = 0;
    EXPECT_EQ(FileObjectKind(&a), -1);
    RegisterFileObject(&a, 7);
    RegisterFileObject(&b, 0);
    EXPECT_EQ(FileObjectKind(&a), 7);
    EXPECT_EQ(FileObjectKind(&b), 0);
    RegisterFileObject(&a, 9);
    EXPECT_EQ(FileObjectKind(&a), 7) << "a second registration changes nothing";
    EXPECT_EQ(UnregisterFileObject(&a), 1);
    EXPECT_EQ(UnregisterFileObject(&a), 0);
    EXPECT_EQ(FileObjectKind(&a), -1);
    EXPECT_EQ(FileObjectKind(&b), 0);
    EXPECT_EQ(UnregisterFileObject(&b), 1);
}

TEST(OpenFileNumberTest, RefusesBadArguments) {
    ScratchFolder temp;
    const std::string file = temp / "f";
    ScratchFolder::WriteFile(file, "0123456789");
    const struct {
        std::string path;
        std::optional<int32_t> mode;
        std::optional<int32_t> sharing;
    } cases[] = {
        {file, 0, 1},
        {file, 7, 1},
        {file, -1, 1},
        {file, 3, 0},
        {file, 3, 5},
        {file, 1, 5},
        {file, std::nullopt, 5},
        {"", std::nullopt, std::nullopt},
        {temp / "missing", 1, 1},
        {temp / "missing", 2, 1},
        {temp / "missing", std::nullopt, std::nullopt},
        {temp / "no\\such", 4, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OpenFileNumber(c.path.c_str(), c.mode, c.sharing), 0)
            << c.path << " mode " << c.mode.value_or(-99) << " sharing " << c.sharing.value_or(-99);
    }
    EXPECT_EQ(ScratchFolder::ReadFile(file), "0123456789");
    EXPECT_FALSE(ScratchFolder::Exists(temp / "missing"));
}

TEST(OpenFileNumberTest, ModesCreateTruncateAndKeep) {
    ScratchFolder temp;
    const struct {
        int32_t mode;
        bool createsMissing;
        bool truncates;
        bool reads;
        bool writes;
    } cases[] = {
        {1, false, false, true, false}, {2, false, false, false, true}, {3, false, false, true, true},
        {4, true, true, false, true},   {5, true, false, false, true},  {6, true, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::string missing = temp / ("missing" + std::to_string(c.mode));
        const int32_t created = OpenFileNumber(missing.c_str(), c.mode);
        EXPECT_EQ(created != 0, c.createsMissing);
        CloseFileNumber(created);
        EXPECT_EQ(ScratchFolder::Exists(missing), c.createsMissing);

        const std::string existing = temp / ("existing" + std::to_string(c.mode));
        ScratchFolder::WriteFile(existing, "abcdef");
        const int32_t number = OpenFileNumber(existing.c_str(), c.mode);
        ASSERT_NE(number, 0);
        EXPECT_EQ(PositionOf(number), 0);
        HANDLE h = FileNumberHandle(number);
        char byte = 0;
        DWORD n = 0;
        EXPECT_EQ(ReadFile(h, &byte, 1, &n, nullptr) && n == 1, c.reads && !c.truncates);
        MoveTo(number, 0);
        EXPECT_EQ(WriteFile(h, "Z", 1, &n, nullptr) != FALSE, c.writes);
        CloseFileNumber(number);
        const std::string expected = c.truncates ? "Z" : (c.writes ? "Zbcdef" : "abcdef");
        EXPECT_EQ(ScratchFolder::ReadFile(existing), expected);
    }
}

TEST(OpenFileNumberTest, SharingDeniesWhatItNames) {
    ScratchFolder temp;
    const std::string file = temp / "f";
    ScratchFolder::WriteFile(file, "x");
    const struct {
        int32_t sharing;
        bool othersRead;
        bool othersWrite;
    } cases[] = {{1, true, true}, {2, false, true}, {3, true, false}, {4, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sharing);
        const int32_t number = OpenFileNumber(file.c_str(), std::nullopt, c.sharing);
        ASSERT_NE(number, 0);
        NumberGuard guard(number);
        for (const DWORD access : {static_cast<DWORD>(GENERIC_READ), static_cast<DWORD>(GENERIC_WRITE)}) {
            HANDLE other = CreateFileA(file.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       0, nullptr);
            EXPECT_EQ(other != INVALID_HANDLE_VALUE, access == GENERIC_READ ? c.othersRead : c.othersWrite)
                << (access == GENERIC_READ ? "read" : "write");
            if (other != INVALID_HANDLE_VALUE)
                CloseHandle(other);
        }
    }
}

TEST(OpenFileNumberTest, NumbersAreRegisteredUntilClosed) {
    ScratchFolder temp;
    const std::string file = temp / "f";
    ScratchFolder::WriteFile(file, "x");
    const int32_t first = OpenFileNumber(file.c_str());
    const int32_t second = OpenFileNumber(file.c_str());
    ASSERT_NE(first, 0);
    ASSERT_NE(second, 0);
    EXPECT_NE(first, second);
    CloseFileNumber(first);
    EXPECT_EQ(FileNumberHandle(first), nullptr);
    CloseFileNumber(first);  // a second close is ignored
    EXPECT_NE(FileNumberHandle(second), nullptr);
    // A number kept after its close names no later file, though the later file may take the
    // closed one's memory.
    const int32_t third = OpenFileNumber(file.c_str());
    ASSERT_NE(third, 0);
    EXPECT_NE(third, first);
    EXPECT_EQ(FileNumberHandle(first), nullptr);
    CloseFileNumber(first);
    EXPECT_NE(FileNumberHandle(third), nullptr);
    CloseFileNumber(third);
    CloseFileNumber(second);
    // With both closed the file can be deleted: the handles are gone.
    EXPECT_TRUE(DeleteFileA(file.c_str()));
}

TEST(InsertTextLinesTest, LineAtTheTopOfAnExistingFile) {
    ScratchFolder temp;
    const std::string file = temp / "log";
    ScratchFolder::WriteFile(file, "0123456789");
    const int32_t number = OpenFileNumber(file.c_str());
    ASSERT_NE(number, 0);
    EXPECT_TRUE(InsertTextLines(number, {TaggedValue::OfText("x")}));
    EXPECT_EQ(PositionOf(number), 3);
    CloseFileNumber(number);
    EXPECT_EQ(ScratchFolder::ReadFile(file), "x\r\n0123456789");
}

TEST(InsertTextLinesTest, EveryValueKindMakesItsLine) {
    ScratchFolder temp;
    const std::string file = temp / "log";
    ScratchFolder::WriteFile(file, "tail");
    const int32_t number = OpenFileNumber(file.c_str());
    ASSERT_NE(number, 0);
    NumberGuard guard(number);
    const uint8_t set[] = {1, 0, 0, 0, 1, 0, 0, 0, 'B'};
    TaggedValue omitted;
    TaggedValue window;
    window.tag = ValueTag::WindowRef;
    EXPECT_TRUE(InsertTextLines(number, {TaggedValue::OfText("中文"), TaggedValue::OfInt(-42), TaggedValue::OfText(""),
                                         TaggedValue::OfByteSet(set), TaggedValue::OfLogical(true), omitted, window,
                                         TaggedValue::OfLogical(false), TaggedValue::OfByte(200),
                                         TaggedValue::OfShort(-7), TaggedValue::OfLong(-5000000000LL)}));
    EXPECT_EQ(ScratchFolder::ReadFile(file), "中文\r\n-42\r\n\r\n真\r\n假\r\n200\r\n-7\r\n-5000000000\r\ntail");
}

TEST(InsertTextLinesTest, SuccessiveCallsFollowEachOther) {
    ScratchFolder temp;
    const std::string file = temp / "log";
    ScratchFolder::WriteFile(file, "old");
    const int32_t number = OpenFileNumber(file.c_str());
    ASSERT_NE(number, 0);
    EXPECT_TRUE(InsertTextLines(number, {TaggedValue::OfText("a")}));
    EXPECT_TRUE(InsertTextLines(number, {TaggedValue::OfText("b"), TaggedValue::OfText("c")}));
    // Nothing to insert: nothing moves and the position stays.
    EXPECT_TRUE(InsertTextLines(number, {TaggedValue::OfByteSet(nullptr)}));
    EXPECT_TRUE(InsertTextLines(number, {}));
    EXPECT_EQ(PositionOf(number), 9);
    CloseFileNumber(number);
    EXPECT_EQ(ScratchFolder::ReadFile(file), "a\r\nb\r\nc\r\nold");

    // Each opening starts at the top again, which keeps a log newest first.
    const int32_t again = OpenFileNumber(file.c_str());
    ASSERT_NE(again, 0);
    EXPECT_TRUE(InsertTextLines(again, {TaggedValue::OfText("new")}));
    CloseFileNumber(again);
    EXPECT_EQ(ScratchFolder::ReadFile(file), "new\r\na\r\nb\r\nc\r\nold");
}

TEST(InsertTextLinesTest, TailsOfManyChunksKeepEveryByte) {
    ScratchFolder temp;
    const std::string file = temp / "big";
    const std::string line(5000, 'L');
    const struct {
        size_t fileSize;
        size_t position;
        std::string text;
    } cases[] = {
        {10000, 0, "x"},
        {10000, 1, "inserted"},
        {10000, 5000, "mid"},
        {10000, 9999, "end"},
        {10000, 10000, "a"},
        {4095, 0, "y"},
        {4096, 0, "y"},
        {4097, 0, "y"},
        {8192, 0, "zz"},
        {8193, 1, "zz"},
        {12288, 4096, "q"},
        {0, 0, "only"},
        {9000, 100, line},  // data longer than a chunk
        // Tails around and past the large buffer that big logs move through.
        {(1 << 16) - 1, 0, "y"},
        {1 << 16, 0, "y"},
        {(1 << 16) + 1, 0, "yy"},
        {(2 << 16) + 5, 1 << 16, "mid"},
        {(3 << 20) + 12345, 777, line},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fileSize << " at " << c.position << " +" << c.text.size());
        const std::string old = Pattern(c.fileSize);
        ScratchFolder::WriteFile(file, old);
        const int32_t number = OpenFileNumber(file.c_str());
        ASSERT_NE(number, 0);
        MoveTo(number, static_cast<int64_t>(c.position));
        EXPECT_TRUE(InsertTextLines(number, {TaggedValue::OfText(c.text.c_str())}));
        EXPECT_EQ(PositionOf(number), static_cast<int64_t>(c.position + c.text.size() + 2));
        CloseFileNumber(number);
        const std::string expected = old.substr(0, c.position) + c.text + "\r\n" + old.substr(c.position);
        const std::string actual = ScratchFolder::ReadFile(file);
        ASSERT_EQ(actual.size(), expected.size());
        EXPECT_TRUE(actual == expected) << "first difference at "
                                        << std::mismatch(actual.begin(), actual.end(), expected.begin()).first -
                                               actual.begin();
    }
}

TEST(InsertTextLinesTest, ReadOnlyFileFailsAndReturnsToItsPosition) {
    ScratchFolder temp;
    const std::string file = temp / "ro";
    const std::string old = Pattern(6000);
    ScratchFolder::WriteFile(file, old);
    for (const int64_t p : {0, 17, 6000}) {
        SCOPED_TRACE(p);
        const int32_t number = OpenFileNumber(file.c_str(), 1);
        ASSERT_NE(number, 0);
        NumberGuard guard(number);
        MoveTo(number, p);
        EXPECT_FALSE(InsertTextLines(number, {TaggedValue::OfText("x")}));
        EXPECT_EQ(PositionOf(number), p);
    }
    EXPECT_TRUE(ScratchFolder::ReadFile(file) == old);
}

TEST(InsertTextLinesTest, UnregisteredNumbersFail) {
    ScratchFolder temp;
    const std::string file = temp / "f";
    ScratchFolder::WriteFile(file, "abc");
    const int32_t number = OpenFileNumber(file.c_str());
    ASSERT_NE(number, 0);
    CloseFileNumber(number);
    // An object another library registered as a disk file has no number: its address (what a
    // 32-bit number once was) names nothing.
    int stranger = 0;
    RegisterFileObject(&stranger, kDiskFileKind);
    const int32_t unknown = static_cast<int32_t>(reinterpret_cast<uintptr_t>(&stranger));
    for (const int32_t n : {0, -1, 12345, unknown, number})
        EXPECT_FALSE(InsertTextLines(n, {TaggedValue::OfText("x")})) << n;
    UnregisterFileObject(&stranger);
    EXPECT_EQ(ScratchFolder::ReadFile(file), "abc");
}

}  // namespace
