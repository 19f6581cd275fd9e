// Helpers of the text command tests: results as std::string, "empty is null" checked, heap texts.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/memory.h"
#include "runtime/owned.h"

// The text of a result; a non-null block holding no characters fails the test, since every
// empty result must be null.
inline std::string Str(const OwnedText& text) {
    if (text.get() != nullptr && text.get()[0] == '\0')
        ADD_FAILURE() << "an empty Text result is a block instead of null";
    return std::string(text.c_str());
}

inline std::vector<std::string> Members(const TextArray& array) {
    std::vector<std::string> out;
    for (uint32_t i = 0; i < array.size(); ++i) {
        const char* member = array[i];
        if (member != nullptr && member[0] == '\0')
            ADD_FAILURE() << "empty member " << i + 1 << " is a block instead of null";
        out.emplace_back(member ? member : "");
    }
    return out;
}

// A heap copy of a text, as the logic's own variables hold them; freed when the test ends.
inline OwnedText HeapText(const std::string& text) {
    char* block = static_cast<char*>(RuntimeAlloc(text.size() + 1));
    std::memcpy(block, text.c_str(), text.size() + 1);
    return OwnedText(block);
}

// Readable bytes for failure messages: GBK text means nothing in a UTF-8 terminal.
inline std::string Escaped(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += kDigits[c >> 4];
            out += kDigits[c & 15];
        }
    }
    return out;
}
