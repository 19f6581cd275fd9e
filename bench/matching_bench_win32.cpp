// Matching: the precise import's own work between devcon's listing and the DISM runs (the
// listing's filter, the index lookup and the folder of every matched line), for 2,000 hardware
// identifiers against an index of 10,000 lines (1 MB).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/inject/hardware_ids.h"
#include "app/inject/index_matching.h"
#include "app/inject/target_system.h"
#include "bench/bench_clock_win32.h"
#include "bench/bench_report.h"
#include "bench/benchmarks.h"
#include "bench/matching_workload.h"
#include "runtime/text_commands.h"

namespace {

constexpr int kIdentifiers = 2000;
constexpr int kIndexLines = 10000;
constexpr size_t kIndexBytes = 1 << 20;

// The folders the import injects, one per matched line that names one: the precise import's
// own code between the listing and the DISM runs.
std::vector<OwnedText> ImportFolders(const std::string& listing, const std::string& index, const char* base) {
    TextArray lines = SplitListing(listing.c_str());
    TextArray indexLines = SplitText(index.c_str(), "\r\n");
    const std::vector<OwnedText> ids = ExtractHardwareIds(lines);
    return DriverFolders(MatchIndexLines(ids, indexLines), base, 7, QualifyPath);
}

// What the import must give, from the generator's own record of the index it made (not from a
// search): each expected package folder below the driver base, with its closing separator, as
// the system's full path of it (which is what the shell's qualification of an existing folder
// gives).
std::vector<std::string> ExpectedFolders(const MatchingWorkload& work, const std::string& base) {
    std::vector<std::string> folders;
    for (const std::string& folder : work.expectedFolders) {
        char full[MAX_PATH];
        const DWORD n = GetFullPathNameA((base + folder + "\\").c_str(), MAX_PATH, full, nullptr);
        folders.emplace_back(n > 0 && n < MAX_PATH ? std::string(full, n) : std::string());
    }
    return folders;
}

}  // namespace

bool RunMatchingBench(int runs) {
    const MatchingWorkload work = MakeMatchingWorkload(kIdentifiers, kIndexLines, kIndexBytes);
    // The package folders exist, as they do after staging, so the shell's qualification finds them.
    const std::string base = ScratchFolder() + "matching\\\\Win7X64\\";
    for (const std::string& folder : work.folders) {
        std::string path = ScratchFolder() + "matching\\Win7X64\\";
        CreateDirectoryA(ScratchFolder().append("matching").c_str(), nullptr);
        CreateDirectoryA(path.c_str(), nullptr);
        for (size_t at = 0; at <= folder.size(); ++at) {
            if (at == folder.size() || folder[at] == '\\')
                CreateDirectoryA((path + folder.substr(0, at)).c_str(), nullptr);
        }
    }

    std::vector<double> times;
    std::vector<std::string> folders;
    for (int round = 0; round <= runs; ++round) {
        const double start = NowMs();
        const std::vector<OwnedText> found = ImportFolders(work.listing, work.index, base.c_str());
        const double elapsed = NowMs() - start;
        if (round > 0)
            times.push_back(elapsed);
        folders.clear();
        for (const OwnedText& folder : found)
            folders.emplace_back(folder.c_str());
    }
    const std::vector<std::string> expected = ExpectedFolders(work, base);
    const bool same = folders == expected;
    std::printf(
        "matching: %u folders from %u listing bytes and %u index bytes; %s\n", static_cast<unsigned>(folders.size()),
        static_cast<unsigned>(work.listing.size()), static_cast<unsigned>(work.index.size()),
        same ? "the folders the generator laid out, line for line" : "OTHER FOLDERS THAN THE GENERATOR LAID OUT");
    if (!same)
        std::printf("FIGURE|matching results|the folders the generator laid out|-|-|-|-|-|-|MISS\n");
    return Report(ValueFigure{"matching", "filter, lookup and folders of the precise import", "ms", times, 50.0}) &&
           same;
}
