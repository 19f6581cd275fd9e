// The reason text of failure boxes.
#include "runtime/error_reason.h"

#include <cstdio>
#include <cstring>

#include "runtime/text_commands.h"

OwnedText ErrorCodeText(uint32_t code) {
    char digits[16];
    if (code >= 0x10000u)
        std::snprintf(digits, sizeof digits, "0x%08lX", static_cast<unsigned long>(code));
    else
        std::snprintf(digits, sizeof digits, "%lu", static_cast<unsigned long>(code));
    return MakeText(digits, std::strlen(digits));
}

OwnedText ErrorReasonText(uint32_t code, ErrorTextLookup lookup) {
    OwnedText number = ErrorCodeText(code);
    OwnedText text = lookup ? lookup(code) : OwnedText();
    if (text.empty())
        return ConcatText("错误 ", number.get());
    return ConcatText("错误 ", number.get(), ": ", text.get());
}
