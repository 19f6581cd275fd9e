// Writing the stored form description from the parsed form source.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/formc/form_source.h"

// The windows must have passed the compiler's checks: the writer only lays the bytes out.
std::vector<uint8_t> WriteFormDescription(const std::vector<WindowSource>& windows);
