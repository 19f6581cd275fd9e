// The files and folders of a payload folder, read once, and looked up the way Windows looks names
// up: without regard to ASCII letter case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct PayloadEntry {
    std::string path;  // relative to the payload folder, "/" between elements, as on disk (UTF-8)
    bool folder = false;
    uint64_t size = 0;  // bytes of a file
};

class PayloadTree {
  public:
    // Reads the whole folder (symbolic links are not followed). No result when it cannot be read;
    // `error` then says why.
    static std::optional<PayloadTree> Scan(const std::string& root, std::string& error);

    const std::string& root() const { return root_; }
    // Every entry, sorted by path bytes.
    const std::vector<PayloadEntry>& entries() const { return entries_; }

    // The entry at `path` ("/" between elements), each element matched without regard to case.
    const PayloadEntry* Find(std::string_view path) const;
    // The entries directly inside folder `path` ("" for the root), in path order.
    std::vector<const PayloadEntry*> Children(std::string_view path) const;
    // Files below folder `path`, at any depth, in path order.
    std::vector<const PayloadEntry*> FilesBelow(std::string_view path) const;
    // The full path of an entry for opening it.
    std::string FullPath(const PayloadEntry& entry) const;
    // Pairs of entries of one folder whose names differ only in letter case.
    std::vector<std::pair<const PayloadEntry*, const PayloadEntry*>> CaseTwins() const;

  private:
    std::string root_;
    std::vector<PayloadEntry> entries_;
};

// The last element of a path.
std::string_view EntryName(std::string_view path);

// Reads a whole file; false when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// Replaces the file's content when it differs, through a temporary file beside it; false (with
// `error`) when that fails. Unchanged content leaves the file, and its time, alone.
bool WriteFileIfChanged(const std::string& path, const std::string& bytes, std::string& error);
