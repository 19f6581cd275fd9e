// Whether the target's driver store serves the devices a precise import is for: each device of
// devcon's listing that the index matched, and the staged package Windows would find for it.
#pragma once

#include <string>
#include <vector>

#include "runtime/owned.h"

// A package of the target's driver store as Windows 7 of the target's architecture reads it.
struct StoredPackage {
    std::string infName;           // the package's own INF file name
    std::string publishedName;     // the oemNN.inf it is published as; empty for an in-box package
    std::vector<std::string> ids;  // what its models serve, upper-cased
};

struct DeviceCoverage {
    std::string name;      // devcon's name, "(无名称)" when it gave none
    std::string instance;  // the instance path
    std::string servedId;  // the identifier a package serves, as devcon lists it; empty: uncovered
    const StoredPackage* package = nullptr;
};

// The devices with a survey-kept identifier that finds an index line, in listing order. Covered
// means one of the device's hardware or compatible identifiers (ASCII case ignored) is served by
// a package; the first hardware identifier that is served wins, then the first compatible one,
// as Windows ranks them. Among packages serving one identifier the earliest in `store` is named.
// The result points into `store`.
std::vector<DeviceCoverage> CheckCoverage(const char* listing,
                                          const TextArray& indexLines,
                                          const std::vector<StoredPackage>& store);

bool AllCovered(const std::vector<DeviceCoverage>& coverage);
// The names of the uncovered devices, one a line, CR LF between them.
std::string UncoveredNames(const std::vector<DeviceCoverage>& coverage);
// Report lines, no line ends: each device with the identifier served and the INF serving it
// (published name first), or "未覆盖"; then one closing line.
std::vector<std::string> CoverageReport(const std::vector<DeviceCoverage>& coverage);
