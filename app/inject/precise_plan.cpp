// Planning a precise import from devcon's listing and the driver index.
#include "app/inject/precise_plan.h"

#include "app/inject/hardware_ids.h"
#include "runtime/text_commands.h"

PrecisePlan PlanPreciseImport(const char* listing,
                              const char* indexText,
                              const char* driverBase,
                              int32_t processorGeneration,
                              PathQualifier qualify) {
    PrecisePlan plan;
    TextArray lines = SplitListing(listing);
    plan.listed = lines.size() != 0;
    plan.indexLines = SplitText(indexText, "\r\n");
    if (!plan.listed)
        return plan;
    plan.ids = ExtractHardwareIds(lines);
    plan.matched = MatchIndexLines(plan.ids, plan.indexLines);
    plan.folders = DriverFolders(plan.matched, driverBase, processorGeneration, qualify);
    return plan;
}
