// The index file of a driver base, made from what its INF files declare: one line per identifier
// and package, the package Windows would prefer first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/index/driver_base.h"
#include "tools/index/findings.h"

// Whether an identifier of a model goes into the index: a PCI identifier of one vendor's device
// (PCI\VEN_...) of a model that is a USB host controller, because the INF is of class USB or one
// of the model's identifiers carries the class code 0C03. Identifiers of a whole class
// (PCI\CC_0C0330), of hubs and of other devices stay out: the index must never lead the tool to
// an unrelated driver.
bool BelongsInIndex(const HardwareId& id, const InfModel& model, const DriverInf& inf);

struct IndexLine {
    std::string id;  // upper-cased
    std::string description;
    const PackageInf* from = nullptr;
};

struct Overlap {
    std::vector<std::string> ids;
    std::vector<const PackageInf*> packages;  // in the order of their lines, the one taken first
};

struct IndexPlan {
    std::vector<IndexLine> lines;
    std::vector<Overlap> overlaps;  // identifiers that several packages serve, grouped by packages
};

// Lines sorted by identifier; for one identifier the package with the newest DriverVer date, then
// version, then the first folder name comes first (the tool takes the first line holding an
// identifier), and each package once.
IndexPlan PlanIndex(const std::vector<PackageInf>& infs);

// The index file in `codePage`, CR LF after every line:
//   description|identifier|entry|DriverVer|INF path
// Only the identifier and the entry (the third field) matter to the tool. A line whose paths
// cannot be written in the code page is left out with an error on `indexName`.
std::string FormatIndex(const IndexPlan& plan, uint32_t codePage, const std::string& indexName, Findings& findings);

// One note per overlap, naming the package taken and those behind it.
void ReportOverlaps(const IndexPlan& plan, const std::string& indexName, Findings& findings);

// Makes and writes both index files of the payload (an existing file keeps its spelling, and is
// left alone when its bytes would not change). Returns one summary line per file written.
std::vector<std::string> MakeIndexFiles(const PayloadTree& tree,
                                        uint32_t codePage,
                                        uint16_t language,
                                        Findings& findings);
