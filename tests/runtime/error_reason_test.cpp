// The reason text of failure boxes: the error number and the system's text for it.
#include "runtime/error_reason.h"

#include <gtest/gtest.h>

#include "runtime/text_commands.h"

namespace {

// Texts as a system gives them for a few codes, and none for the others.
OwnedText KnownTexts(uint32_t code) {
    switch (code) {
        case 2:
            return CopyText("找不到文件。");
        case 0x80070005:
            return CopyText("拒绝访问。");
        default:
            return OwnedText();
    }
}

TEST(ErrorReasonText, NumberAndTheSystemsTextWhenThereIsOne) {
    const struct {
        uint32_t code;
        ErrorTextLookup lookup;
        const char* reason;
    } cases[] = {
        {2, KnownTexts, "错误 2: 找不到文件。"},
        {193, KnownTexts, "错误 193"},
        {2, nullptr, "错误 2"},
        {0, KnownTexts, "错误 0"},
        {0xFFFF, KnownTexts, "错误 65535"},
        {0x10000, KnownTexts, "错误 0x00010000"},
        {0x80070005, KnownTexts, "错误 0x80070005: 拒绝访问。"},
        {0xC0000005, KnownTexts, "错误 0xC0000005"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(ErrorReasonText(c.code, c.lookup).c_str(), c.reason) << c.code;
}

}  // namespace
