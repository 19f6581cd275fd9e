// The syntax of an INF file: named sections of lines, each line an optional key and a list of
// comma-separated values, with quotes, comments and line continuations resolved.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/text_rules.h"

struct InfLine {
    uint32_t number = 0;  // 1-based line of the file where the entry starts
    bool hasKey = false;
    std::string key;  // trimmed, quotes resolved; %tokens% are still in place
    std::vector<std::string> values;
};

struct InfSection {
    std::string name;  // as first written
    std::vector<InfLine> lines;
};

struct InfProblem {
    uint32_t line = 0;  // 0 when it concerns the whole file
    std::string text;
};

struct InfSyntax {
    std::vector<InfSection> sections;  // in order of first appearance; sections of one name merged
    std::vector<InfProblem> problems;
    // Windows would refuse to open the file: an entry before the first section, a section line
    // without its closing bracket, or a section name longer than 255 characters.
    bool rejected = false;

    // The section of that name, ASCII case ignored; null when there is none.
    const InfSection* Find(std::string_view name) const;

    std::unordered_map<std::string, size_t> byUpperName;
};

// The blanks SetupAPI trims around keys and values.
constexpr bool IsInfBlank(char c) {
    return c == ' ' || c == '\t';
}

// Reads UTF-8 text (see DecodeInfText). Works in one pass over the text whatever it holds.
InfSyntax ParseInfSyntax(std::string_view utf8);
