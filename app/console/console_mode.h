// The tool run from a command line: the same start-up and flows as the windows, told on the
// console, ending with an exit code. Windows only.
#pragma once

#include <string>
#include <vector>

// The arguments without the program's name; the process's exit code.
int RunConsoleMode(const std::vector<std::string>& args);
