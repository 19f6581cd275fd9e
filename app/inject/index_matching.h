// Looking hardware identifiers up in a driver index, and the folders that matched lines name.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "runtime/owned.h"

// The first index line holding "|" + identifier + "|" (ASCII case ignored, GBK characters
// stepped over) for many identifiers, the index read once.
class IndexLineFinder {
  public:
    // The lines must outlive the finder.
    explicit IndexLineFinder(const TextArray& lines);
    ~IndexLineFinder();
    IndexLineFinder(const IndexLineFinder&) = delete;
    IndexLineFinder& operator=(const IndexLineFinder&) = delete;
    // 0-based number of the first line that holds the key, or -1.
    int64_t Find(const char* id) const;

  private:
    struct Keys;
    const TextArray& lines_;
    std::unique_ptr<Keys> keys_;
};

// For each identifier in order, the first index line holding "|" + identifier + "|", untrimmed;
// one entry per identifier that found a line, duplicates kept. One pass over the index serves
// every identifier.
std::vector<const char*> MatchIndexLines(const std::vector<OwnedText>& ids, const TextArray& indexLines);

// The directory part of a path, ending in "\"; a trailing "\" of the path itself is ignored.
OwnedText ParentFolderOf(const char* path);

// Qualifies a path the way the shell does; injected so that the matching logic stays portable.
using PathQualifier = OwnedText (*)(const char* path);

// The folder a matched line injects, before the shell qualifies it: with generation 8 or 9 always
// the Intel 8th-generation package, else the directory of the line's third "|" field below the
// driver base. No result (fewer than three fields) means the line is skipped.
std::optional<OwnedText> DriverFolderPath(const char* line, const char* driverBase, int32_t processorGeneration);

// The qualified DriverFolderPath of every matched line in order, skipped lines left out. Each distinct path is
// qualified once and its result copied for the lines that name it again: a machine's matched
// lines name a few package folders many times over, and the shell qualifies a full path the same
// way every time.
std::vector<OwnedText> DriverFolders(const std::vector<const char*>& matched,
                                     const char* driverBase,
                                     int32_t processorGeneration,
                                     PathQualifier qualify);
