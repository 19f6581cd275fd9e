// Test programs' entry: fatal errors print their box to standard error instead of waiting for
// somebody to dismiss a message box, so that death tests can read it.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "runtime/fatal_error.h"
#include "tests/support/test_support.h"

namespace {

void PrintFatalBox(const char* text, const char* caption, uint32_t style) {
    std::fprintf(stderr, "fatal box caption=%s style=0x%X text=%s end\n", Hex(caption).c_str(),
                 static_cast<unsigned>(style), Hex(text).c_str());
    std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv) {
    SetFatalBoxPresenter(PrintFatalBox);
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return RUN_ALL_TESTS();
}
