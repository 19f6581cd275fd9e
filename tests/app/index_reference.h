// The index lookup done the plain way, as a reference for the faster matching: split the index
// anew and search every line for every identifier; and the precise import's whole work from the
// listing to the folders, one plain step after another.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/inject/index_matching.h"
#include "runtime/text_commands.h"

inline std::vector<std::string> ReferenceMatchIndexLines(const std::vector<OwnedText>& ids, const char* indexText) {
    std::vector<std::string> matched;
    TextArray lines = SplitText(indexText, "\r\n");
    for (const OwnedText& id : ids) {
        OwnedText key = ConcatText("|", id.get(), "|");
        const int32_t n = FindIndexLine(indexText, key.get());
        if (n > 0)
            matched.emplace_back(lines[static_cast<size_t>(n - 1)] ? lines[static_cast<size_t>(n - 1)] : "");
    }
    return matched;
}

// The folders a precise import injects, in order: the listing split at CR LF; every line trimmed
// and kept when it holds a backslash and "USB" or "PCI"; the first index line holding
// "|" + identifier + "|" for each; and for every such line that has three fields, its folder
// qualified on its own. A null folder stays null (std::nullopt here).
inline std::vector<std::optional<std::string>> ReferenceImportFolders(const char* listing,
                                                                      const char* indexText,
                                                                      const char* driverBase,
                                                                      int32_t generation,
                                                                      PathQualifier qualify) {
    std::vector<OwnedText> ids;
    TextArray lines = SplitText(listing, "\r\n");
    for (uint32_t i = 0; i < lines.size(); ++i) {
        OwnedText line = TrimSpaces(lines[i]);
        if (FindText(line.get(), "\\") == -1)
            continue;
        if (FindText(line.get(), "USB") != -1 || FindText(line.get(), "PCI") != -1)
            ids.push_back(std::move(line));
    }
    std::vector<std::optional<std::string>> folders;
    for (const std::string& line : ReferenceMatchIndexLines(ids, indexText)) {
        std::optional<OwnedText> folder = DriverFolderFor(line.c_str(), driverBase, generation, qualify);
        if (!folder)
            continue;
        if (folder->get() == nullptr)
            folders.emplace_back(std::nullopt);
        else
            folders.emplace_back(folder->c_str());
    }
    return folders;
}
