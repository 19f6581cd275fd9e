// Planning and writing index files.
#include "tools/index/index_maker.h"

#include <algorithm>
#include <map>
#include <set>

#include "inf/code_page.h"
#include "runtime/text_rules.h"

namespace {

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// The tool finds an identifier between two "|" and splits lines at CR LF: an identifier that
// holds either, or anything but printable ASCII, cannot stand in a line.
bool Writable(const std::string& id) {
    for (char c : id) {
        const auto b = static_cast<uint8_t>(c);
        if (b < 0x21 || b > 0x7E || c == '|')
            return false;
    }
    return !id.empty();
}

// An informative field: no separator or line end of its own, and no lead byte left without its
// second byte at the end, which the tool would pair with the "|" or CR behind it.
std::string InformativeField(const std::string& utf8, uint32_t codePage) {
    std::string clean;
    for (char c : utf8) {
        const auto b = static_cast<uint8_t>(c);
        clean += c == '|' ? '/' : (b < 0x20 || b == 0x7F) ? ' ' : c;
    }
    std::string ansi;
    if (!Utf8ToAnsi(clean, codePage, ansi))
        ansi = clean;
    for (size_t i = 0; i < ansi.size();) {
        if (!IsLeadByte(static_cast<uint8_t>(ansi[i]))) {
            ++i;
        } else if (i + 1 < ansi.size()) {
            i += 2;
        } else {
            ansi[i] = '?';
            ++i;
        }
    }
    return ansi;
}

// A path the tool opens: it must come out of the code page unchanged.
bool PathField(const std::string& utf8, uint32_t codePage, std::string& ansi) {
    bool lossy = false;
    if (!Utf8ToAnsi(utf8, codePage, ansi, &lossy) || lossy)
        return false;
    std::string back;
    return AnsiToUtf8(ansi, codePage, back) && back == utf8;
}

}  // namespace

bool BelongsInIndex(const HardwareId& id, const InfModel& model, const DriverInf& inf) {
    if (id.upper.compare(0, 8, "PCI\\VEN_") != 0 || !Writable(id.upper))
        return false;
    if (IsUsbControllerClass(inf))
        return true;
    for (const HardwareId& other : model.ids) {
        if (Contains(other.upper, "&CC_0C03"))
            return true;
    }
    return false;
}

IndexPlan PlanIndex(const std::vector<PackageInf>& infs) {
    IndexPlan plan;
    std::vector<IndexLine> candidates;
    for (const PackageInf& inf : infs) {
        if (!inf.inf.opened)
            continue;
        for (const InfModel& model : inf.inf.models) {
            for (const HardwareId& id : model.ids) {
                if (BelongsInIndex(id, model, inf.inf))
                    candidates.push_back({id.upper, model.description, &inf});
            }
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const IndexLine& a, const IndexLine& b) {
        if (a.id != b.id)
            return a.id < b.id;
        const int newer = CompareDriverVersions(a.from->inf.driverVer, b.from->inf.driverVer);
        if (newer != 0)
            return newer > 0;
        if (a.from->package != b.from->package)
            return a.from->package < b.from->package;
        return a.from->infPath < b.from->infPath;
    });
    std::set<std::pair<std::string, std::string>> seen;
    for (IndexLine& line : candidates) {
        if (seen.emplace(line.id, line.from->package).second)
            plan.lines.push_back(std::move(line));
    }

    // Identifiers served by more than one package, grouped by the packages in their order.
    std::map<std::vector<std::string>, size_t> groups;
    for (size_t i = 0; i < plan.lines.size();) {
        size_t end = i;
        std::vector<const PackageInf*> packages;
        std::vector<std::string> key;
        for (; end < plan.lines.size() && plan.lines[end].id == plan.lines[i].id; ++end) {
            packages.push_back(plan.lines[end].from);
            key.push_back(plan.lines[end].from->infPath);
        }
        if (packages.size() > 1) {
            auto [it, added] = groups.emplace(key, plan.overlaps.size());
            if (added)
                plan.overlaps.push_back({{}, packages});
            plan.overlaps[it->second].ids.push_back(plan.lines[i].id);
        }
        i = end;
    }
    return plan;
}

std::string FormatIndex(const IndexPlan& plan, uint32_t codePage, const std::string& indexName, Findings& findings) {
    std::string out;
    std::set<const PackageInf*> unwritable;
    for (const IndexLine& line : plan.lines) {
        const PackageInf& inf = *line.from;
        std::string entry, infPath;
        if (!PathField(inf.entry, codePage, entry) || !PathField(inf.infPath, codePage, infPath)) {
            if (unwritable.insert(&inf).second)
                findings.Error(indexName, inf.infPath + ": the path cannot be written in code page " +
                                              std::to_string(codePage) + ", so the tool could not open it");
            continue;
        }
        out += InformativeField(line.description, codePage) + "|" + line.id + "|" + entry + "|" +
               InformativeField(inf.inf.driverVer.text, codePage) + "|" + infPath + "\r\n";
    }
    return out;
}

void ReportOverlaps(const IndexPlan& plan, const std::string& indexName, Findings& findings) {
    for (const Overlap& overlap : plan.overlaps) {
        std::string ids;
        for (const std::string& id : overlap.ids)
            ids += (ids.empty() ? "" : ", ") + id;
        std::string text = ids + (overlap.ids.size() == 1 ? " is" : " are") + " served by " +
                           std::to_string(overlap.packages.size()) + " packages; the tool takes ";
        for (size_t i = 0; i < overlap.packages.size(); ++i) {
            const PackageInf& inf = *overlap.packages[i];
            const std::string version = inf.inf.driverVer.text.empty() ? "no DriverVer" : inf.inf.driverVer.text;
            text += (i == 0 ? "" : i == 1 ? ", before " : ", ") + inf.package + " (" + version + ")";
        }
        findings.Note(indexName, text);
    }
}

std::vector<std::string> MakeIndexFiles(const PayloadTree& tree,
                                        uint32_t codePage,
                                        uint16_t language,
                                        Findings& findings) {
    std::vector<std::string> summary;
    for (const Architecture& arch : Architectures()) {
        const DriverBase base = ReadDriverBase(tree, arch, codePage, language, findings);
        if (base.folder.empty()) {
            findings.Error(arch.baseFolder, "missing: no index can be made for " + std::string(arch.label));
            continue;
        }
        const PayloadEntry* existing = tree.Find(arch.indexFile);
        const std::string name = existing ? existing->path : arch.indexFile;
        const IndexPlan plan = PlanIndex(base.infs);
        const std::string bytes = FormatIndex(plan, codePage, name, findings);
        ReportOverlaps(plan, name, findings);
        std::string error;
        if (!WriteFileIfChanged(tree.root() + "/" + name, bytes, error)) {
            findings.Error(name, error);
            continue;
        }
        summary.push_back(name + ": " + std::to_string(plan.lines.size()) + " lines from " +
                          std::to_string(base.infs.size()) + " INF files in " + std::to_string(base.packages.size()) +
                          " package folders");
    }
    return summary;
}
