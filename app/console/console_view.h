// The import flows told on the console: every status and message as a line, each DISM run with
// its command line and end, and the exit code the flow's end calls for. Windows only.
#pragma once

#include "app/console/console_output.h"
#include "app/flows/flow_view.h"

// The console mode's exit codes.
enum ConsoleExit : int {
    kExitSuccess = 0,
    kExitRefused = 1,
    kExitNothingToInject = 2,
    kExitDismFailed = 3,
    kExitStartupFailed = 4,
    kExitNotCovered = 5,
};

class ConsoleView : public FlowView {
  public:
    explicit ConsoleView(ConsoleOutput& out) : out_(out) {}

    void Refuse(const char* message, BoxIcon icon) override;
    void Begin() override {}
    void ShowStatus(const char* text) override;
    void RunEnded(const char* program, const char* parameters, const CommandRunResult& run) override;
    void CoverageChecked(const std::vector<std::string>& report) override { coverage_ = report; }
    bool StopRequested() const override;
    void Finish(const FlowEnd& end) override;

    int ExitCode() const { return exitCode_; }

  private:
    ConsoleOutput& out_;
    int exitCode_ = kExitRefused;
    // Printed after the flow's end, where a script reading the last lines finds it.
    std::vector<std::string> coverage_;
};
