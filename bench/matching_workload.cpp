// Building the matching benchmark's listing and index from a seeded generator.
#include "bench/matching_workload.h"

#include <cstdio>
#include <random>
#include <unordered_map>

namespace {

std::string Hex4(uint32_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

const char* const kFolders[] = {
    "AMD_HSeries_USB3.0_Win7",
    "AMD_USB3.1_WinA",
    "ASMedia_USB3.A_Win7",
    "Etron_USB3.0_WinA",
    "Fresco_Logic_USB3.0_WinA\\A_Controller",
    "Intel_7_USB3.0_Win7",
    "Intel_8A_USB3.A_Win7",
    "Intel_TR_USB3.1_Win7",
    "Renesas_USB3.0_Gen1_WinA",
    "Renesas_USB3.0_Gen2_WinA",
    "Texas_Instruments_USB3.0_WinA",
    "VIA_USB3.0_WinA",
};

}  // namespace

MatchingWorkload MakeMatchingWorkload(int identifiers, int indexLines, size_t indexBytes) {
    std::mt19937 random(7031u);
    MatchingWorkload work;
    for (const char* folder : kFolders)
        work.folders.push_back(folder);

    // Devices, each with its instance line, identifiers and compatible identifiers: every one of
    // those lines passes the filter.
    std::vector<std::string> kept;
    while (static_cast<int>(kept.size()) < identifiers) {
        const bool usb = random() % 3 == 0;
        const std::string vendor = Hex4(random()), device = Hex4(random());
        const std::string base =
            usb ? "USB\\VID_" + vendor + "&PID_" + device : "PCI\\VEN_" + vendor + "&DEV_" + device;
        std::vector<std::string> ids = {base + "&SUBSYS_" + Hex4(random()) + Hex4(random()) + "&REV_10", base,
                                        base + (usb ? "&REV_0100" : "&CC_0C0330")};
        const std::string instance = base + "\\3&11583659&0&" + Hex4(random());
        work.listing += instance + "\r\n";
        kept.push_back(instance);
        work.listing += random() % 2 ? "    Name: 通用 USB 集线器\r\n"
                                     : "    Name: Standard USB 3.0 eXtensible Host Controller\r\n";
        work.listing += "    Hardware IDs:\r\n";
        for (const std::string& id : ids) {
            work.listing += "        " + id + "\r\n";
            kept.push_back(id);
        }
        // A lower-case identifier is one the filter drops.
        const std::string compatible = usb ? "USB\\Class_09" : "PCI\\CC_0C0330";
        work.listing += "    Compatible IDs:\r\n        " + compatible + "\r\n        " + Lower(base) + "\r\n";
        kept.push_back(compatible);
        if (random() % 4 == 0)
            work.listing += "ACPI\\PNP0A08\\0\r\n    Name: PCI Express Root Complex\r\n\r\n";
    }
    work.listing += "1234 matching device(s) found.\r\n";

    // The index: identifiers of the listing (about half, some in lower case, some twice) among
    // others that match nothing, each line padded with description text to the size asked for.
    const size_t lineBytes = indexBytes / static_cast<size_t>(indexLines);
    // The folder of the first line made for each identifier (by its lower-case form): the
    // description and the folder hold no "|", so "|id|" is found in no other line.
    std::unordered_map<std::string, std::string> firstFolder;
    for (int line = 0; line < indexLines; ++line) {
        std::string id;
        if (line % 4 == 0 && !kept.empty()) {
            id = kept[random() % kept.size()];
            if (random() % 5 == 0)
                id = Lower(id);
        } else {
            id = "PCI\\VEN_" + Hex4(random()) + "&DEV_" + Hex4(random()) + "&SUBSYS_" + Hex4(random());
        }
        const std::string folder = kFolders[random() % std::size(kFolders)];
        firstFolder.emplace(Lower(id), folder);
        const std::string tail = "|" + id + "|" + folder + "\\driver" + std::to_string(line % 7) + ".inf\r\n";
        std::string description = "USB 3.0 主机控制器 " + std::to_string(line);
        while (description.size() + tail.size() < lineBytes)
            description += " -";
        work.index += description + tail;
    }
    // The filter keeps exactly the lines of `kept` (and the root complex's instance lines, which
    // no index line names), in the listing's order.
    for (const std::string& id : kept) {
        const auto it = firstFolder.find(Lower(id));
        if (it != firstFolder.end())
            work.expectedFolders.push_back(it->second);
    }
    return work;
}
