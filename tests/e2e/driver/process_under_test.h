// A program started by the driver: its process handle (with the access the remote buffers need),
// its id for window searches, its end and exit code.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

using EnvironmentChanges = std::vector<std::pair<std::string, std::string>>;

class ProcessUnderTest {
  public:
    ProcessUnderTest() = default;
    // Ends a process that is still running: a failed test must not leave windows behind.
    ~ProcessUnderTest();
    ProcessUnderTest(const ProcessUnderTest&) = delete;
    ProcessUnderTest& operator=(const ProcessUnderTest&) = delete;

    // Starts "program" arguments with the driver's environment plus the changes (a name given
    // again replaces the inherited value; an empty value removes the variable). The current
    // directory is the program's. False when it does not start.
    bool Start(const std::string& program,
               const std::string& arguments = std::string(),
               const EnvironmentChanges& changes = {});

    DWORD id() const { return info_.dwProcessId; }
    HANDLE handle() const { return info_.hProcess; }
    bool Running() const;
    // True when it ended within the time; the exit code goes to *code.
    bool WaitForExit(DWORD timeoutMs, DWORD* code);
    void Terminate();

  private:
    PROCESS_INFORMATION info_ = {};
};
