// The precise import: only the packages the machine's own hardware identifiers select.
#include <vector>

#include "app/exec/command_runner.h"
#include "app/exec/probes.h"
#include "app/flows/close_guard.h"
#include "app/flows/import_flows.h"
#include "app/inject/dism_outcome.h"
#include "app/inject/dism_parameters.h"
#include "app/inject/hardware_ids.h"
#include "app/inject/index_matching.h"
#include "app/inject/survey.h"
#include "app/inject/target_system.h"
#include "app/startup/program_globals.h"
#include "runtime/text_commands.h"

void RunPreciseImport(FlowView& view, const char* targetRoot) {
    CloseGuard running;
    view.Begin();
    view.ShowStatus("状态: 正在获取硬件信息,请稍候....");

    OwnedText listing = RunHardwareSurvey();
    TextArray lines = SplitListing(listing.get());
    const bool target64Bit = TargetIs64Bit(targetRoot) == 1;
    DriverIndex index = LoadDriverIndex(target64Bit);
    TextArray indexLines = SplitText(index.text.get(), "\r\n");

    OwnedText surveyLog = ConcatText(WorkDir.get(), "\\hwids.log");
    AddLogEntry(listing.get(), surveyLog.c_str());
    OwnedText brand = ReadProcessorBrand();
    AddLogEntry(brand.get(), surveyLog.c_str());

    if (lines.size() == 0) {
        view.Finish({"状态: 精准导入失败", "精准导入失败,错误:Error1001！", BoxIcon::kStop});
        return;
    }

    const std::vector<OwnedText> ids = ExtractHardwareIds(lines);
    const std::vector<const char*> matched = MatchIndexLines(ids, indexLines);
    if (matched.empty()) {
        view.Finish({"状态: 未搜索到支持的USB设备", "未搜索到支持的USB设备！", BoxIcon::kExclamation});
        return;
    }

    view.ShowStatus("状态: 正在精准导入驱动,请稍候....");
    OwnedText dismLog = ConcatText(WorkDir.get(), "\\USB.log");
    bool failed = false;
    CommandRunResult failure;
    const std::vector<OwnedText> folders =
        DriverFolders(matched, index.driverBase.get(), ProcessorGeneration, QualifyPath);
    for (const OwnedText& folder : folders) {
        OwnedText parameters = PreciseImportParameters(targetRoot, folder.get());
        CommandRunResult run;
        OwnedText output = CommandRunner(parameters.c_str(), DismPath.c_str(), kProgramForm, &run);
        AddLogEntry(output.get(), dismLog.c_str());
        AddLogEntry(parameters.get(), dismLog.c_str());
        if (!DismSucceeded(run.started, run.exitCode) && !failed) {
            failed = true;
            failure = run;
        }
    }

    if (failed) {
        OwnedText message = DismFailureMessage("精准导入驱动失败", failure);
        view.Finish({"状态: 精准导入驱动失败", message.c_str(), BoxIcon::kStop});
        return;
    }
    view.Finish({"状态: 精准导入驱动完成！", "精准导入驱动完成！\r\n如无效请使用 模糊导入 ", BoxIcon::kInformation});
}
