// Command lines of the command runner and the due times of its pumping waits.
#include "app/exec/command_line.h"

#include <cmath>
#include <limits>

#include "runtime/text_commands.h"

OwnedText BuildCommandLine(int32_t platform, const char* command, const char* program, int32_t mode) {
    command = command ? command : "";
    program = program ? program : "";
    if (platform < kPlatformNt)
        return ConcatText(kLegacyShellPrefix, command);
    if (mode == kShellForm)
        return ConcatText(kNtShellPrefix, command);
    return ConcatText(program, " ", command);
}

int64_t WaitUnitMilliseconds(std::optional<int32_t> unit) {
    switch (unit.value_or(0)) {
        case 0:
            return 1;
        case 1:
            return 1000;
        case 2:
            return 60000;
        case 3:
            return 3600000;
        default:
            return *unit;
    }
}

namespace {

// amount x milliseconds per unit, in floating point as the 64-bit result may not hold it.
double WaitProductMilliseconds(int32_t amount, std::optional<int32_t> unit) {
    return static_cast<double>(amount) * static_cast<double>(WaitUnitMilliseconds(unit));
}

}  // namespace

int64_t WaitDueTime(int32_t amount, std::optional<int32_t> unit) {
    const double due = WaitProductMilliseconds(amount, unit) * -10000.0;
    // 2^63 is exact in a double; converting anything at or beyond it would be undefined.
    constexpr double kLimit = 9223372036854775808.0;
    if (due >= kLimit)
        return std::numeric_limits<int64_t>::max();
    if (due <= -kLimit)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(std::trunc(due));
}

uint64_t WaitMilliseconds(int32_t amount, std::optional<int32_t> unit) {
    const int64_t due = WaitDueTime(amount, unit);
    if (due >= 0)
        return 0;
    // Round up so that a wait shorter than a millisecond still waits one.
    const uint64_t steps =
        due == std::numeric_limits<int64_t>::min() ? (uint64_t{1} << 63) : static_cast<uint64_t>(-due);
    return (steps + 9999) / 10000;
}
