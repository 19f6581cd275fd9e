// The sample devcon's "hwids" listing: device records, pattern matching and devcon's output layout.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct DeviceRecord {
    std::string instanceId;
    std::string name;  // friendly name, else the device description; may be empty
    std::vector<std::string> hardwareIds;
    std::vector<std::string> compatibleIds;
};

// devcon's exit codes: success, failure, and a command line it does not understand.
constexpr int kDevconOk = 0;
constexpr int kDevconFailed = 2;
constexpr int kDevconUsage = 3;

// A devcon identifier pattern: "*" stands for any run of characters; ASCII case is ignored and
// GBK pairs compare as whole characters.
bool MatchesPattern(std::string_view pattern, std::string_view text);
// devcon's selection: a pattern beginning with "@" is matched against the instance ID, any other
// against the hardware and compatible IDs. A device is listed when one pattern selects it.
bool DeviceSelected(const DeviceRecord& device, const std::vector<std::string>& patterns);

// The listing of devcon's hwids command, CR LF line ends: per device its instance ID, then
// "    Name: ...", "    Hardware IDs:" and "    Compatible IDs:" with the identifiers indented by
// eight spaces (a group without identifiers is left out), then "N matching device(s) found.".
std::string FormatHwidsListing(const std::vector<DeviceRecord>& devices);

// The lines devcon prints for a command line it cannot run.
std::string DevconUsage();
