// The usual Windows rules for splitting a command line into arguments (as programs built with
// the Microsoft C runtime apply them to the wide command line, where a GBK character is one
// character), kept simple as a reference for the tests.
#pragma once

#include <string>
#include <vector>

inline std::vector<std::string> SplitWindowsArguments(const std::string& line) {
    std::vector<std::string> args;
    size_t i = 0;
    const size_t n = line.size();
    while (true) {
        while (i < n && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= n)
            break;
        std::string arg;
        bool quoted = false;
        while (i < n) {
            const unsigned char c = static_cast<unsigned char>(line[i]);
            if (c >= 0x80 && i + 1 < n) {
                arg += line.substr(i, 2);
                i += 2;
                continue;
            }
            if (!quoted && (c == ' ' || c == '\t'))
                break;
            if (c == '\\') {
                size_t slashes = 0;
                while (i < n && line[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && line[i] == '"') {
                    arg.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(slashes, '\\');
                }
                continue;
            }
            if (c == '"') {
                if (quoted && i + 1 < n && line[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            arg += static_cast<char>(c);
            ++i;
        }
        args.push_back(arg);
    }
    return args;
}
