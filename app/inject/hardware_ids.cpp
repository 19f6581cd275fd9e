// Filtering devcon's listing down to hardware identifiers.
#include "app/inject/hardware_ids.h"

#include "runtime/text_commands.h"

TextArray SplitListing(const char* listing) {
    return SplitText(listing, "\r\n");
}

bool PassesSurveyFilter(const char* trimmedLine) {
    if (FindText(trimmedLine, "\\") == -1)
        return false;
    return FindText(trimmedLine, "USB") != -1 || FindText(trimmedLine, "PCI") != -1;
}

std::vector<OwnedText> ExtractHardwareIds(const TextArray& lines) {
    std::vector<OwnedText> ids;
    for (uint32_t i = 0, n = lines.size(); i < n; ++i) {
        OwnedText line = TrimSpaces(lines[i]);
        if (PassesSurveyFilter(line.get()))
            ids.push_back(std::move(line));
    }
    return ids;
}

OwnedText LogEntryLines(const char* text) {
    return ConcatText(text, "\r\n", "\r\n");
}
