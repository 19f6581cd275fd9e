// What a precise import will inject: the listing's identifiers, the index lines they select and
// the package folders of those lines. The import and its dry run both follow this plan.
#pragma once

#include <cstdint>
#include <vector>

#include "app/inject/index_matching.h"
#include "runtime/owned.h"

struct PrecisePlan {
    // The listing has lines at all; devcon that did not run lists none.
    bool listed = false;
    TextArray indexLines;
    // The identifiers the survey filter kept, in listing order.
    std::vector<OwnedText> ids;
    // The first index line of each identifier that found one, in order, duplicates kept.
    std::vector<const char*> matched;
    // The folder of each matched line that names one, qualified; one DISM run each.
    std::vector<OwnedText> folders;
};

PrecisePlan PlanPreciseImport(const char* listing,
                              const char* indexText,
                              const char* driverBase,
                              int32_t processorGeneration,
                              PathQualifier qualify);
