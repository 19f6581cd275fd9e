// Splitting the form source into lines of words and quoted texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/formc/form_source.h"

// Lines without tokens (blank, or only a "#" comment) are left out. A word ends at a blank or a
// quote; a text runs to the next unescaped quote on the same line. On failure errorLine and error
// say where and what.
bool TokenizeFormSource(std::string_view source, std::vector<Line>& lines, int& errorLine, std::string& error);
