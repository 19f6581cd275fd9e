// The index lookup done the plain way, as a reference for the faster matching: split the index
// anew and search every line for every identifier.
#pragma once

#include <string>
#include <vector>

#include "app/inject/index_matching.h"
#include "runtime/text_commands.h"

inline std::vector<std::string> ReferenceMatchIndexLines(const std::vector<OwnedText>& ids, const char* indexText) {
    std::vector<std::string> matched;
    TextArray lines = SplitText(indexText, "\r\n");
    for (const OwnedText& id : ids) {
        OwnedText key = ConcatText("|", id.get(), "|");
        const int32_t n = FindIndexLine(indexText, key.get());
        if (n > 0)
            matched.emplace_back(lines[static_cast<size_t>(n - 1)] ? lines[static_cast<size_t>(n - 1)] : "");
    }
    return matched;
}
