// The precise import: only the packages the machine's own hardware identifiers select.
#include <windows.h>

#include "app/exec/command_runner.h"
#include "app/exec/probes.h"
#include "app/flows/close_guard.h"
#include "app/flows/dism_run.h"
#include "app/flows/import_flows.h"
#include "app/inject/dism_outcome.h"
#include "app/inject/dism_parameters.h"
#include "app/inject/driver_coverage.h"
#include "app/inject/driver_store.h"
#include "app/inject/precise_plan.h"
#include "app/inject/survey.h"
#include "app/inject/target_system.h"
#include "app/startup/program_globals.h"
#include "runtime/text_commands.h"

void RunPreciseImport(FlowView& view, const char* targetRoot) {
    CloseGuard running;
    view.Begin();
    view.ShowStatus("状态: 正在获取硬件信息,请稍候....");

    OwnedText listing = RunHardwareSurvey();
    const bool target64Bit = TargetIs64Bit(targetRoot) == 1;
    DriverIndex index = LoadDriverIndex(target64Bit);

    OwnedText surveyLog = ConcatText(WorkDir.get(), "\\hwids.log");
    AddLogEntry(listing.get(), surveyLog.c_str());
    OwnedText brand = ReadProcessorBrand();
    AddLogEntry(brand.get(), surveyLog.c_str());

    const PrecisePlan plan =
        PlanPreciseImport(listing.get(), index.text.get(), index.driverBase.get(), ProcessorGeneration, QualifyPath);
    if (!plan.listed) {
        view.Finish(
            {"状态: 精准导入失败", "精准导入失败,错误:Error1001！", BoxIcon::kStop, FlowOutcome::kNothingToInject});
        return;
    }
    if (plan.matched.empty()) {
        view.Finish({"状态: 未搜索到支持的USB设备", "未搜索到支持的USB设备！", BoxIcon::kExclamation,
                     FlowOutcome::kNothingToInject});
        return;
    }

    view.ShowStatus("状态: 正在精准导入驱动,请稍候....");
    OwnedText dismLog = ConcatText(WorkDir.get(), "\\USB.log");
    bool failed = false;
    CommandRunResult failure;
    for (const OwnedText& folder : plan.folders) {
        OwnedText parameters = PreciseImportParameters(targetRoot, folder.get());
        CommandRunResult run;
        OwnedText output = RunDism(view, parameters.c_str(), &run);
        // A stop leaves the rest of the packages unrun and unlogged.
        if (!run.started && run.startError == ERROR_CANCELLED) {
            if (!failed)
                failure = run;
            failed = true;
            break;
        }
        AddLogEntry(output.get(), dismLog.c_str());
        AddLogEntry(parameters.get(), dismLog.c_str());
        if (!DismSucceeded(run.started, run.exitCode) && !failed) {
            failed = true;
            failure = run;
        }
    }

    if (failed) {
        OwnedText message = DismFailureMessage("精准导入驱动失败", failure);
        view.Finish({"状态: 精准导入驱动失败", message.c_str(), BoxIcon::kStop, FlowOutcome::kDismFailed});
        return;
    }
    // DISM's success says the packages were staged, not that Windows 7 will take them for these
    // devices: the store itself answers that, read as the target's Windows will read it.
    const std::vector<std::string> injected = InfNamesBelow(plan.folders);
    const std::vector<StoredPackage> store = ReadDriverStore(targetRoot, target64Bit, &injected);
    const std::vector<DeviceCoverage> coverage = CheckCoverage(listing.get(), plan.indexLines, store);
    view.CoverageChecked(CoverageReport(coverage));
    if (!AllCovered(coverage)) {
        const std::string message =
            "精准导入驱动未生效,以下设备在目标系统中没有可用的驱动:\r\n" + UncoveredNames(coverage);
        view.Finish({"状态: 精准导入驱动未生效", message.c_str(), BoxIcon::kExclamation, FlowOutcome::kNotEffective});
        return;
    }
    view.Finish({"状态: 精准导入驱动完成！", "精准导入驱动完成！\r\n如无效请使用 模糊导入 ", BoxIcon::kInformation,
                 FlowOutcome::kDone});
}
