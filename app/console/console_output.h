// Where the console mode writes: the console of the program that started it, or the file or pipe
// its standard output was redirected to, and the report file of /log. Windows only.
#pragma once

#include <windows.h>

#include "runtime/result.h"
#include "runtime/scoped_handle.h"

class ConsoleOutput {
  public:
    // Attaches to the parent's console (also when the output is redirected: its signals and its
    // code page are the ones that count).
    ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

    // Opens the report file for appending, creating it when missing.
    Result OpenLog(const char* path);
    // One line of GBK text (it may hold CR LF breaks itself); CR LF is added.
    void Line(const char* text);
    // Text that brings its own line ends.
    void Text(const char* text);

  private:
    void WriteOut(const char* text);

    HANDLE out_ = nullptr;
    // The console of the parent, written as wide text so that any console code page reads it.
    FileHandle console_;
    bool attached_ = false;
    FileHandle log_;
};
