// The dry run's survey, index lookup and planned DISM runs.
#include "app/console/survey_command.h"

#include <string>

#include "app/console/console_view.h"
#include "app/console/survey_report.h"
#include "app/exec/command_line.h"
#include "app/exec/probe_paths.h"
#include "app/exec/probes.h"
#include "app/inject/dism_parameters.h"
#include "app/inject/precise_plan.h"
#include "app/inject/survey.h"
#include "app/inject/target_system.h"
#include "app/startup/program_globals.h"
#include "runtime/system_commands.h"
#include "runtime/text_commands.h"

namespace {

void Line(ConsoleOutput& out, const std::string& text) {
    out.Line(text.c_str());
}

}  // namespace

int RunSurveyCommand(ConsoleOutput& out, const char* targetRoot) {
    const bool hasTarget = targetRoot != nullptr && targetRoot[0] != '\0';
    bool windows7 = true;
    bool target64Bit = IsHost64Bit();
    if (hasTarget) {
        OwnedText version = GetFileVersionText(ConcatText(targetRoot, kSystem32CmdAfterRoot).c_str());
        windows7 = IsWindows7(nullptr, targetRoot);
        target64Bit = TargetIs64Bit(targetRoot) == 1;
        Line(out, std::string("目标系统: ") + targetRoot + "  cmd.exe 版本 " +
                      (version.empty() ? "(无)" : version.c_str()) + (windows7 ? "  Windows 7" : "  不是Windows 7") +
                      (target64Bit ? "  64位" : "  32位"));
    } else {
        Line(out, std::string("目标系统: 未给出, 按本机架构 ") + (target64Bit ? "64位" : "32位") + " 选择索引");
    }

    OwnedText brand = ReadProcessorBrand();
    OwnedText trimmed = TrimSpaces(brand.get());
    std::string processor = std::string("处理器: ") + trimmed.c_str();
    if (ProcessorGeneration == 8 || ProcessorGeneration == 9)
        processor += "  第八代及以后的英特尔处理器, 匹配的设备一律注入 Intel_8thA_USB3.A_Win7";
    Line(out, processor);

    OwnedText listing = RunHardwareSurvey();
    DriverIndex index = LoadDriverIndex(target64Bit);
    const char* indexName = target64Bit ? "Win7x64.Index" : "Win7x86.Index";
    Line(out, std::string("索引: ") + WorkDir.c_str() + indexName + "  驱动目录: " + index.driverBase.c_str());

    const PrecisePlan plan =
        PlanPreciseImport(listing.get(), index.text.get(), index.driverBase.get(), ProcessorGeneration, QualifyPath);
    if (!plan.listed) {
        out.Line("精准导入失败,错误:Error1001！");
        return kExitNothingToInject;
    }
    for (const std::string& line : DeviceSurveyReport(
             listing.get(), {plan.indexLines, indexName, index.driverBase.get()}, ProcessorGeneration, QualifyPath))
        Line(out, line);

    if (plan.matched.empty())
        out.Line("未搜索到支持的USB设备！");
    if (hasTarget && !windows7) {
        out.Line("本功能仅适合Windows7系统，请选择正确的系统");
        return kExitRefused;
    }
    if (hasTarget && !plan.folders.empty()) {
        Line(out, "精准导入将依次运行 " + std::to_string(plan.folders.size()) + " 次DISM:");
        for (const OwnedText& folder : plan.folders) {
            OwnedText parameters = PreciseImportParameters(targetRoot, folder.get());
            OwnedText commandLine = BuildCommandLine(OsPlatform(), parameters.c_str(), DismPath.c_str(), kProgramForm);
            Line(out, std::string("  ") + commandLine.c_str());
        }
    }
    return plan.folders.empty() ? kExitNothingToInject : kExitSuccess;
}
