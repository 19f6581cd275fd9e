// Explaining the precise import's choices device by device.
#include "app/console/survey_report.h"

#include "app/inject/device_listing.h"
#include "app/inject/hardware_ids.h"

std::vector<std::string> DeviceSurveyReport(const char* listing,
                                            const SurveyIndex& index,
                                            int32_t processorGeneration,
                                            PathQualifier qualify) {
    std::vector<std::string> report;
    const IndexLineFinder finder(index.lines);
    std::vector<std::string> unconcerned;
    for (const ListedDevice& device : ParseDeviceListing(listing)) {
        std::vector<const std::string*> kept;
        for (const std::string& line : device.lines) {
            if (PassesSurveyFilter(line.c_str()))
                kept.push_back(&line);
        }
        const std::string name = DeviceName(device);
        if (kept.empty()) {
            unconcerned.push_back(name);
            continue;
        }
        report.push_back("设备: " + name);
        report.push_back("  实例: " + device.instance);
        for (const std::string* id : kept)
            report.push_back("  标识: " + *id);
        const std::optional<DeviceIndexMatch> match = FirstIndexMatch(device, finder);
        if (!match) {
            report.push_back("  索引: 未找到");
            continue;
        }
        const char* line = index.lines[static_cast<size_t>(match->slot)];
        report.push_back(std::string("  索引: ") + index.name + " 第 " + std::to_string(match->slot + 1) + " 行, 由 " +
                         *match->id + " 选中: " + line);
        const std::vector<OwnedText> folders = DriverFolders({line}, index.driverBase, processorGeneration, qualify);
        if (folders.empty())
            report.push_back("  驱动: 索引行不足三段, 跳过");
        else
            report.push_back("  驱动: " + std::string(folders[0].c_str()));
    }
    if (!unconcerned.empty()) {
        std::string summary = "其余 " + std::to_string(unconcerned.size()) + " 个设备没有USB或PCI标识:";
        for (size_t i = 0; i < unconcerned.size(); ++i)
            summary += (i == 0 ? " " : "; ") + unconcerned[i];
        report.push_back(summary);
    }
    return report;
}
