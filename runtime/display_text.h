// The text that log lines and message boxes show for a value: numbers, logicals, date-times and
// Text have one; byte sets, sub-program pointers and references have none.
#pragma once

#include "runtime/owned.h"
#include "runtime/value.h"

bool HasDisplayText(ValueTag tag);
// The value as ToText writes it, or the empty text for a value without a text form.
OwnedText DisplayText(const TaggedValue& value);
