// What the DISM simulator is asked to do, read from its arguments the way DISM reads them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DismRequest {
    std::string image;   // the value of /Image:, as given
    std::string driver;  // the value of /Driver:, as given
    bool recurse = false;
    bool forceUnsigned = false;
};

// DISM's code for a command line it cannot use (ERROR_INVALID_PARAMETER).
constexpr uint32_t kDismBadArgument = 87;

struct DismParse {
    bool ok = false;
    DismRequest request;
    // When not ok: the text of DISM's error block (the code is always kDismBadArgument).
    std::string error;
};

// Reads the arguments after the program name. Options begin with "/" and are compared without
// regard to ASCII case; /Image: and /Driver: carry a value after the colon. Anything else, such as
// the second half of an unquoted path with a space, is an error, as is a missing or repeated option.
DismParse ParseDismArguments(const std::vector<std::string>& args);
