// devcon's hwids listing layout and identifier patterns; no Win32 calls.
#include "tools/devcon/devcon_listing.h"

#include <cstdint>

#include "runtime/text_rules.h"

namespace {

// Splits text into characters: one byte, or two for a GBK lead byte.
std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> out;
    for (size_t i = 0; i < text.size();) {
        const size_t width = IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
        out.push_back(text.substr(i, width));
        i += width;
    }
    return out;
}

bool SameCharacter(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    if (a.size() == 1)
        return AsciiLower(static_cast<uint8_t>(a[0])) == AsciiLower(static_cast<uint8_t>(b[0]));
    return a == b;
}

void AppendGroup(std::string& out, const char* heading, const std::vector<std::string>& ids) {
    if (ids.empty())
        return;
    out += heading;
    out += "\r\n";
    for (const std::string& id : ids)
        out += "        " + id + "\r\n";
}

}  // namespace

bool MatchesPattern(std::string_view pattern, std::string_view text) {
    const std::vector<std::string_view> p = Characters(pattern);
    const std::vector<std::string_view> t = Characters(text);
    // Greedy matching with one backtrack point: the last "*" seen.
    size_t pi = 0, ti = 0, starP = p.size(), starT = 0;
    while (ti < t.size()) {
        if (pi < p.size() && p[pi] == "*") {
            starP = pi++;
            starT = ti;
        } else if (pi < p.size() && SameCharacter(p[pi], t[ti])) {
            ++pi;
            ++ti;
        } else if (starP != p.size()) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == "*")
        ++pi;
    return pi == p.size();
}

bool DeviceSelected(const DeviceRecord& device, const std::vector<std::string>& patterns) {
    for (const std::string& pattern : patterns) {
        if (!pattern.empty() && pattern[0] == '@') {
            if (MatchesPattern(std::string_view(pattern).substr(1), device.instanceId))
                return true;
            continue;
        }
        for (const auto* ids : {&device.hardwareIds, &device.compatibleIds}) {
            for (const std::string& id : *ids) {
                if (MatchesPattern(pattern, id))
                    return true;
            }
        }
        // "*" also lists devices that report no identifier at all.
        if (pattern == "*")
            return true;
    }
    return false;
}

std::string FormatHwidsListing(const std::vector<DeviceRecord>& devices) {
    std::string out;
    for (const DeviceRecord& device : devices) {
        out += device.instanceId + "\r\n";
        if (!device.name.empty())
            out += "    Name: " + device.name + "\r\n";
        AppendGroup(out, "    Hardware IDs:", device.hardwareIds);
        AppendGroup(out, "    Compatible IDs:", device.compatibleIds);
        if (device.hardwareIds.empty() && device.compatibleIds.empty())
            out += "    No hardware or compatible IDs found for this device.\r\n";
    }
    if (devices.empty())
        out += "No matching devices found.\r\n";
    else
        out += std::to_string(devices.size()) + " matching device(s) found.\r\n";
    return out;
}

std::string DevconUsage() {
    return "devcon (TovUSB sample payload): lists device hardware IDs.\r\n"
           "Usage: devcon hwids <id> [<id>...]\r\n"
           "    <id>   * for every device, a hardware or compatible ID pattern with * wildcards,\r\n"
           "           or @ followed by an instance ID pattern.\r\n"
           "Set TOVUSB_DEVCON_LISTING to a file to print that file instead of the devices present.\r\n";
}
