// The pure path and command-line work of payload staging.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "runtime/owned.h"

// What CreateDirectoryPath does to its path before creating anything: the rewritten path (runs
// of separators collapsed when it has three pieces or more) and the directory levels to create,
// outermost first.
struct DirectoryLevels {
    OwnedText path;
    std::vector<OwnedText> levels;
};
DirectoryLevels PlanDirectoryLevels(const char* path);

// The extractor's arguments: " x  \"<archive>\"  -y -aos -p<password>  -o<work dir>".
OwnedText ExtractorArguments(const char* archivePath, const char* workDir);

inline constexpr char kArchivePassword[] = "k537204968";

// The bytes staging fills on the work directory's drive: each file it writes rounded up to whole
// clusters, and the payload once unpacked (already counted in clusters).
uint64_t StagingBytesNeeded(std::initializer_list<uint64_t> writtenFiles, uint64_t unpackedBytes, uint32_t cluster);
