// Matching matched devices against the identifiers the driver store serves.
#include "app/inject/driver_coverage.h"

#include <unordered_map>

#include "app/inject/device_listing.h"
#include "app/inject/index_matching.h"
#include "runtime/text_rules.h"

std::vector<DeviceCoverage> CheckCoverage(const char* listing,
                                          const TextArray& indexLines,
                                          const std::vector<StoredPackage>& store) {
    std::unordered_map<std::string, const StoredPackage*> servedBy;
    for (const StoredPackage& package : store) {
        for (const std::string& id : package.ids)
            servedBy.emplace(id, &package);
    }
    const IndexLineFinder finder(indexLines);
    std::vector<DeviceCoverage> coverage;
    for (const ListedDevice& device : ParseDeviceListing(listing)) {
        if (!FirstIndexMatch(device, finder))
            continue;
        DeviceCoverage entry;
        entry.name = DeviceName(device);
        entry.instance = device.instance;
        for (const std::vector<std::string>* ids : {&device.hardwareIds, &device.compatibleIds}) {
            for (const std::string& id : *ids) {
                auto found = servedBy.find(AsciiUpperCopy(id));
                if (entry.package == nullptr && found != servedBy.end()) {
                    entry.servedId = id;
                    entry.package = found->second;
                }
            }
        }
        coverage.push_back(std::move(entry));
    }
    return coverage;
}

bool AllCovered(const std::vector<DeviceCoverage>& coverage) {
    for (const DeviceCoverage& device : coverage) {
        if (device.package == nullptr)
            return false;
    }
    return true;
}

std::string UncoveredNames(const std::vector<DeviceCoverage>& coverage) {
    std::string names;
    for (const DeviceCoverage& device : coverage) {
        if (device.package != nullptr)
            continue;
        if (!names.empty())
            names += "\r\n";
        names += device.name;
    }
    return names;
}

std::vector<std::string> CoverageReport(const std::vector<DeviceCoverage>& coverage) {
    std::vector<std::string> report;
    size_t uncovered = 0;
    for (const DeviceCoverage& device : coverage) {
        report.push_back("覆盖: " + device.name);
        report.push_back("  实例: " + device.instance);
        if (device.package == nullptr) {
            ++uncovered;
            report.push_back("  驱动: 未覆盖");
            continue;
        }
        const StoredPackage& package = *device.package;
        std::string inf =
            package.publishedName.empty() ? package.infName : package.publishedName + " (" + package.infName + ")";
        report.push_back("  驱动: " + device.servedId + " 由 " + inf + " 提供");
    }
    if (uncovered == 0)
        report.push_back("覆盖结果: " + std::to_string(coverage.size()) + " 个匹配的设备全部有可用的驱动");
    else
        report.push_back("覆盖结果: " + std::to_string(uncovered) + " 个匹配的设备未覆盖 (共 " +
                         std::to_string(coverage.size()) + " 个)");
    return report;
}
