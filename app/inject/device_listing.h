// devcon's listing read as devices: each block opens with the instance path at the start of a
// line, then indented "Name:", "Hardware IDs:" and "Compatible IDs:" parts.
#pragma once

#include <string>
#include <vector>

struct ListedDevice {
    std::string instance;
    std::string name;
    std::vector<std::string> hardwareIds;
    std::vector<std::string> compatibleIds;
    // Every line of the block, trimmed as the survey filter reads them, instance path first.
    std::vector<std::string> lines;
};

// The devices in listing order. A line at the start of a line opens a device only when it holds
// a backslash, as every instance path does; devcon's closing count and anything else outside a
// block is left out. Lines end at CR LF or a bare LF.
std::vector<ListedDevice> ParseDeviceListing(const char* listing);
