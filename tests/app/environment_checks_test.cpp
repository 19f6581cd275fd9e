// Windows PE recognition and the processor generation rule.
#include <gtest/gtest.h>

#include "app/startup/environment_checks.h"

namespace {

TEST(IsWindowsPEDirectory, OnlyDriveXInEitherCase) {
    EXPECT_TRUE(IsWindowsPEDirectory("X:\\Windows\\"));
    EXPECT_TRUE(IsWindowsPEDirectory("x:\\windows\\"));
    EXPECT_FALSE(IsWindowsPEDirectory("C:\\Windows\\"));
    EXPECT_FALSE(IsWindowsPEDirectory(""));
    EXPECT_FALSE(IsWindowsPEDirectory(nullptr));
    // The first byte of a GBK character is never an ASCII letter.
    EXPECT_FALSE(IsWindowsPEDirectory("\xD8X:\\"));
}

TEST(DetectProcessorGeneration, BrandsGiveTheirGeneration) {
    struct Case {
        const char* brand;
        int32_t generation;
    };
    const Case cases[] = {
        {"Intel(R) Core(TM) i5-8400 CPU @ 3.40GHz", 8},
        {"Intel(R) Core(TM) i7-7700 CPU @ 3.60GHz", 7},
        {"intel(r) Core(TM) I9-9900K CPU @ 3.60GHz", 9},
        {"Intel(R) Core(TM) i3-10100 CPU @ 3.60GHz", 0},  // "1" is no generation digit
        {"Intel(R) Core(TM) i5 CPU", 0},                  // no "-"
        {"Intel(R) Xeon(R) E5-2680 v4 @ 2.40GHz", 0},     // E5 is no tier
        {"AMD Ryzen 7-5800X 8-Core Processor", 0},        // another vendor
        {"Intel(R) Core(TM)", 0},                         // fewer than three words
        {"Intel(R)  Core(TM) i7-8700", 0},                // doubled space: the third word is "Core(TM)"
        {"Intel(R) Core(TM) i7-", 0},                     // empty second piece
        {"Intel(R) Core(TM) i7-9", 9},
        {"", 0},
        // The brand string as the processor reports it may start with spaces: the first word is then
        // empty and the brand does not count as Intel.
        {"       Intel(R) Core(TM) i5-8400", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DetectProcessorGeneration(c.brand), c.generation) << c.brand;
}

}  // namespace
