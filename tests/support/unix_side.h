// The Unix side of a test under Wine: the Unix path behind a Windows path, and Unix programs
// started from a Windows test (links and file flags that Windows programs cannot make here).
#pragma once

#include <string>

// The Unix path behind a Windows path; empty outside Wine or when it has none.
std::string UnixPathOf(const std::string& windowsPath);

// Starts a Unix program by its path (say "/bin/ln") with the arguments. Wine neither waits for it
// nor reports its exit code: callers wait for the effect instead. False when it cannot start.
bool StartUnixProgram(const std::string& program, const std::string& arguments);

// The text in double quotes, for a Unix program's argument.
std::string UnixQuoted(const std::string& text);
