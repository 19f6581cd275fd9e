// Flow texts as console lines.
#include "app/console/console_view.h"

#include <string>

#include "app/console/stop_signal.h"
#include "app/exec/command_line.h"
#include "runtime/error_reason.h"
#include "runtime/system_commands.h"
#include "runtime/text_commands.h"

void ConsoleView::Refuse(const char* message, BoxIcon) {
    out_.Line(message);
    exitCode_ = kExitRefused;
}

void ConsoleView::ShowStatus(const char* text) {
    out_.Line(text);
}

void ConsoleView::RunEnded(const char* program, const char* parameters, const CommandRunResult& run) {
    OwnedText commandLine = BuildCommandLine(OsPlatform(), parameters, program, kProgramForm);
    out_.Line(("DISM: " + std::string(commandLine.c_str())).c_str());
    std::string end;
    if (!run.started) {
        OwnedText reason = SystemErrorReason(run.startError);
        end = "  无法运行: " + std::string(reason.c_str());
    } else {
        end = "  退出代码: " + std::to_string(run.exitCode);
    }
    out_.Line(end.c_str());
}

bool ConsoleView::StopRequested() const {
    return StopSignalled();
}

void ConsoleView::Finish(const FlowEnd& end) {
    if (end.status != nullptr)
        out_.Line(end.status);
    out_.Line(end.message);
    switch (end.outcome) {
        case FlowOutcome::kDone:
            exitCode_ = kExitSuccess;
            break;
        case FlowOutcome::kNothingToInject:
            exitCode_ = kExitNothingToInject;
            break;
        case FlowOutcome::kDismFailed:
            exitCode_ = kExitDismFailed;
            break;
        case FlowOutcome::kNotEffective:
            exitCode_ = kExitNotCovered;
            break;
    }
    for (const std::string& line : coverage_)
        out_.Line(line.c_str());
}
