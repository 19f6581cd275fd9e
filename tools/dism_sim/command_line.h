// Splitting a whole Windows process command line into arguments, as the C runtime does for argv.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The first element is the program name: it ends at the first blank outside quotation marks, and
// backslashes in it are plain characters. The other arguments follow the C runtime's rules:
// blanks (space, tab) separate them; quotation marks group blanks into an argument and are
// removed; 2n backslashes before a quotation mark give n backslashes and the mark delimits, 2n+1
// give n backslashes and a literal mark; other backslashes are plain; "" inside a quoted part is
// a literal mark. A byte of 0x80 or above starts a two-byte character (the ANSI code page is
// GBK), so its second byte is never taken for a backslash.
std::vector<std::string> SplitCommandLine(std::string_view line);
