// The text that log lines and message boxes show for a value: numbers, logicals, date-times and
// Text have one; byte sets, sub-program pointers and references have none.
#include "runtime/display_text.h"

#include "runtime/text_commands.h"

bool HasDisplayText(ValueTag tag) {
    switch (tag) {
        case ValueTag::Byte:
        case ValueTag::Short:
        case ValueTag::Int:
        case ValueTag::Long:
        case ValueTag::Float:
        case ValueTag::Double:
        case ValueTag::Logical:
        case ValueTag::DateTime:
        case ValueTag::Text:
            return true;
        default:
            return false;
    }
}

OwnedText DisplayText(const TaggedValue& value) {
    if (!HasDisplayText(value.tag))
        return OwnedText();
    return ToText(value);
}
