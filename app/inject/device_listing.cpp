// Reading devcon's device blocks.
#include "app/inject/device_listing.h"

#include <string_view>

#include "app/inject/hardware_ids.h"
#include "runtime/text_commands.h"
#include "runtime/text_rules.h"

namespace {

enum class Part { kOther, kHardware, kCompatible };

// Half-width and full-width (A1 A1) spaces, as the survey's trimming reads them, and tabs.
bool StartsIndented(std::string_view line) {
    return !line.empty() && (line[0] == ' ' || line[0] == '\t' || line.substr(0, 2) == "\xA1\xA1");
}

std::string Trimmed(std::string_view line) {
    const std::string copy(line);
    OwnedText trimmed = TrimSpaces(copy.c_str());
    return trimmed.c_str();
}

// "Name: text" and the part headings, whatever the case of devcon's words.
bool HasLabel(const std::string& line, std::string_view label) {
    return StartsWithIgnoringAsciiCase(line, label);
}

}  // namespace

std::string DeviceName(const ListedDevice& device) {
    return device.name.empty() ? "(无名称)" : device.name;
}

std::optional<DeviceIndexMatch> FirstIndexMatch(const ListedDevice& device, const IndexLineFinder& finder) {
    for (const std::string& line : device.lines) {
        if (!PassesSurveyFilter(line.c_str()))
            continue;
        const int64_t slot = finder.Find(line.c_str());
        if (slot >= 0)
            return DeviceIndexMatch{&line, slot};
    }
    return std::nullopt;
}

std::vector<ListedDevice> ParseDeviceListing(const char* listing) {
    std::vector<ListedDevice> devices;
    const std::string_view text(listing ? listing : "");
    ListedDevice* current = nullptr;
    Part part = Part::kOther;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view raw = text.substr(at, end - at);
        at = end + 1;
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);

        if (!StartsIndented(raw)) {
            current = nullptr;
            if (raw.find('\\') == std::string_view::npos)
                continue;
            devices.emplace_back();
            current = &devices.back();
            current->instance = Trimmed(raw);
            current->lines.push_back(current->instance);
            part = Part::kOther;
            continue;
        }
        if (current == nullptr)
            continue;
        std::string line = Trimmed(raw);
        current->lines.push_back(line);
        if (HasLabel(line, "name:")) {
            current->name = Trimmed(std::string_view(line).substr(5));
            part = Part::kOther;
        } else if (HasLabel(line, "hardware ids:")) {
            part = Part::kHardware;
        } else if (HasLabel(line, "compatible ids:")) {
            part = Part::kCompatible;
        } else if (!line.empty() && part == Part::kHardware) {
            current->hardwareIds.push_back(line);
        } else if (!line.empty() && part == Part::kCompatible) {
            current->compatibleIds.push_back(line);
        }
    }
    return devices;
}
