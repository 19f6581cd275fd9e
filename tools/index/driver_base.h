// The driver packages of one architecture: Win7X64/ or Win7X86/ of a payload, every INF below
// its package folders read for Windows 7 of that architecture.
#pragma once

#include <string>
#include <vector>

#include "inf/driver_inf.h"
#include "tools/index/findings.h"
#include "tools/index/payload_tree.h"

struct Architecture {
    const char* baseFolder;  // the driver base, as the payload layout spells it
    const char* indexFile;   // its index file, likewise
    const char* label;       // for messages: "Windows 7 x64"
    InfArchitecture infArchitecture;
};

// Win7X64 first, then Win7X86.
const std::vector<Architecture>& Architectures();

struct PackageInf {
    std::string package;  // the package folder (the first element below the base), as on disk
    std::string infPath;  // relative to the base, "\" between elements, as on disk (UTF-8)
    // The third field of the index lines that serve it: the INF's path when the INF lies in its
    // package folder itself, else the path of the package's element that holds it, so that the
    // tool, which injects the folder of that path, always injects the whole package.
    std::string entry;
    DriverInf inf;
};

struct DriverBase {
    std::string folder;                 // the base as on disk; empty when the payload has none
    std::vector<std::string> packages;  // its package folders, as on disk
    std::vector<PackageInf> infs;       // in path order
};

// Reads the base of `architecture`. INFs that lie in the base itself (outside any package
// folder) and INFs that cannot be read become errors.
DriverBase ReadDriverBase(const PayloadTree& tree,
                          const Architecture& architecture,
                          uint32_t codePage,
                          uint16_t language,
                          Findings& findings);

// The target an architecture's INFs are read for.
InfTarget TargetOf(const Architecture& architecture, uint32_t codePage, uint16_t language);

// True for a file name ending in ".inf", any case.
bool IsInfName(std::string_view name);
