// One command of the console mode from start-up to the removal of the work directory.
#include "app/console/console_mode.h"

#include <string>

#include "app/console/console_arguments.h"
#include "app/console/console_output.h"
#include "app/console/console_view.h"
#include "app/console/stop_signal.h"
#include "app/console/survey_command.h"
#include "app/console/verify_command.h"
#include "app/flows/import_flows.h"
#include "app/startup/program_globals.h"
#include "app/startup/startup_sequence.h"
#include "runtime/fatal_error.h"
#include "runtime/file_commands.h"
#include "runtime/system_commands.h"

namespace {

ConsoleOutput* g_output = nullptr;

// A fatal runtime error ends the process as in the windows (exit code 0xFFFFFFFF), but says why on
// the console instead of in a box that a script would wait on forever.
void PrintFatalError(const char* text, const char* caption, uint32_t) {
    g_output->Line(caption);
    g_output->Line(text);
}

int RunCommand(const ConsoleRequest& request, ConsoleOutput& out) {
    if (std::optional<StartupStop> stop = PrepareTool()) {
        out.Line(stop->message.c_str());
        return stop->kind == StartupStop::Kind::kNotWindowsPE ? kExitRefused : kExitStartupFailed;
    }
    if (request.command == ConsoleCommand::kSurvey)
        return RunSurveyCommand(out, request.target.c_str());
    if (request.command == ConsoleCommand::kVerify)
        return RunVerifyCommand(out, request.target.c_str());

    ConsoleView view(out);
    switch (request.command) {
        case ConsoleCommand::kPrecise:
            RunTargetInjection(view, request.target.c_str(), true);
            break;
        case ConsoleCommand::kFuzzy:
            RunTargetInjection(view, request.target.c_str(), false);
            break;
        case ConsoleCommand::kCustom:
            RunCustomImport(view, request.target.c_str(), request.folder.c_str());
            break;
        default:
            break;
    }
    return view.ExitCode();
}

}  // namespace

int RunConsoleMode(const std::vector<std::string>& args) {
    const ConsoleRequest request = ParseConsoleArguments(args);
    ConsoleOutput out;
    if (request.command == ConsoleCommand::kUsage) {
        if (!request.problem.empty())
            out.Line(("参数错误: " + request.problem).c_str());
        out.Text(ConsoleUsageText());
        return request.usageAsked ? kExitSuccess : kExitRefused;
    }
    if (!request.logPath.empty()) {
        const Result opened = out.OpenLog(request.logPath.c_str());
        if (!opened) {
            OwnedText reason = SystemErrorReason(opened.error());
            out.Line(("无法写入报告文件 " + request.logPath + "(" + reason.c_str() + ")").c_str());
            return kExitRefused;
        }
    }

    g_output = &out;
    SetFatalBoxPresenter(PrintFatalError);
    CatchStopSignals();
    int code = RunCommand(request, out);
    // As when the main window closes: nothing of the payload stays on the PE's drive.
    if (!WorkDir.empty())
        RemoveDirectoryTree(WorkDir.c_str());
    if (StopSignalled()) {
        out.Line("已中断");
        code = kExitDismFailed;
    }
    ReleaseProgramGlobals();
    return code;
}
