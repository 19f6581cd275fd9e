// Tests of ToText, ZeroByteSet and ByteSetData.
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/byte_set.h"
#include "runtime/text_commands.h"
#include "tests/runtime/text_test_support.h"
#include "tests/support/test_support.h"

namespace {

using std::nullopt;

// A ByteSet block built by hand: words 1 and n, then the bytes.
std::vector<uint8_t> Block(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> block(8 + bytes.size());
    const uint32_t header[2] = {1, static_cast<uint32_t>(bytes.size())};
    std::memcpy(block.data(), header, 8);
    if (!bytes.empty())
        std::memcpy(block.data() + 8, bytes.data(), bytes.size());
    return block;
}

std::vector<uint8_t> Bytes(const std::string& s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

TEST(ToText, ConvertsEveryBasicType) {
    struct Case {
        const char* name;
        TaggedValue value;
        const char* expected;
    };
    const Case cases[] = {
        {"text", TaggedValue::OfText("a\xC3\xE1"), "a\xC3\xE1"},
        {"null text", TaggedValue::OfText(nullptr), ""},
        {"byte", TaggedValue::OfByte(200), "200"},
        {"byte 0", TaggedValue::OfByte(0), "0"},
        {"short", TaggedValue::OfShort(-32768), "-32768"},
        {"int", TaggedValue::OfInt(INT_MIN), "-2147483648"},
        {"int max", TaggedValue::OfInt(INT_MAX), "2147483647"},
        {"long", TaggedValue::OfLong(INT64_MIN), "-9223372036854775808"},
        {"long big", TaggedValue::OfLong(12345678901234LL), "12345678901234"},
        {"float", TaggedValue::OfFloat(1.5f), "1.5"},
        {"float tenth", TaggedValue::OfFloat(0.1f), "0.1"},
        {"double", TaggedValue::OfDouble(-2.25), "-2.25"},
        {"double tenth", TaggedValue::OfDouble(0.1), "0.1"},
        {"double whole", TaggedValue::OfDouble(42.0), "42"},
        {"double large", TaggedValue::OfDouble(1e20), "1e+20"},
        {"true", TaggedValue::OfLogical(true), "真"},
        {"false", TaggedValue::OfLogical(false), "假"},
        {"date epoch", TaggedValue::OfDateTime(0.0), "1899年12月30日"},
        {"date", TaggedValue::OfDateTime(45000.0), "2023年3月15日"},
        {"date 1900-02-28", TaggedValue::OfDateTime(60.0), "1900年2月28日"},
        {"date 1900-03-01", TaggedValue::OfDateTime(61.0), "1900年3月1日"},
        {"date and time", TaggedValue::OfDateTime(45000.75), "2023年3月15日18时0分0秒"},
        {"date and seconds", TaggedValue::OfDateTime(2.0 + (3600.0 + 2 * 60 + 3) / 86400.0), "1900年1月1日1时2分3秒"},
        // Before the epoch the fraction is still the time of day.
        {"negative date", TaggedValue::OfDateTime(-1.25), "1899年12月29日6时0分0秒"},
        {"date rounding up to midnight", TaggedValue::OfDateTime(45000.9999999), "2023年3月16日"},
        {"latest date", TaggedValue::OfDateTime(2958465.0), "9999年12月31日"},
        {"earliest date", TaggedValue::OfDateTime(-657434.0), "100年1月1日"},
        {"date beyond", TaggedValue::OfDateTime(1e12), "9999年12月31日"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(ToText(c.value)), c.expected) << c.name;
}

TEST(ToText, LogicalTrueIsAnyNonZeroValue) {
    TaggedValue v = TaggedValue::OfLogical(true);
    v.intValue = -7;
    EXPECT_EQ(Str(ToText(v)), "真");
}

TEST(ToText, TypesWithoutATextFormGiveTheEmptyText) {
    TaggedValue omitted;
    omitted.intValue = 5;
    EXPECT_EQ(ToText(omitted).get(), nullptr);
    TaggedValue window;
    window.tag = ValueTag::WindowRef;
    EXPECT_EQ(ToText(window).get(), nullptr);
    TaggedValue sub;
    sub.tag = ValueTag::SubProgram;
    sub.intValue = 0x401000;
    EXPECT_EQ(ToText(sub).get(), nullptr);
}

TEST(ToText, ByteSetGivesTheBytesBeforeTheFirstZero) {
    struct Case {
        std::string bytes;
        const char* expected;
    };
    const Case cases[] = {
        {std::string("ab\0cd", 5), "ab"},
        {"abc", "abc"},
        {std::string("\0ab", 3), ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> block = Block(Bytes(c.bytes));
        EXPECT_EQ(Str(ToText(TaggedValue::OfByteSet(block.data()))), c.expected) << Escaped(c.bytes);
    }
    EXPECT_EQ(ToText(TaggedValue::OfByteSet(kEmptyByteSet)).get(), nullptr);
    EXPECT_EQ(ToText(TaggedValue::OfByteSet(nullptr)).get(), nullptr);
}

TEST(ZeroByteSet, GivesNZeroBytesOrNull) {
    EXPECT_EQ(ZeroByteSet(0).get(), nullptr);
    EXPECT_EQ(ZeroByteSet(-1).get(), nullptr);
    OwnedByteSet set = ZeroByteSet(5);
    ASSERT_NE(set.get(), nullptr);
    uint32_t header[2];
    std::memcpy(header, set.get(), 8);
    EXPECT_EQ(header[0], 1u);
    EXPECT_EQ(header[1], 5u);
    EXPECT_EQ(set.size(), 5u);
    EXPECT_EQ(std::vector<uint8_t>(set.data(), set.data() + 5), std::vector<uint8_t>(5, 0));
}

struct ReadCase {
    const char* name;
    std::vector<uint8_t> bytes;
    int32_t typeCode;
    int32_t position;  // 0: no position variable
    ValueTag tag;
    int64_t expected;  // the integer read, or the bit pattern of a float or double
    int32_t positionAfter;
};

int64_t Bits(double d) {
    int64_t b;
    std::memcpy(&b, &d, 8);
    return b;
}

int64_t ValueBits(const TaggedValue& v) {
    switch (v.tag) {
        case ValueTag::Byte:
            return v.byteValue;
        case ValueTag::Short:
            return v.shortValue;
        case ValueTag::Int:
        case ValueTag::Logical:
            return v.intValue;
        case ValueTag::Long:
            return v.longValue;
        case ValueTag::Float:
            return Bits(v.floatValue);
        case ValueTag::Double:
        case ValueTag::DateTime:
            return Bits(v.doubleValue);
        case ValueTag::SubProgram:
            return static_cast<int64_t>(reinterpret_cast<uintptr_t>(v.pointer));
        default:
            return -999;
    }
}

std::vector<uint8_t> BytesOf(double d) {
    std::vector<uint8_t> b(8);
    std::memcpy(b.data(), &d, 8);
    return b;
}

std::vector<uint8_t> BytesOf(float f) {
    std::vector<uint8_t> b(4);
    std::memcpy(b.data(), &f, 4);
    return b;
}

TEST(ByteSetData, ReadsEachTypeLittleEndianAndAdvancesThePosition) {
    const std::vector<uint8_t> eight = {1, 2, 3, 4, 5, 6, 7, 8};
    const ReadCase cases[] = {
        {"byte", eight, 1, 0, ValueTag::Byte, 1, 0},
        {"byte at 8", eight, 1, 8, ValueTag::Byte, 8, -1},
        {"byte at 7", eight, 1, 7, ValueTag::Byte, 7, 8},
        {"short", eight, 2, 1, ValueTag::Short, 0x0201, 3},
        {"short negative", {0xFE, 0xFF}, 2, 0, ValueTag::Short, -2, 0},
        {"int", eight, 3, 1, ValueTag::Int, 0x04030201, 5},
        {"int at 5", eight, 3, 5, ValueTag::Int, 0x08070605, -1},
        {"int at 4", eight, 3, 4, ValueTag::Int, 0x07060504, 8},
        {"long", eight, 4, 1, ValueTag::Long, 0x0807060504030201LL, -1},
        {"float", BytesOf(1.5f), 5, 0, ValueTag::Float, Bits(1.5f), 0},
        {"double", BytesOf(-0.75), 6, 0, ValueTag::Double, Bits(-0.75), 0},
        {"logical true", {0, 0, 1, 0}, 7, 0, ValueTag::Logical, 1, 0},
        {"logical false", {0, 0, 0, 0, 9}, 7, 1, ValueTag::Logical, 0, 5},
        {"date", BytesOf(45000.5), 8, 0, ValueTag::DateTime, Bits(45000.5), 0},
        {"date too late", BytesOf(1e7), 8, 0, ValueTag::DateTime, Bits(2958465.0), 0},
        {"date too early", BytesOf(-1e7), 8, 0, ValueTag::DateTime, Bits(-657434.0), 0},
        {"sub-program", {0x00, 0x10, 0x40, 0x00, 0xFF}, 9, 1, ValueTag::SubProgram, 0x401000, 5},
        // Too few bytes left: the missing high bytes are zero, and the position runs off the end.
        {"int short of bytes", {1, 2, 3, 4}, 3, 3, ValueTag::Int, 0x0403, -1},
        {"long short of bytes", {1, 2, 3}, 4, 0, ValueTag::Long, 0x030201, 0},
        {"past the end", eight, 3, 9, ValueTag::Int, 0, -1},
        {"far past the end", eight, 1, 1000, ValueTag::Byte, 0, -1},
        // A position below 1 leaves nothing to read.
        {"negative position", eight, 3, -100, ValueTag::Int, 0, -1},
        {"empty", {}, 3, 1, ValueTag::Int, 0, -1},
        {"empty without position", {}, 6, 0, ValueTag::Double, 0, 0},
    };
    for (const ReadCase& c : cases) {
        const std::vector<uint8_t> block = Block(c.bytes);
        int32_t position = c.position;
        const ReadValue read = ByteSetData(block.data(), c.typeCode, c.position != 0 ? &position : nullptr);
        EXPECT_EQ(read.tag(), c.tag) << c.name;
        EXPECT_EQ(ValueBits(read.value()), c.expected) << c.name;
        if (c.position != 0) {
            EXPECT_EQ(position, c.positionAfter) << c.name;
        }
        EXPECT_EQ(read.text(), nullptr) << c.name;
    }
}

TEST(ByteSetData, PositionZeroAndMinusOneReadNothing) {
    const std::vector<uint8_t> block = Block({7, 7, 7, 7});
    for (int32_t start : {0, -1}) {
        int32_t position = start;
        EXPECT_EQ(ByteSetData(block.data(), 3, &position).value().intValue, 0) << start;
        EXPECT_EQ(position, -1) << start;
        position = start;
        EXPECT_EQ(ByteSetData(block.data(), 10, &position).text(), nullptr) << start;
        EXPECT_EQ(position, -1) << start;
    }
}

TEST(ByteSetData, ReadsTextUpToTheFirstZeroByte) {
    struct Case {
        std::string bytes;
        int32_t position;  // 0: no position variable
        const char* expected;
        int32_t positionAfter;
    };
    const Case cases[] = {
        {std::string("ab\0cd", 5), 0, "ab", 0},
        {std::string("ab\0cd", 5), 1, "ab", 4},
        {std::string("ab\0cd", 5), 4, "cd", -1},
        {std::string("ab\0cd", 5), 2, "b", 4},
        {std::string("ab\0", 3), 1, "ab", -1},
        {std::string("\0\0x", 3), 1, "", 2},
        {std::string("\0\0x", 3), 2, "", 3},
        {"\xCC\xE1\xCA\xBE", 1, "\xCC\xE1\xCA\xBE", -1},
        {"abc", 4, "", -1},
        {"", 0, "", 0},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> block = Block(Bytes(c.bytes));
        int32_t position = c.position;
        const ReadValue read = ByteSetData(block.data(), 10, c.position != 0 ? &position : nullptr);
        EXPECT_EQ(read.tag(), ValueTag::Text) << Escaped(c.bytes) << " at " << c.position;
        EXPECT_EQ(std::string(read.text() ? read.text() : ""), c.expected) << Escaped(c.bytes) << " at " << c.position;
        EXPECT_EQ(read.value().text, read.text());
        if (read.text() != nullptr) {
            EXPECT_NE(read.text()[0], '\0') << "an empty text must be null";
            EXPECT_FALSE(IsConstantData(read.text()));
        }
        if (c.position != 0) {
            EXPECT_EQ(position, c.positionAfter) << Escaped(c.bytes) << " at " << c.position;
        }
    }
}

TEST(ByteSetData, ReadsTheEmptyByteSetConstantAsNothing) {
    EXPECT_EQ(ByteSetData(kEmptyByteSet, 10).text(), nullptr);
    EXPECT_EQ(ByteSetData(nullptr, 10).text(), nullptr);
    EXPECT_EQ(ByteSetData(kEmptyByteSet, 4).value().longValue, 0);
}

TEST(ByteSetDataDeathTest, AnInvalidTypeCodeIsFatal) {
    const std::vector<uint8_t> block = Block({1, 2, 3, 4});
    for (int32_t typeCode : {0, 11, -1}) {
        EXPECT_EXIT(ByteSetData(block.data(), typeCode), testing::ExitedWithCode(kFatalExitCode),
                    FatalBoxWithText("运行时出错!\r\n\r\n错误信息：“欲取出数据的类型”参数值无效\r\n\r\n0, 0\r\n"))
            << "type code " << typeCode;
    }
}

}  // namespace
