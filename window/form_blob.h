// The program's form description, generated at build time from resources/forms/tovusb.form.
#pragma once

#include <cstdint>

#include "window/form_byte_reader.h"

extern const uint8_t kFormDescription[];
extern const uint32_t kFormDescriptionLength;

inline FormBytes ProgramFormDescription() {
    return FormBytes(kFormDescription, kFormDescriptionLength);
}
