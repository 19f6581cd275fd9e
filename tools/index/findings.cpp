// Counting and printing findings.
#include "tools/index/findings.h"

size_t Findings::Count(Severity severity) const {
    size_t count = 0;
    for (const Finding& finding : all_)
        count += finding.severity == severity ? 1 : 0;
    return count;
}

std::string FormatFinding(const Finding& finding, bool allAsWarnings) {
    const char* label = "note";
    if (finding.severity == Severity::kWarning || (finding.severity == Severity::kError && allAsWarnings))
        label = "warning";
    else if (finding.severity == Severity::kError)
        label = "error";
    std::string out = std::string(label) + ": ";
    if (!finding.where.empty())
        out += finding.where + ": ";
    return out + finding.text;
}
