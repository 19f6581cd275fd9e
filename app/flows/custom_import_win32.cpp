// The custom import: any driver folder into any Windows directory that holds Explorer.exe.
#include "app/exec/command_runner.h"
#include "app/flows/close_guard.h"
#include "app/flows/dism_run.h"
#include "app/flows/import_flows.h"
#include "app/inject/dism_outcome.h"
#include "app/inject/dism_parameters.h"
#include "app/startup/program_globals.h"
#include "runtime/file_commands.h"
#include "runtime/text_commands.h"

void RunCustomImport(FlowView& view, const char* windowsDirectory, const char* driverFolder) {
    if (windowsDirectory == nullptr || windowsDirectory[0] == '\0') {
        view.Refuse("请选择目标系统的Windows目录！", BoxIcon::kExclamation);
        return;
    }
    if (driverFolder == nullptr || driverFolder[0] == '\0') {
        view.Refuse("请选择驱动所在目录！", BoxIcon::kExclamation);
        return;
    }
    OwnedText explorer = ConcatText(windowsDirectory, "\\Explorer.exe");
    if (!FileExists(explorer.c_str())) {
        view.Refuse("请选择正确的Windows系统！", BoxIcon::kExclamation);
        return;
    }

    CloseGuard running;
    view.Begin();
    OwnedText imageRoot = ImageRootOfWindowsDirectory(windowsDirectory);
    OwnedText parameters = CustomImportParameters(imageRoot.get(), driverFolder);
    CommandRunResult run;
    RunDism(view, parameters.c_str(), &run);

    if (!DismSucceeded(run.started, run.exitCode)) {
        OwnedText message = DismFailureMessage("自定义导入驱动失败", run);
        view.Finish({nullptr, message.c_str(), BoxIcon::kStop, FlowOutcome::kDismFailed});
        return;
    }
    // Kept on purpose: the custom import has always ended with the fuzzy import's completion text.
    view.Finish({nullptr, "模糊导入驱动完成！", BoxIcon::kInformation, FlowOutcome::kDone});
}
