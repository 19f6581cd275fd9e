// Tests of the searching text commands, with a randomized comparison against the references.
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/array_block.h"
#include "runtime/text_commands.h"
#include "tests/runtime/text_reference.h"
#include "tests/runtime/text_test_support.h"

namespace {

using std::nullopt;
using Strings = std::vector<std::string>;

// 啊 is B0 A1, 阿 is B0 A2, 提示 is CC E1 CA BE.
struct FindCase {
    const char* haystack;
    const char* needle;
    std::optional<int32_t> start;
    bool ignoreCase;
    int32_t expected;
};

TEST(FindText, ReturnsTheFirstMatchAtOrAfterStart) {
    const FindCase cases[] = {
        {"abc", "", nullopt, false, 1},
        {"", "", nullopt, false, -1},
        {nullptr, "", nullopt, false, -1},
        {"abc", "", 2, false, 1},
        {"abc", "", 4, false, -1},
        {"abc", "b", nullopt, false, 2},
        {"abc", "b", 2, false, 2},
        {"abc", "b", 3, false, -1},
        {"abc", "b", 0, false, 2},
        {"abc", "b", -5, false, 2},
        {"abc", "c", 3, false, 3},
        {"abc", "abc", nullopt, false, 1},
        {"abc", "abcd", nullopt, false, -1},
        {"abcabc", "bc", 3, false, 5},
        {"abc", "x", nullopt, false, -1},
        {"", "x", nullopt, false, -1},
        {"ABC", "b", nullopt, true, 2},
        {"ABC", "b", nullopt, false, -1},
        {"abc", "BC", nullopt, true, 2},
        // Second byte of one character and first byte of the next: never a match.
        {"\xB0\xA1\xB0\xA1", "\xA1\xB0", nullopt, false, -1},
        {"\xCC\xE1\xCA\xBE", "\xE1\xCA", nullopt, false, -1},
        // The second byte 41 of C3 41 is not the letter "A".
        {"\xC3\x41"
         "A",
         "A", nullopt, false, 3},
        {"\xC3\x41", "a", nullopt, true, -1},
        {"\xC3\x41", "\xC3\x61", nullopt, true, -1},
        {"x\xC3\x41y", "\xC3\x41Y", nullopt, true, 2},
        {"\xB0\xA1\xB0\xA2", "\xB0\xA2", nullopt, false, 3},
        {"a\xB0\xA1\xA1\xA1", "\xA1\xA1", nullopt, false, 4},
        // A start inside a character scans from there as if a character began there.
        {"\xB0\xA1\xB0\xA1", "\xA1\xB0", 2, false, 2},
        // A lead byte right before the terminator is still compared, then ends the scan.
        {"ab\xC3", "\xC3", nullopt, false, 3},
        {"ab\xC3", "b\xC3", nullopt, false, 2},
        {"\xC3", "\xC3", nullopt, false, 1},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(FindText(c.haystack, c.needle, c.start, c.ignoreCase), c.expected)
            << Escaped(c.haystack ? c.haystack : "(null)") << " / " << Escaped(c.needle) << " start "
            << (c.start ? std::to_string(*c.start) : "omitted") << (c.ignoreCase ? " ignoring case" : "");
    }
}

TEST(FindTextReverse, ReturnsTheLastMatchEndingBeforeTheLimit) {
    const FindCase cases[] = {
        {"a\\b\\c", "\\", nullopt, false, 4},
        {"abc", "\\", nullopt, false, -1},
        {"a\\b\\c", "\\", 5, false, 4},
        {"a\\b\\c", "\\", 4, false, 2},  // the region is "a\b": the match must end before position 4
        {"a\\b\\c", "\\", 3, false, 2},
        {"a\\b\\", "\\", 4, false, 2},
        {"a\\b\\", "\\", 5, false, 4},
        {"a\\b\\c", "\\", 2, false, -1},
        {"a\\b\\c", "\\", 1, false, -1},
        {"a\\b\\c", "\\", 0, false, -1},
        {"a\\b\\c", "\\", -3, false, -1},
        {"a\\b\\c", "\\", 100, false, 4},
        {"abc", "", nullopt, false, 1},
        {"", "", nullopt, false, -1},
        {"abc", "", 1, false, -1},
        {"abc", "", 2, false, 1},
        {"aaaa", "aa", nullopt, false, 3},  // overlapping matches count
        {"abcABC", "abc", nullopt, true, 4},
        {"abcABC", "abc", nullopt, false, 1},
        {"\xB0\xA1\xB0\xA1", "\xA1\xB0", nullopt, false, -1},
        {"\xB0\xA1\xB0\xA1", "\xB0\xA1", nullopt, false, 3},
        {"\\\xB0\\", "\\", nullopt, false, 1},  // B0 5C is one character: its 5C is no backslash
        {"ab\xC3", "\xC3", nullopt, false, 3},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(FindTextReverse(c.haystack, c.needle, c.start, c.ignoreCase), c.expected)
            << Escaped(c.haystack ? c.haystack : "(null)") << " / " << Escaped(c.needle) << " limit "
            << (c.start ? std::to_string(*c.start) : "omitted") << (c.ignoreCase ? " ignoring case" : "");
    }
}

struct ReplaceCase {
    const char* text;
    const char* oldText;
    std::optional<const char*> newText;
    std::optional<int32_t> start;
    std::optional<int32_t> count;
    bool caseSensitive;
    const char* expected;
};

TEST(ReplaceText, ReplacesLeftToRightWithoutRescanning) {
    const ReplaceCase cases[] = {
        {"C:\\\\a\\\\b", "\\\\", "\\", nullopt, nullopt, true, "C:\\a\\b"},
        {"a\\\\\\b", "\\\\", "\\", nullopt, nullopt, true, "a\\\\b"},  // three in a row keep two
        {"a,b,,c", ",", nullopt, nullopt, nullopt, true, "abc"},
        {"a,b,,c", ",", nullptr, nullopt, nullopt, true, "abc"},
        {"a,b,c", ",", "<=>", nullopt, nullopt, true, "a<=>b<=>c"},
        {"aaa", "aa", "b", nullopt, nullopt, true, "ba"},
        {"aa", "a", "aa", nullopt, nullopt, true, "aaaa"},
        {"aXaXa", "a", "b", 2, nullopt, true, "aXbXb"},
        {"aXaXa", "a", "b", 3, nullopt, true, "aXbXb"},
        {"aXaXa", "a", "b", 0, nullopt, true, "bXbXb"},
        {"aXaXa", "a", "b", -7, nullopt, true, "bXbXb"},
        {"aXaXa", "a", "b", 6, nullopt, true, "aXaXa"},
        {"aXaXa", "a", "b", nullopt, 1, true, "bXaXa"},
        {"aXaXa", "a", "b", nullopt, 2, true, "bXbXa"},
        {"aXaXa", "a", "b", nullopt, 0, true, "aXaXa"},
        {"aXaXa", "a", "b", nullopt, -1, true, "bXbXb"},
        {"aXaXa", "a", "b", 2, 1, true, "aXbXa"},
        {"aAa", "a", "b", nullopt, nullopt, false, "bbb"},
        {"aAa", "a", "b", nullopt, nullopt, true, "bAb"},
        {"abc", "", "x", nullopt, nullopt, true, "abc"},
        {"abc", "abcd", "x", nullopt, nullopt, true, "abc"},
        {"\xB0\xA1\xB0\xA1", "\xA1\xB0", "x", nullopt, nullopt, true, "\xB0\xA1\xB0\xA1"},
        {"\xB0\xA1\xB0\xA1", "\xA1\xB0", "x", 2, nullopt, true, "\xB0x\xA1"},
        {"\xC3\x41", "a", "x", nullopt, nullopt, false, "\xC3\x41"},
        {"\xC3\x41"
         "A",
         "a", "x", nullopt, nullopt, false, "\xC3\x41x"},
        // The character scan drops a lead byte without its second byte; the unscanned rest is
        // copied as it is.
        {"ab\xC3", "x", "y", nullopt, nullopt, true, "ab"},
        {"ab\xC3", "xy", "z", nullopt, nullopt, true, "ab\xC3"},
        {"ab\xC3", "\xC3", "z", nullopt, nullopt, true, "abz"},
        {"ab\xC3", "a", "z", nullopt, 1, true, "zb\xC3"},
    };
    for (const ReplaceCase& c : cases) {
        EXPECT_EQ(Str(ReplaceText(c.text, c.oldText, c.newText, c.start, c.count, c.caseSensitive)), c.expected)
            << Escaped(c.text) << " / " << Escaped(c.oldText) << " -> "
            << Escaped(c.newText && *c.newText ? *c.newText : "");
    }
}

TEST(ReplaceText, GivesNullWhenNothingIsLeft) {
    EXPECT_EQ(ReplaceText("aaa", "a").get(), nullptr);
    EXPECT_EQ(ReplaceText("", "a", "b").get(), nullptr);
    EXPECT_EQ(ReplaceText(nullptr, "a", "b").get(), nullptr);
}

TEST(ReplaceText, GrowsToLongResults) {
    std::string text(20000, ',');
    std::string expected;
    for (int i = 0; i < 20000; ++i)
        expected += "\xA1\xA1--";
    EXPECT_EQ(Str(ReplaceText(text.c_str(), ",", "\xA1\xA1--")), expected);
    EXPECT_EQ(ReplaceText(expected.c_str(), "\xA1\xA1--", nullopt).get(), nullptr);
}

struct SplitCase {
    const char* text;
    std::optional<const char*> delimiter;
    std::optional<int32_t> maxPieces;
    Strings expected;
};

TEST(SplitText, CutsAtEveryDelimiter) {
    const SplitCase cases[] = {
        {"a,,b,", nullopt, nullopt, {"a", "", "b"}},
        {"a,b,c", ",", 2, {"a", "b"}},
        {"a,b,c", ",", 1, {"a"}},
        {"a,b,c", ",", 3, {"a", "b", "c"}},
        {"a,b,c", ",", 9, {"a", "b", "c"}},
        {"a,b,", ",", 2, {"a", "b"}},
        {"a,b,c", ",", 0, {}},
        {"a,b,c", ",", -2, {}},
        {"abc", ",", 1, {"abc"}},
        {"", ",", nullopt, {}},
        {nullptr, ",", nullopt, {}},
        {"abc", "", nullopt, {"abc"}},
        {"abc", nullptr, nullopt, {"abc"}},
        {"abc", "", 0, {}},
        {"x\r\n\r\ny", "\r\n", nullopt, {"x", "", "y"}},
        {",a", nullopt, nullopt, {"", "a"}},
        {",", nullopt, nullopt, {""}},
        {"aaa", "aa", nullopt, {"", "a"}},
        {"a|b", "|", nullopt, {"a", "b"}},
        {"a|b", ",", nullopt, {"a|b"}},
        {"A,a", "a", nullopt, {"A,"}},  // always exact
        {"\xB0\xA1\xB0\xA1", "\xA1\xB0", nullopt, {"\xB0\xA1\xB0\xA1"}},
        {"\xB0\xA1|\xB0\xA1", "|", nullopt, {"\xB0\xA1", "\xB0\xA1"}},
        {"\xB0|\xB0\xA1", "|", nullopt, {"\xB0|\xB0\xA1"}},  // B0 7C is one character
        {"a,\xC3", nullopt, nullopt, {"a", "\xC3"}},         // the unscanned rest is kept
    };
    for (const SplitCase& c : cases) {
        TextArray pieces = SplitText(c.text, c.delimiter, c.maxPieces);
        ASSERT_NE(pieces.get(), nullptr);
        EXPECT_EQ(Members(pieces), c.expected) << Escaped(c.text ? c.text : "(null)") << " at "
                                               << Escaped(c.delimiter && *c.delimiter ? *c.delimiter : "");
    }
}

TEST(SplitText, BuildsAOneDimensionalArrayOfNewBlocks) {
    const char* text = "ab,cd";
    TextArray pieces = SplitText(text);
    uint32_t header[2];
    std::memcpy(header, pieces.get(), sizeof header);
    EXPECT_EQ(header[0], 1u);
    EXPECT_EQ(header[1], 2u);
    EXPECT_EQ(ArrayMemberCount(pieces.get()), 2u);
    for (uint32_t i = 0; i < pieces.size(); ++i) {
        EXPECT_FALSE(IsConstantData(pieces[i]));
        EXPECT_TRUE(pieces[i] < text || pieces[i] > text + 5) << "member " << i + 1 << " points into the argument";
    }

    TextArray empty = SplitText("");
    std::memcpy(header, empty.get(), sizeof header);
    EXPECT_EQ(header[0], 1u);
    EXPECT_EQ(header[1], 0u);

    TextArray whole = SplitText(text, "");
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_NE(whole[0], text);
}

TEST(SplitText, HandlesManyPieces) {
    std::string text;
    Strings expected;
    for (int i = 0; i < 5000; ++i) {
        text += std::to_string(i) + "\r\n";
        expected.push_back(std::to_string(i));
    }
    EXPECT_EQ(Members(SplitText(text.c_str(), "\r\n")), expected);
}

// Random GBK-like text over a small alphabet rich in what the rules care about: letters of both
// cases, spaces, separators, lead bytes whose second bytes are letters, backslashes or spaces, and
// lead bytes at the very end.
class RandomText {
  public:
    std::string Text(size_t maxLength) {
        static const char kAlphabet[] = {'a',  'A', 'b',    'B',    ',',    ' ',    '\\',   '\r',
                                         '\n', '|', '\xA1', '\xB0', '\xC3', '\xE1', '\x80', '\xFE'};
        std::string out;
        const size_t n = Below(maxLength + 1);
        for (size_t i = 0; i < n; ++i)
            out += kAlphabet[Below(sizeof kAlphabet)];
        return out;
    }
    // Half the needles are cut out of the text at any byte, the others are random.
    std::string Needle(const std::string& text) {
        if (!text.empty() && Below(2) == 0) {
            const size_t at = Below(text.size());
            return text.substr(at, Below(4));
        }
        return Text(3);
    }
    std::optional<int32_t> Position(const std::string& text) {
        if (Below(3) == 0)
            return nullopt;
        return static_cast<int32_t>(Below(text.size() + 5)) - 2;
    }
    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(engine_); }

  private:
    std::mt19937 engine_{20240917};
};

TEST(TextSearchProperty, MatchesTheReferenceVersionsOnRandomText) {
    namespace ref = text_reference;
    RandomText random;
    for (int round = 0; round < 4000; ++round) {
        const std::string text = random.Text(14);
        const std::string needle = random.Needle(text);
        const std::string replacement = random.Text(3);
        const std::optional<int32_t> position = random.Position(text);
        const std::optional<int32_t> count =
            random.Below(2) ? std::optional<int32_t>(int32_t(random.Below(4)) - 1) : nullopt;
        const bool flag = random.Below(2) != 0;
        SCOPED_TRACE("text " + Escaped(text) + " needle " + Escaped(needle) + " new " + Escaped(replacement) +
                     " position " + (position ? std::to_string(*position) : "omitted") + " count " +
                     (count ? std::to_string(*count) : "omitted") + (flag ? " flag" : ""));

        ASSERT_EQ(FindText(text.c_str(), needle.c_str(), position, flag), ref::FindText(text, needle, position, flag));
        ASSERT_EQ(FindTextReverse(text.c_str(), needle.c_str(), position, flag),
                  ref::FindTextReverse(text, needle, position, flag));
        ASSERT_EQ(Str(ReplaceText(text.c_str(), needle.c_str(), replacement.c_str(), position, count, flag)),
                  ref::ReplaceText(text, needle, replacement, position, count, flag));
        const std::optional<int32_t> maxPieces = count ? std::optional<int32_t>(*count + 1) : nullopt;
        if (flag) {
            ASSERT_EQ(Members(SplitText(text.c_str(), needle.c_str(), maxPieces)),
                      ref::SplitText(text, needle, maxPieces));
        } else {
            ASSERT_EQ(Members(SplitText(text.c_str(), nullopt, maxPieces)), ref::SplitText(text, nullopt, maxPieces));
        }
        ASSERT_EQ(Str(TrimSpaces(text.c_str())), ref::TrimSpaces(text));
        ASSERT_EQ(Str(RemoveAllSpaces(text.c_str())), ref::RemoveAllSpaces(text));
    }
}

// The references themselves are held to the examples that fix the rules, so that a shared
// misreading of a rule does not pass unnoticed.
TEST(TextReference, AgreesWithTheDefiningExamples) {
    namespace ref = text_reference;
    EXPECT_EQ(ref::FindText("abc", "", nullopt, false), 1);
    EXPECT_EQ(ref::FindText("", "", nullopt, false), -1);
    EXPECT_EQ(ref::FindText("abc", "b", 3, false), -1);
    EXPECT_EQ(ref::FindText("abc", "b", -5, false), 2);
    EXPECT_EQ(ref::FindText("\xB0\xA1\xB0\xA1", "\xA1\xB0", nullopt, false), -1);
    EXPECT_EQ(ref::FindTextReverse("a\\b\\c", "\\", nullopt, false), 4);
    EXPECT_EQ(ref::FindTextReverse("abc", "\\", nullopt, false), -1);
    EXPECT_EQ(ref::ReplaceText("a\\\\\\b", "\\\\", "\\", nullopt, nullopt, true), "a\\\\b");
    EXPECT_EQ(ref::SplitText("a,,b,", ",", nullopt), (Strings{"a", "", "b"}));
    EXPECT_EQ(ref::SplitText("a,b,c", ",", 2), (Strings{"a", "b"}));
    EXPECT_EQ(ref::SplitText("x\r\n\r\ny", "\r\n", nullopt), (Strings{"x", "", "y"}));
    EXPECT_EQ(ref::TrimSpaces("\xA1\xA1 a \xA1\xA1"), "a");
    EXPECT_EQ(ref::RemoveAllSpaces(" a\xA1\xA1 b"), "ab");
}

}  // namespace
