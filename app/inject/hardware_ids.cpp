// Filtering devcon's listing down to hardware identifiers.
#include "app/inject/hardware_ids.h"

#include "runtime/text_commands.h"

TextArray SplitListing(const char* listing) {
    return SplitText(listing, "\r\n");
}

std::vector<OwnedText> ExtractHardwareIds(const TextArray& lines) {
    std::vector<OwnedText> ids;
    for (uint32_t i = 0, n = lines.size(); i < n; ++i) {
        OwnedText line = TrimSpaces(lines[i]);
        if (FindText(line.get(), "\\") == -1)
            continue;
        if (FindText(line.get(), "USB") != -1 || FindText(line.get(), "PCI") != -1)
            ids.push_back(std::move(line));
    }
    return ids;
}

OwnedText LogEntryLines(const char* text) {
    return ConcatText(text, "\r\n", "\r\n");
}
