// tovusb-index: makes a payload's index files from its driver packages, or checks a payload.
// The usage text below documents the exit codes.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/index/findings.h"
#include "tools/index/index_maker.h"
#include "tools/index/payload_check.h"
#include "tools/index/payload_tree.h"

namespace {

const char kUsage[] =
    "usage: tovusb-index [--quiet] [--code-page N] [--language LLLL] PAYLOAD_DIR\n"
    "       tovusb-index --check [--warn-only] [--code-page N] [--language LLLL] [--scratch-mb N] PAYLOAD_DIR\n"
    "\n"
    "Without --check: reads every INF below Win7X64/ and Win7X86/ and writes Win7X64.index and\n"
    "Win7x86.index (an existing file keeps its spelling). Exit 0 when both are written, 1 on an\n"
    "error, 3 when the command line or the folder cannot be used.\n"
    "--check: writes nothing and reports what would go wrong with the payload. Exit 0 with no\n"
    "finding, 1 with errors, 2 with warnings only, 3 as above. --warn-only prints every finding as\n"
    "a warning and exits 0 (3 as above).\n"
    "--code-page: of the index files and of INF files without a byte-order mark (default 936).\n"
    "--language: the locale of [Strings.LLLL] sections, four hexadecimal digits (default 0804).\n"
    "--scratch-mb: the scratch space of Windows PE the payload must fit (default 32).\n";

constexpr int kExitErrors = 1;
constexpr int kExitWarnings = 2;
constexpr int kExitUsage = 3;

struct Options {
    bool check = false;
    bool warnOnly = false;
    bool quiet = false;
    CheckOptions checkOptions;
    std::string folder;
};

bool ParseNumber(const char* text, int base, unsigned long long limit, unsigned long long& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, base);
    return end != text && *end == '\0' && value <= limit && text[0] != '-';
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        unsigned long long value = 0;
        if (arg == "--check") {
            options.check = true;
        } else if (arg == "--warn-only") {
            options.warnOnly = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--code-page" && i + 1 < argc && ParseNumber(argv[i + 1], 10, 65535, value)) {
            options.checkOptions.codePage = static_cast<uint32_t>(value);
            ++i;
        } else if (arg == "--language" && i + 1 < argc && ParseNumber(argv[i + 1], 16, 0xFFFF, value)) {
            options.checkOptions.language = static_cast<uint16_t>(value);
            ++i;
        } else if (arg == "--scratch-mb" && i + 1 < argc && ParseNumber(argv[i + 1], 10, 1u << 20, value)) {
            options.checkOptions.scratchBytes = value << 20;
            ++i;
        } else if (!arg.empty() && arg[0] != '-' && options.folder.empty()) {
            options.folder = arg;
        } else {
            return false;
        }
    }
    return !options.folder.empty() && (options.check || !options.warnOnly);
}

void Print(const Findings& findings, bool quiet, bool allAsWarnings) {
    for (const Finding& finding : findings.all()) {
        if (quiet && finding.severity == Severity::kNote)
            continue;
        std::fprintf(stderr, "%s\n", FormatFinding(finding, allAsWarnings).c_str());
    }
}

int Make(const PayloadTree& tree, const Options& options) {
    Findings findings;
    const std::vector<std::string> summary =
        MakeIndexFiles(tree, options.checkOptions.codePage, options.checkOptions.language, findings);
    if (!options.quiet) {
        for (const std::string& line : summary)
            std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
    Print(findings, options.quiet, false);
    return findings.Count(Severity::kError) > 0 ? kExitErrors : 0;
}

int Check(const PayloadTree& tree, const Options& options) {
    Findings findings;
    CheckPayload(tree, options.checkOptions, findings);
    Print(findings, false, options.warnOnly);
    const size_t errors = findings.Count(Severity::kError);
    const size_t warnings = findings.Count(Severity::kWarning);
    std::printf("tovusb-index: %zu errors, %zu warnings in %s\n", errors, warnings, tree.root().c_str());
    if (options.warnOnly)
        return 0;
    return errors > 0 ? kExitErrors : warnings > 0 ? kExitWarnings : 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    std::string error;
    const std::optional<PayloadTree> tree = PayloadTree::Scan(options.folder, error);
    if (!tree) {
        std::fprintf(stderr, "tovusb-index: %s\n", error.c_str());
        return kExitUsage;
    }
    return options.check ? Check(*tree, options) : Make(*tree, options);
}
