// What an import flow shows while it runs and when it ends, whoever shows it: the windows or the
// console. The flows decide every text; a view only puts it where its user looks.
#pragma once

#include <string>
#include <vector>

#include "app/exec/command_runner.h"
#include "runtime/info_box.h"

// What a flow that began came to, for a view that answers with more than the message (the
// command line's exit code).
enum class FlowOutcome {
    kDone,
    // No hardware listing, or nothing in it that the index serves.
    kNothingToInject,
    // DISM failed or could not start.
    kDismFailed,
    // DISM succeeded, but the target's driver store serves a matched device with nothing.
    kNotEffective,
};

// How a flow that began ends: its status text (null for a view without one), and the message
// with its icon.
struct FlowEnd {
    const char* status;
    const char* message;
    BoxIcon icon;
    FlowOutcome outcome;
};

class FlowView {
  public:
    virtual ~FlowView() = default;

    // A refusal before any work began: the message alone, nothing else changes.
    virtual void Refuse(const char* message, BoxIcon icon) = 0;
    // Work begins: nothing that would start another run may be used until Finish.
    virtual void Begin() = 0;
    virtual void ShowStatus(const char* text) = 0;
    // A DISM run ended: what ran and how, for a view that keeps a report.
    virtual void RunEnded(const char* /*program*/, const char* /*parameters*/, const CommandRunResult& /*run*/) {}
    // The coverage check after the import ran: report lines for a view that prints them (the
    // windows say what matters in the flow's end).
    virtual void CoverageChecked(const std::vector<std::string>& /*report*/) {}
    // True once the user asked to stop: the flow starts no further DISM run.
    virtual bool StopRequested() const { return false; }
    // The one end of every flow that began: the status, the controls back, then the message.
    virtual void Finish(const FlowEnd& end) = 0;
};
