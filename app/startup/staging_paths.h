// The pure path and command-line work of payload staging.
#pragma once

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
