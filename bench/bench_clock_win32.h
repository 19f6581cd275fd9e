// Wall-clock and processor time as the benchmarks read them, and the folders they work in.
#pragma once

#include <windows.h>

#include <string>

// Milliseconds on the performance counter (one clock for every process of the machine).
double NowMs();
// Processor time (user and kernel) the process has used so far, in milliseconds.
double ProcessCpuMs(HANDLE process);

// The folder of this program, ending in "\".
std::string OwnFolder();
// A folder for the benchmarks' files, ending in "\": TOVUSB_E2E_SCRATCH when scripts/e2e-prefix
// set it, else the temporary folder.
std::string ScratchFolder();
// The scriptable child of the tests (bin\fixtures\tov_child.exe beside bin\bench\).
std::string ChildProgram();

// Starts the command line with a hidden console, standard output and error going to `output`
// (null: none); the process handle, null when it cannot start.
HANDLE StartChild(const std::string& commandLine, HANDLE output);
// Runs the command line as StartChild does and waits for its end. False when it cannot start;
// the exit code goes to *code.
bool RunToEnd(const std::string& commandLine, HANDLE output, DWORD* code = nullptr);
