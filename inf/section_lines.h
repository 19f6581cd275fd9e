// Where the sections of an INF's text begin, found in one pass over its units, for a reading that
// cuts the text at them and parses only some sections.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SectionLine {
    size_t start;               // the unit of "["
    size_t nameAt, nameLength;  // its name, upper-cased, in SectionLayout::upperNames
};

struct SectionLayout {
    std::vector<SectionLine> lines;  // in file order
    size_t end;                      // units before the first Ctrl+Z (all when there is none)
    // The names back to back: a string of its own cost most section lines an allocation.
    std::string upperNames;

    std::string_view UpperName(size_t line) const {
        return std::string_view(upperNames).substr(lines[line].nameAt, lines[line].nameLength);
    }
};

// How the scan passes over units that change nothing: 16 bytes at a time where the processor has
// SSE2, or one unit at a time (what the other way must agree with).
enum class UnitScan { kFastest, kOneByOne };

// The section lines of `body` (the text after its byte-order mark, in units of `width` bytes: 1
// for ANSI and UTF-8, 2 for UTF-16LE) as the full reader finds them; nothing when a cut at them
// could read differently: a quotation or a continuation running into a section line or past the
// end, an entry before the first section, a section name that is not plain ASCII or not closed.
std::optional<SectionLayout> FindSectionLines(std::string_view body, size_t width, UnitScan scan = UnitScan::kFastest);
