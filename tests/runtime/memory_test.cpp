// The runtime heap: constants are never freed or resized in place; exhaustion is fatal.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/array_block.h"
#include "runtime/byte_set.h"
#include "runtime/memory.h"
#include "runtime/owned.h"
#include "tests/support/test_support.h"

namespace {

alignas(8) uint8_t g_fakeConstants[16] = {'0', '1', '2', '3', '4', '5', '6', '7',
                                          '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};

TEST(RuntimeMemory, LiteralsAndByteSetConstantsAreConstants) {
    static const char kLiteral[] = "constant text";
    EXPECT_TRUE(IsConstantData("a literal"));
    EXPECT_TRUE(IsConstantData(kLiteral));
    EXPECT_TRUE(IsConstantData(kEmptyByteSet));
    void* heap = RuntimeAlloc(8);
    EXPECT_FALSE(IsConstantData(heap));
    int onStack = 0;
    EXPECT_FALSE(IsConstantData(&onStack));
    EXPECT_FALSE(IsConstantData(nullptr));
    RuntimeFree(heap);
}

TEST(RuntimeMemory, FreeingNullOrConstantsDoesNothing) {
    // Under the sanitizers a free of a literal would abort the test program.
    RuntimeFree(nullptr);
    RuntimeFree("a literal");
    RuntimeFree(kEmptyByteSet);
    OwnedText owned(const_cast<char*>("owned constant"));
    EXPECT_STREQ(owned.c_str(), "owned constant");

    // A heap block registered as constant data is one the free must leave alone: freed, its
    // bytes would go to the heap's own bookkeeping (and the sanitizers would stop the reads
    // below as a use after free).
    constexpr char kKept[] = "kept by the heap, never freed";
    auto* block = static_cast<char*>(RuntimeAlloc(sizeof kKept));
    std::memcpy(block, kKept, sizeof kKept);
    RegisterConstantData(block, sizeof kKept);
    RuntimeFree(block);
    { OwnedText owner(block); }  // the owner's free is the same free
    // Blocks of the same size taken now would reuse a freed block and overwrite it.
    std::vector<void*> others;
    for (int i = 0; i < 8; ++i) {
        others.push_back(RuntimeAlloc(sizeof kKept));
        std::memset(others.back(), 'x', sizeof kKept);
        EXPECT_NE(others.back(), block);
    }
    EXPECT_TRUE(IsConstantData(block));
    EXPECT_EQ(std::memcmp(block, kKept, sizeof kKept), 0);
    for (void* other : others)
        RuntimeFree(other);
}

TEST(RuntimeMemory, ResizingAConstantGivesAFreshHeapCopyClampedToTheConstantData) {
    RegisterConstantData(g_fakeConstants, sizeof g_fakeConstants);
    ASSERT_TRUE(IsConstantData(g_fakeConstants + 15));
    EXPECT_EQ(ConstantBytesFrom(g_fakeConstants + 10), 6u);

    // Asking for more than is left up to the end of the constant data copies only what is there.
    auto* copy = static_cast<uint8_t*>(RuntimeRealloc(g_fakeConstants + 10, 100));
    ASSERT_NE(copy, g_fakeConstants + 10);
    EXPECT_FALSE(IsConstantData(copy));
    EXPECT_EQ(std::memcmp(copy, "abcdef", 6), 0);
    copy[0] = 'X';
    EXPECT_EQ(g_fakeConstants[10], 'a');
    RuntimeFree(copy);

    auto* shorter = static_cast<uint8_t*>(RuntimeRealloc(g_fakeConstants, 3));
    EXPECT_EQ(std::memcmp(shorter, "012", 3), 0);
    RuntimeFree(shorter);
}

TEST(RuntimeMemory, ResizingAHeapBlockKeepsItsBytes) {
    auto* p = static_cast<char*>(RuntimeRealloc(nullptr, 4));
    std::memcpy(p, "abc", 4);
    p = static_cast<char*>(RuntimeRealloc(p, 1 << 20));
    EXPECT_STREQ(p, "abc");
    RuntimeFree(p);
}

TEST(RuntimeMemoryDeathTest, ExhaustionShowsTheByteCountWithoutCodeLine) {
    EXPECT_EXIT(
        {
            FailNextAllocationOfSize(12345);
            RuntimeAlloc(12345);
        },
        testing::ExitedWithCode(kFatalExitCode),
        FatalBoxWithText("运行时出错!\r\n\r\n错误信息：分配 12345 字节内存失败!\r\n\r\n0, 0\r\n"));
}

TEST(RuntimeMemoryDeathTest, ExhaustionShowsTheWholeSizeOfAMachineWord) {
    // The largest request of the build: on the 64-bit program a count past 32 bits.
    const size_t n = SIZE_MAX;
    EXPECT_EXIT(
        {
            FailNextAllocationOfSize(n);
            RuntimeAlloc(n);
        },
        testing::ExitedWithCode(kFatalExitCode), FatalBoxContaining("分配 " + std::to_string(n) + " 字节内存失败!"));
}

TEST(RuntimeMemoryDeathTest, ExhaustionWhileResizing) {
    EXPECT_EXIT(
        {
            void* p = RuntimeAlloc(10);
            FailNextAllocationOfSize(777);
            RuntimeRealloc(p, 777);
        },
        testing::ExitedWithCode(kFatalExitCode), FatalBoxContaining("分配 777 字节内存失败!"));
}

TEST(ArrayBlock, CountsAndPrivateCopies) {
    EXPECT_EQ(ArrayMemberCount(nullptr), 0u);
    alignas(8) static const uint32_t kNoDimensions[2] = {0, 5};
    EXPECT_EQ(ArrayMemberCount(kNoDimensions), 0u);
    alignas(8) static const uint32_t kTwoByThree[4] = {2, 2, 3, 0};
    EXPECT_EQ(ArrayMemberCount(kTwoByThree), 6u);

    // A constant array of two integers is copied before the logic may write to it.
    alignas(8) static const uint32_t kConstantInts[4] = {1, 2, 41, 42};
    void* variable = const_cast<uint32_t*>(kConstantInts);
    MakeArrayPrivate(4, &variable);
    ASSERT_NE(variable, kConstantInts);
    EXPECT_EQ(std::memcmp(variable, kConstantInts, sizeof kConstantInts), 0);
    void* again = variable;
    MakeArrayPrivate(4, &again);
    EXPECT_EQ(again, variable) << "a heap array is already private";
    RuntimeFree(variable);

    void* empty = NewEmptyArray();
    EXPECT_EQ(ArrayMemberCount(empty), 0u);
    uint32_t header[2];
    std::memcpy(header, empty, 8);
    EXPECT_EQ(header[0], 1u);
    EXPECT_EQ(header[1], 0u);
    RuntimeFree(empty);
}

TextArray TwoTexts() {
    void* block = NewPointerArray(2);
    char** members = static_cast<char**>(ArrayMembers(block));
    members[0] = static_cast<char*>(RuntimeAlloc(2));
    std::memcpy(members[0], "a", 2);
    return TextArray(block);
}

TEST(TextArrayDeathTest, IndexesOutsideOneToSizeAreRuntimeErrors) {
    TextArray texts = TwoTexts();
    EXPECT_STREQ(texts.Member(1, 0x04000007, 3), "a");
    EXPECT_EQ(texts.Member(2, 0x04000007, 3), nullptr);
    EXPECT_EXIT(texts.Member(3, 0x04000007, 9), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n\r\n67108871, 9\r\n"));
    EXPECT_EXIT(texts.Member(0, 0x04000007, 9), testing::ExitedWithCode(kFatalExitCode),
                FatalBoxContaining("错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"));
}

}  // namespace
