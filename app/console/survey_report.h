// The dry run's account of devcon's listing: device by device, the identifiers the survey keeps,
// the index line the first of them selects and the folder a precise import would inject.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/inject/index_matching.h"
#include "runtime/owned.h"

struct SurveyIndex {
    const TextArray& lines;
    // The index file's name as the report shows it, e.g. "Win7x64.Index".
    const char* name;
    const char* driverBase;
};

// Report lines, no line ends. Devices with no identifier the survey keeps share one closing line.
std::vector<std::string> DeviceSurveyReport(const char* listing,
                                            const SurveyIndex& index,
                                            int32_t processorGeneration,
                                            PathQualifier qualify);
