// What the fault scenarios need beyond the driver: Unix-side file flags through Wine, files held
// open, real mouse double clicks, the tool's handle and memory counters, and test builds of the
// tool with a fault injected.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "tests/support/unix_side.h"

// Sets the immutable flag (chattr +i) on the Unix file or folder behind a Windows path for as
// long as the object lives. Run as root, Wine writes through the read-only attribute and Unix
// permissions; the flag stops even root. ok() tells whether a write is really refused now.
class ImmutablePath {
  public:
    explicit ImmutablePath(const std::string& windowsPath);
    ~ImmutablePath();
    ImmutablePath(const ImmutablePath&) = delete;
    ImmutablePath& operator=(const ImmutablePath&) = delete;
    bool ok() const { return ok_; }

  private:
    std::string windowsPath_;
    std::string unixPath_;
    bool ok_ = false;
};

// A drive made small for the object's life: a tmpfs of `size` bytes (a multiple of 4 KB) mounted
// over the folder behind a Windows drive root, which hides what the folder holds, with a file of
// `fill` bytes written into it. Mounting needs root, as chattr does; tmpfs keeps the extended
// attribute in which Wine stores the hidden attribute. scripts/e2e-prefix unmounts what a
// scenario that was killed left mounted.
class SmallDrive {
  public:
    SmallDrive(const std::string& root, uint64_t size, uint64_t fill);
    ~SmallDrive();
    SmallDrive(const SmallDrive&) = delete;
    SmallDrive& operator=(const SmallDrive&) = delete;
    bool ok() const { return ok_; }

  private:
    std::string root_;
    std::string unixPath_;
    uint64_t size_;
    bool mounted_ = false;
    bool ok_ = false;
};

// The system's own text for an error code in the ANSI code page, without its line break, as the
// tool's boxes quote it; empty when the system has none.
std::string SystemText(DWORD code);
// The reason as the tool's boxes give it: "错误 N: <text>", or "错误 N" without a text.
std::string ErrorReason(DWORD code);

// A file held open with the given sharing (0: nobody else may open it) while the object lives.
class HeldOpenFile {
  public:
    HeldOpenFile(const std::string& path, DWORD sharing);
    ~HeldOpenFile();
    HeldOpenFile(const HeldOpenFile&) = delete;
    HeldOpenFile& operator=(const HeldOpenFile&) = delete;
    bool ok() const { return file_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE file_;
};

// An environment variable of the driver, which the programs it starts inherit, for the object's life.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const std::string& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    std::string name_;
};

// A real double click with the left button in the middle of the window, through the system's
// input queue as a user's mouse makes it: the system, not the driver, decides which window gets
// it, and a disabled window gets nothing.
bool DoubleClick(HWND window);
// A real single click on the window's close box, found by asking the window where it is.
bool ClickCloseBox(HWND window);

struct ProcessCounters {
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
};
bool ReadProcessCounters(HANDLE process, ProcessCounters* counters);

// The test builds of the tool in bin\e2e\ (tests/e2e/fault_tool): the sandbox tool with a fault
// chosen by TOVUSB_FAULT_* variables, and the one whose archive is made under another password.
std::string FaultToolPath();
std::string WrongPasswordToolPath();
// The DISM that misbehaves as dism-fault.txt in the records folder says (tests/e2e/fixtures).
std::string FaultyDismPath();
// Puts it where the running tool takes both DISM builds from, with the fault to show (empty: a
// quick success without the simulator).
bool InstallFaultyDism(const std::string& fault);
