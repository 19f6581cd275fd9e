// devcon's listing read as devices: each block opens with the instance path at the start of a
// line, then indented "Name:", "Hardware IDs:" and "Compatible IDs:" parts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/inject/index_matching.h"

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

// The device's name as the reports show it; "(无名称)" for a block without one.
std::string DeviceName(const ListedDevice& device);

// The index line a device selects: the first of its lines that the survey keeps and the index
// holds, with that line (an identifier, or the instance path itself).
struct DeviceIndexMatch {
    const std::string* id;
    int64_t slot;  // 0-based line of the index
};
std::optional<DeviceIndexMatch> FirstIndexMatch(const ListedDevice& device, const IndexLineFinder& finder);
