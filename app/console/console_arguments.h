// The command line of the tool's console mode: which command, its operands and the report file.
#pragma once

#include <string>
#include <vector>

enum class ConsoleCommand { kUsage, kSurvey, kPrecise, kFuzzy, kCustom, kVerify };

struct ConsoleRequest {
    ConsoleCommand command = ConsoleCommand::kUsage;
    // Usage asked for with /? (exit 0) rather than given for arguments that were wrong (exit 1).
    bool usageAsked = false;
    // What was wrong with the arguments, for the line above the usage; empty when nothing was.
    std::string problem;
    // ROOT of /survey, /precise, /fuzzy and /verify, WINDIR of /custom; empty for /survey without ROOT.
    std::string target;
    // FOLDER of /custom.
    std::string folder;
    // /log FILE; empty without.
    std::string logPath;
};

// Switches begin with "/" or "-" and are read without case; "/log" takes the next argument as
// its file whatever it looks like. The arguments come without the program's own name.
ConsoleRequest ParseConsoleArguments(const std::vector<std::string>& args);

// The usage text, CR LF line ends, GBK.
const char* ConsoleUsageText();
