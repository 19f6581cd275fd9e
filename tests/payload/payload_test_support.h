// Helpers of the payload tests: build-tree paths as the test program sees them, whole-file reads
// and writes, and (Windows) running a command line with its output captured.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A path of the build host (given to the test program by the build) as this program opens it:
// unchanged natively, on Wine's drive Z: (the host's root) under Wine.
std::string HostPath(std::string_view hostPath);

bool ReadWholeFile(const std::string& path, std::string& bytes);
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// Splits at "\r\n"; a final separator adds no piece, an empty text gives no pieces.
std::vector<std::string> SplitCrLf(std::string_view text);

#ifdef _WIN32
struct ProcessOutcome {
    bool started = false;
    unsigned long exitCode = 0;
    std::string output;  // standard output and standard error, in the order written
};

// Starts the exact command line (no quoting added), waits for the process and collects its output.
ProcessOutcome RunCommandLine(const std::string& commandLine);

// Sets an environment variable for the lifetime of the object (children inherit it).
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    std::string name_;
};
#endif
