// Directory levels and the extractor command line of payload staging.
#include "app/startup/staging_paths.h"

#include "runtime/text_commands.h"

DirectoryLevels PlanDirectoryLevels(const char* path) {
    DirectoryLevels plan;
    OwnedText last = RightText(path, 1);
    plan.path = CompareText(last.get(), "\\") == 0 ? CopyText(path) : ConcatText(path, "\\");

    TextArray pieces = SplitText(plan.path.get(), "\\");
    const uint32_t count = pieces.size();
    if (count < 3) {
        plan.levels.push_back(CopyText(plan.path.get()));
        return plan;
    }
    // One pass per piece collapses any run of separators that a single pass would only halve.
    for (uint32_t i = 0; i < count; ++i)
        plan.path = ReplaceText(plan.path.get(), "\\\\", "\\", std::nullopt, std::nullopt, true);

    int32_t start = FindText(plan.path.get(), "\\") + 1;
    for (uint32_t i = 0; i + 1 < count; ++i) {
        const int32_t at = FindText(plan.path.get(), "\\", start);
        plan.levels.push_back(at > 0 ? LeftText(plan.path.get(), at - 1) : OwnedText());
        start = at + 1;
    }
    return plan;
}

OwnedText ExtractorArguments(const char* archivePath, const char* workDir) {
    return ConcatText(" x  ", "\"", archivePath, "\"", "  -y -aos -p", kArchivePassword, "  -o", workDir);
}

uint64_t StagingBytesNeeded(std::initializer_list<uint64_t> writtenFiles, uint64_t unpackedBytes, uint32_t cluster) {
    uint64_t total = unpackedBytes;
    for (uint64_t size : writtenFiles)
        total += cluster > 0 ? (size + cluster - 1) / cluster * cluster : size;
    return total;
}
