// The check of a payload folder before it is built into the tool: the programs the tool runs,
// the index files and the driver packages they lead to, and the size it unpacks to.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/index/findings.h"
#include "tools/index/payload_tree.h"

struct CheckOptions {
    uint32_t codePage = 936;     // of the index files and of INF files without a byte-order mark
    uint16_t language = 0x0804;  // for the INF files' [Strings.LLLL] sections
    // Windows PE's scratch space (its system drive, where the work directory is) unless the image
    // was built with more.
    uint64_t scratchBytes = 32ull << 20;
};

// The package folder the tool injects for every match on 8th- and 9th-generation Intel
// processors, whatever the index says.
inline constexpr char kGenerationPackage[] = "Intel_8thA_USB3.A_Win7";

void CheckPayload(const PayloadTree& tree, const CheckOptions& options, Findings& findings);

// `text` split at `separator` the way the tool splits index text: a byte of 0x80 or above and
// the byte after it are one character, so a separator never starts at such a byte's second
// byte; a final separator adds no piece.
std::vector<std::string> SplitLikeTheTool(std::string_view text, std::string_view separator);
