// Which values have a text form in log lines and message boxes, and which text it is.
#include "runtime/display_text.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(DisplayTextTest, BasicValuesAndText) {
    const struct {
        TaggedValue value;
        const char* text;
    } cases[] = {
        {TaggedValue::OfText("中文 text"), "中文 text"},
        {TaggedValue::OfText(""), ""},
        {TaggedValue::OfInt(-123), "-123"},
        {TaggedValue::OfByte(255), "255"},
        {TaggedValue::OfShort(-32768), "-32768"},
        {TaggedValue::OfLong(1234567890123LL), "1234567890123"},
        {TaggedValue::OfLogical(true), "真"},
        {TaggedValue::OfLogical(false), "假"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(HasDisplayText(c.value.tag)) << c.text;
        EXPECT_EQ(std::string(DisplayText(c.value).view()), c.text);
    }
    EXPECT_TRUE(HasDisplayText(ValueTag::Float));
    EXPECT_TRUE(HasDisplayText(ValueTag::Double));
    EXPECT_TRUE(HasDisplayText(ValueTag::DateTime));
}

TEST(DisplayTextTest, OtherValuesHaveNone) {
    static const uint8_t set[] = {1, 0, 0, 0, 2, 0, 0, 0, 'a', 'b'};
    TaggedValue sub;
    sub.tag = ValueTag::SubProgram;
    TaggedValue window;
    window.tag = ValueTag::WindowRef;
    window.intValue = 1;
    TaggedValue record;
    record.tag = ValueTag::VersionRecord;
    const TaggedValue cases[] = {TaggedValue::OfByteSet(set), sub, window, record, TaggedValue()};
    for (const TaggedValue& value : cases) {
        EXPECT_FALSE(HasDisplayText(value.tag)) << std::hex << static_cast<uint32_t>(value.tag);
        EXPECT_EQ(DisplayText(value).get(), nullptr);
    }
}

}  // namespace
