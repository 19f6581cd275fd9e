// Tests of the joining, comparing, cutting, casing and trimming text commands.
#include "runtime/text_commands.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "tests/runtime/text_test_support.h"

namespace {

TEST(ExecutionCharset, ChineseLiteralsAreGbkBytes) {
    EXPECT_EQ(std::string("提示"), std::string("\xCC\xE1\xCA\xBE"));
    EXPECT_EQ(std::string("　"), std::string("\xA1\xA1"));  // the full-width space
}

TEST(ConcatText, JoinsPartsInOrderAndCountsNullAsEmpty) {
    EXPECT_EQ(Str(ConcatText("C:\\", "TovUSB", "\\\\USB.7z")), "C:\\TovUSB\\\\USB.7z");
    EXPECT_EQ(Str(ConcatText(nullptr, "ab", "", nullptr, "c")), "abc");
    EXPECT_EQ(Str(ConcatText("\xCC\xE1", "\xCA\xBE")), "\xCC\xE1\xCA\xBE");
}

TEST(ConcatText, EmptyPartsGiveAHeapBlockHoldingOnlyTheTerminator) {
    for (const char* empty : {static_cast<const char*>(nullptr), ""}) {
        OwnedText joined = ConcatText(empty, empty);
        ASSERT_NE(joined.get(), nullptr);
        EXPECT_EQ(joined.get()[0], '\0');
        EXPECT_FALSE(IsConstantData(joined.get()));
    }
}

TEST(CompareText, OrdersByUnsignedBytesExactly) {
    struct Case {
        const char* a;
        const char* b;
        int32_t expected;
    };
    const Case cases[] = {
        {"a", "A", 1},
        {"A", "a", -1},
        {nullptr, "", 0},
        {"", nullptr, 0},
        {nullptr, "a", -1},
        {"a", nullptr, 1},
        {"ab", "abc", -1},
        {"abc", "ab", 1},
        {"abc", "abc", 0},
        {"\x80", "\x7F", 1},  // unsigned: a lead byte is above every ASCII byte
        {"\xC3\xE1", "\xC3\xE2", -1},
        {"x\xFF", "x\x01", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareText(c.a, c.b), c.expected)
            << Escaped(c.a ? c.a : "(null)") << " vs " << Escaped(c.b ? c.b : "(null)");
}

TEST(TextLength, CountsBytes) {
    EXPECT_EQ(TextLength(nullptr), 0);
    EXPECT_EQ(TextLength(""), 0);
    EXPECT_EQ(TextLength("abc"), 3);
    EXPECT_EQ(TextLength("提示a"), 5);
}

TEST(LeftRightText, CutByBytesAndClampTheCount) {
    struct Case {
        const char* text;
        int32_t n;
        const char* left;
        const char* right;
    };
    const Case cases[] = {
        {"abc", 5, "abc", "abc"},
        {"abc", 3, "abc", "abc"},
        {"abc", 2, "ab", "bc"},
        {"abc", 1, "a", "c"},
        {"abc", 0, "", ""},
        {"abc", -4, "", ""},
        {"abc", INT_MIN, "", ""},
        {"abc", INT_MAX, "abc", "abc"},
        {nullptr, 2, "", ""},
        {"", 2, "", ""},
        // Bytes, not characters: a two-byte character can be split.
        {"\xCC\xE1\xCA\xBE", 1, "\xCC", "\xBE"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Str(LeftText(c.text, c.n)), c.left) << Escaped(c.text ? c.text : "") << " " << c.n;
        EXPECT_EQ(Str(RightText(c.text, c.n)), c.right) << Escaped(c.text ? c.text : "") << " " << c.n;
    }
}

TEST(ToUpperCase, RaisesAsciiLettersOnlyOutsideTwoByteCharacters) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"", ""},
        {nullptr, ""},
        {"abz AZ09`{@[", "ABZ AZ09`{@["},
        // The second bytes 0x61 and 0x7A are "a" and "z" when alone.
        {"\xC3\x61x\xB0\x7Ay", "\xC3\x61X\xB0\x7AY"},
        {"\xE0\xE1", "\xE0\xE1"},  // no "upper case" of a lead byte
        {"ab\xC3", "AB\xC3"},      // a lone lead byte at the end is copied
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(ToUpperCase(c.text)), c.expected) << Escaped(c.text ? c.text : "");
}

TEST(TrimSpaces, CutsHalfAndFullWidthSpacesAtBothEndsOnly) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"  a b  ", "a b"},
        {"\xA1\xA1 \xA1\xA1x\xA1\xA1y \xA1\xA1  \xA1\xA1", "x\xA1\xA1y"},
        {"   ", ""},
        {"\xA1\xA1\xA1\xA1 ", ""},
        {"", ""},
        {nullptr, ""},
        {"abc", "abc"},
        // B0 A1 then A1 B0: two characters with A1 A1 between their bytes, no space at either end.
        {"\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},
        // ...and the second byte A1 of a character followed by a full-width space.
        {"x\xB0\xA1\xA1\xA1", "x\xB0\xA1"},
        {"\xA1\xA1\xB0\xA1", "\xB0\xA1"},
        // Tabs and line ends are not spaces.
        {"\t a \r\n", "\t a \r\n"},
        // A lead byte without its second byte is dropped, with the spaces before it.
        {"ab\xC3", "ab"},
        {" ab \xC3", "ab"},
        {"\xA1", ""},
        {"\xA1\xA1\xA1", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(TrimSpaces(c.text)), c.expected) << Escaped(c.text ? c.text : "");
}

TEST(RemoveAllSpaces, DropsEverySpaceCharacterAndKeepsTheOthersWhole) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {" a b\xA1\xA1"
         "c ",
         "abc"},
        {"  \xA1\xA1", ""},
        {nullptr, ""},
        {"\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},
        {"\xB0\xA1 \xA1\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},
        {"a\tb", "a\tb"},
        {"a b\xC3", "ab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(RemoveAllSpaces(c.text)), c.expected) << Escaped(c.text ? c.text : "");
}

TEST(SpaceText, GivesNHalfWidthSpaces) {
    EXPECT_EQ(SpaceText(0).get(), nullptr);
    EXPECT_EQ(SpaceText(-3).get(), nullptr);
    EXPECT_EQ(Str(SpaceText(1)), " ");
    EXPECT_EQ(Str(SpaceText(4)), "    ");
}

TEST(PointerToText, CopiesTheStringAtTheAddress) {
    EXPECT_EQ(PointerToText(nullptr).get(), nullptr);
    EXPECT_EQ(PointerToText("").get(), nullptr);
    char buffer[] = "hw\xC3\xE1";
    OwnedText copy = PointerToText(buffer);
    EXPECT_NE(copy.get(), buffer);
    buffer[0] = 'X';
    EXPECT_EQ(Str(copy), "hw\xC3\xE1");
}

TEST(BitOr, OrsAllArguments) {
    EXPECT_EQ(BitOr({0x10}), 0x10);
    EXPECT_EQ(BitOr({0x10, 0x30, 0x40}), 0x70);
    EXPECT_EQ(BitOr({0x0F, static_cast<int32_t>(0x80000000)}), static_cast<int32_t>(0x8000000F));
}

// A command that hands back its argument (or a constant) instead of a new block lets the caller
// free what it never owned. Every argument here is a heap block that the test frees itself, so
// under the sanitizers a shared block is a double free as well.
TEST(TextResults, AreNewBlocksThatNeverAliasTheArguments) {
    OwnedText plain = HeapText("abc");
    OwnedText number = HeapText("123");
    OwnedText empty = HeapText("");
    struct Case {
        const char* name;
        OwnedText result;
        const char* argument;
    };
    Case cases[] = {
        {"ConcatText", ConcatText(plain.get(), empty.get()), plain.get()},
        {"ConcatText literal", ConcatText("abc", ""), "abc"},
        {"CopyText", CopyText(plain.get()), plain.get()},
        {"LeftText", LeftText(plain.get(), 9), plain.get()},
        {"RightText", RightText(plain.get(), 9), plain.get()},
        {"ToUpperCase", ToUpperCase(number.get()), number.get()},
        {"TrimSpaces", TrimSpaces(plain.get()), plain.get()},
        {"TrimSpaces literal", TrimSpaces("abc"), "abc"},
        {"RemoveAllSpaces", RemoveAllSpaces(plain.get()), plain.get()},
        {"ReplaceText", ReplaceText(plain.get(), "x", "y"), plain.get()},
        {"ReplaceText literal", ReplaceText("abc", "x", "y"), "abc"},
        {"ReplaceText count 0", ReplaceText(plain.get(), "a", "y", std::nullopt, 0), plain.get()},
        {"PointerToText", PointerToText(plain.get()), plain.get()},
        {"ToText", ToText(TaggedValue::OfText(plain.get())), plain.get()},
        {"ToText literal", ToText(TaggedValue::OfText("abc")), "abc"},
    };
    for (Case& c : cases) {
        ASSERT_NE(c.result.get(), nullptr) << c.name;
        EXPECT_NE(c.result.get(), c.argument) << c.name;
        EXPECT_FALSE(IsConstantData(c.result.get())) << c.name;
        EXPECT_EQ(Str(c.result), c.argument) << c.name;
    }
    EXPECT_EQ(ReplaceText(empty.get(), "x", "y").get(), nullptr);
}

TEST(TextCommands, LeaveTheirArgumentsUnchanged) {
    const std::string original = "  a\xA1\xA1 b,c\\\\d  \xC3";
    OwnedText text = HeapText(original);
    (void)ToUpperCase(text.get());
    (void)TrimSpaces(text.get());
    (void)RemoveAllSpaces(text.get());
    (void)ReplaceText(text.get(), "\\\\", "\\");
    (void)SplitText(text.get());
    (void)LeftText(text.get(), 3);
    EXPECT_EQ(std::string(text.get()), original);
}

}  // namespace
