// The form compiler: turns the readable form source into the stored form description.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Converts a UTF-8 text of the source into the bytes the description stores (GBK for the
// program). Returns false when the text has no such form.
using FormTextEncoder = std::function<bool(std::string_view utf8, std::string& out)>;

struct FormCompileResult {
    bool ok = false;
    std::vector<uint8_t> description;
    std::string error;  // "line N: what is wrong" for the first fault found
};

// Source format, one statement per line; "#" starts a comment, texts are in double quotes
// (\" and \\ are the only escapes), numbers are decimal or 0x hexadecimal:
//
//   window <window id> <the window's own control id>
//       <window statements and settings>
//       control <control id> <class> <name>
//           <control statements and settings>
//       end
//   end
//
// Controls are listed in control-table order. Statements of every record: rect L T W H;
// flags visible|disabled|tab-stop|hidden...; tab-order N; cursor none|default|N; tag "text";
// link <id>; on <event> <routine>|none; and for controls container <id>, children <id|0>...;
// for windows designer V1 V2. Each class has its own settings (see the tables in the .cpp);
// a setting left out takes the class's default.
FormCompileResult CompileFormSource(std::string_view source, const FormTextEncoder& encode);
