// The fuzzy import: every package of the target's architecture in one recursive DISM run.
#include "app/exec/command_runner.h"
#include "app/flows/close_guard.h"
#include "app/flows/dism_run.h"
#include "app/flows/import_flows.h"
#include "app/inject/dism_outcome.h"
#include "app/inject/dism_parameters.h"
#include "app/inject/target_system.h"
#include "app/startup/program_globals.h"

void RunFuzzyImport(FlowView& view, const char* targetRoot) {
    CloseGuard running;
    view.ShowStatus("状态: 正在模糊导入驱动,请稍候...");
    view.Begin();

    const bool target64Bit = TargetIs64Bit(targetRoot) == 1;
    OwnedText parameters = FuzzyImportParameters(targetRoot, WorkDir.get(), target64Bit);
    CommandRunResult run;
    RunDism(view, parameters.c_str(), &run);

    if (!DismSucceeded(run.started, run.exitCode)) {
        OwnedText message = DismFailureMessage("模糊导入驱动失败", run);
        view.Finish({"状态: 模糊导入驱动失败", message.c_str(), BoxIcon::kStop, FlowOutcome::kDismFailed});
        return;
    }
    view.Finish({"状态: 模糊导入驱动完成！", "模糊导入驱动完成！", BoxIcon::kInformation, FlowOutcome::kDone});
}
