// The coverage report of a target as it stands, whatever injected its drivers.
#include "app/console/verify_command.h"

#include <string>

#include "app/console/console_view.h"
#include "app/exec/probes.h"
#include "app/inject/driver_coverage.h"
#include "app/inject/driver_store.h"
#include "app/inject/precise_plan.h"
#include "app/inject/survey.h"
#include "app/inject/target_system.h"
#include "app/startup/program_globals.h"

int RunVerifyCommand(ConsoleOutput& out, const char* targetRoot) {
    if (!IsWindows7(nullptr, targetRoot)) {
        out.Line("本功能仅适合Windows7系统，请选择正确的系统");
        return kExitRefused;
    }
    OwnedText listing = RunHardwareSurvey();
    const bool target64Bit = TargetIs64Bit(targetRoot) == 1;
    DriverIndex index = LoadDriverIndex(target64Bit);
    const PrecisePlan plan =
        PlanPreciseImport(listing.get(), index.text.get(), index.driverBase.get(), ProcessorGeneration, QualifyPath);
    if (!plan.listed) {
        out.Line("精准导入失败,错误:Error1001！");
        return kExitNothingToInject;
    }
    const std::vector<StoredPackage> store = ReadDriverStore(targetRoot, target64Bit);
    const std::vector<DeviceCoverage> coverage = CheckCoverage(listing.get(), plan.indexLines, store);
    if (coverage.empty()) {
        out.Line("未搜索到支持的USB设备！");
        return kExitNothingToInject;
    }
    out.Line((std::string("驱动库: ") + targetRoot + (target64Bit ? "  64位" : "  32位") + "  " +
              std::to_string(store.size()) + " 个驱动包")
                 .c_str());
    for (const std::string& line : CoverageReport(coverage))
        out.Line(line.c_str());
    return AllCovered(coverage) ? kExitSuccess : kExitNotCovered;
}
