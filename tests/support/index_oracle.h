// The precise import's matching written from its rules, for the tests and the fuzz targets to
// compare the tool with. It shares no code with app/inject: it works on std::string through the
// plain text commands of tests/runtime/text_reference.h, one rule at a time, however slowly.
//
// The rules: devcon's listing is cut into lines at CR LF; each line is trimmed of half- and
// full-width spaces and kept as a hardware identifier when it holds a backslash and "USB" or
// "PCI" (case counts). The index is cut into lines at CR LF too; an identifier selects the first
// index line that holds "|" + identifier + "|" (ASCII case ignored, two-byte characters compared
// whole, none read from the middle of a character). A selected line names a folder when it has
// three "|" fields or more: on an 8th or 9th generation processor always the Intel 8th-generation
// package below the driver base, else the folder of the third field's path below the driver base.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/runtime/text_reference.h"

namespace index_oracle {

namespace ref = text_reference;

inline std::vector<std::string> HardwareIds(const std::string& listing) {
    std::vector<std::string> ids;
    for (const std::string& line : ref::SplitText(listing, std::string("\r\n"), std::nullopt)) {
        const std::string trimmed = ref::TrimSpaces(line);
        if (ref::FindText(trimmed, "\\", std::nullopt, false) == -1)
            continue;
        if (ref::FindText(trimmed, "USB", std::nullopt, false) != -1 ||
            ref::FindText(trimmed, "PCI", std::nullopt, false) != -1)
            ids.push_back(trimmed);
    }
    return ids;
}

// 1-based number of the first CR LF line of the index holding the key (ASCII case ignored), or 0.
inline int32_t FindIndexLine(const std::string& index, const std::string& key) {
    const std::vector<std::string> lines = ref::SplitText(index, std::string("\r\n"), std::nullopt);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (ref::FindText(lines[i], key, std::nullopt, true) != -1)
            return static_cast<int32_t>(i + 1);
    }
    return 0;
}

// For each identifier in order, the line it selects; identifiers that select none left out.
inline std::vector<std::string> MatchIndexLines(const std::vector<std::string>& ids, const std::string& index) {
    const std::vector<std::string> lines = ref::SplitText(index, std::string("\r\n"), std::nullopt);
    std::vector<std::string> matched;
    for (const std::string& id : ids) {
        const int32_t n = FindIndexLine(index, "|" + id + "|");
        if (n > 0)
            matched.push_back(lines[static_cast<size_t>(n - 1)]);
    }
    return matched;
}

// The folder part of a path, with its closing separator: a last byte that is a backslash is
// ignored (even the second byte of a two-byte character), then the text is cut after its last
// backslash that stands as a character of its own. Empty when there is none.
inline std::string ParentFolder(const std::string& path) {
    std::string trimmed = path;
    if (!trimmed.empty() && trimmed.back() == '\\')
        trimmed.pop_back();
    std::string folder;
    std::string scanned;
    for (const std::string& c : ref::Characters(trimmed)) {
        scanned += c;
        if (c == "\\")
            folder = scanned;
    }
    return folder;
}

// The folder a selected line names, before the shell qualifies it; none for fewer than three
// fields (a trailing "|" adds none).
inline std::optional<std::string> DriverFolder(const std::string& line,
                                               const std::string& driverBase,
                                               int32_t processorGeneration) {
    const std::vector<std::string> fields = ref::SplitText(line, std::string("|"), std::nullopt);
    if (fields.size() < 3)
        return std::nullopt;
    if (processorGeneration == 8 || processorGeneration == 9)
        return driverBase + "\\Intel_8thA_USB3.A_Win7";
    return ParentFolder(driverBase + fields[2]);
}

// The shell's qualification as a test stands it in: the qualified path, or none for a failure.
using Qualifier = std::function<std::optional<std::string>(const std::string&)>;

// The folders a precise import injects, in order, one per selected line that names a folder,
// each qualified.
inline std::vector<std::optional<std::string>> ImportFolders(const std::string& listing,
                                                             const std::string& index,
                                                             const std::string& driverBase,
                                                             int32_t processorGeneration,
                                                             const Qualifier& qualify) {
    std::vector<std::optional<std::string>> folders;
    for (const std::string& line : MatchIndexLines(HardwareIds(listing), index)) {
        const std::optional<std::string> folder = DriverFolder(line, driverBase, processorGeneration);
        if (folder)
            folders.push_back(qualify(*folder));
    }
    return folders;
}

}  // namespace index_oracle
