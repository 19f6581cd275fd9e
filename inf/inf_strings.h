// The %strkey% tokens of an INF file: the string table of [Strings] and its locale sections.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "inf/inf_syntax.h"

class InfStrings {
  public:
    // The table for a system of the given language: a key of [Strings.LLLL] (the language, four
    // hexadecimal digits) wins over one of [Strings.00PP] (its primary language), which wins over
    // one of [Strings].
    InfStrings(const InfSyntax& syntax, uint16_t language);

    // `text` with every %key% replaced by its string and "%%" by "%". A key the table lacks stays
    // as written. Done once: a string that itself holds %tokens% is not read again, so a string
    // that names itself cannot loop.
    std::string Substitute(std::string_view text) const;

  private:
    void AddSection(const InfSection* section);

    std::unordered_map<std::string, std::string> byUpperKey_;
};
