// Windows command-line splitting by the C runtime's rules, byte-exact for GBK text.
#include "tools/dism_sim/command_line.h"

#include <cstdint>

#include "runtime/text_rules.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Appends the character at i (one byte, or two for a lead byte) and returns the index after it.
size_t TakeCharacter(std::string_view line, size_t i, std::string& out) {
    out += line[i];
    if (IsLeadByte(static_cast<uint8_t>(line[i])) && i + 1 < line.size()) {
        out += line[i + 1];
        return i + 2;
    }
    return i + 1;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> args;
    size_t i = 0;
    const size_t n = line.size();
    if (n == 0)
        return args;

    std::string program;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(line[i]))) {
        if (line[i] == '"') {
            quoted = !quoted;
            ++i;
        } else {
            i = TakeCharacter(line, i, program);
        }
    }
    args.push_back(program);

    for (;;) {
        while (i < n && IsBlank(line[i]))
            ++i;
        if (i >= n)
            break;
        std::string arg;
        quoted = false;
        while (i < n && (quoted || !IsBlank(line[i]))) {
            const char c = line[i];
            if (c == '\\') {
                size_t count = 0;
                while (i < n && line[i] == '\\') {
                    ++count;
                    ++i;
                }
                if (i < n && line[i] == '"') {
                    arg.append(count / 2, '\\');
                    if (count % 2 == 1) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(count, '\\');
                }
            } else if (c == '"') {
                if (quoted && i + 1 < n && line[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                i = TakeCharacter(line, i, arg);
            }
        }
        args.push_back(arg);
    }
    return args;
}
