// The fuzzy import: every package of the target's architecture in one recursive DISM run.
#include "app/exec/command_runner.h"
#include "app/inject/dism_outcome.h"
#include "app/inject/dism_parameters.h"
#include "app/inject/imports.h"
#include "app/inject/target_system.h"
#include "app/startup/program_globals.h"
#include "app/ui/close_guard.h"
#include "app/ui/status_reporting.h"
#include "runtime/info_box.h"

void RunFuzzyImport(const char* targetRoot, int32_t quiet) {
    CloseGuard running;
    SetStatusText("状态: 正在模糊导入驱动,请稍候...");
    SetMainControlsDisabled(true);

    const bool target64Bit = TargetIs64Bit(targetRoot) == 1;
    OwnedText parameters = FuzzyImportParameters(targetRoot, WorkDir.get(), target64Bit);
    CommandRunResult run;
    CommandRunner(parameters.c_str(), DismPath.c_str(), kProgramForm, &run);

    if (!DismSucceeded(run.started, run.exitCode)) {
        SetStatusText("状态: 模糊导入驱动失败");
        SetMainControlsDisabled(false);
        if (quiet != 1) {
            OwnedText message = DismFailureMessage("模糊导入驱动失败", run);
            InfoBox(TaggedValue::OfText(message.c_str()), 0x10, "提示");
        }
        return;
    }
    SetStatusText("状态: 模糊导入驱动完成！");
    SetMainControlsDisabled(false);
    if (quiet != 1)
        InfoBox(TaggedValue::OfText("模糊导入驱动完成！"), 0x40, "提示");
}
