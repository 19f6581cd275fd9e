// Entry of the end-to-end test program; it runs inside the prefix that scripts/e2e-prefix made.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
