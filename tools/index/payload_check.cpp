// The payload check: every finding names its file (and line) and says what the tool would do.
#include "tools/index/payload_check.h"

#include <cstdio>
#include <set>

#include "inf/code_page.h"
#include "runtime/text_rules.h"
#include "tools/index/driver_base.h"

namespace {

// The programs the tool runs from the unpacked payload, as the layout spells them.
const char* const kPrograms[] = {"devcon.exe", "devcon_x64.exe", "Dism/x86/dism.exe", "Dism/x64/dism.exe"};

// The cluster the work drive counts every file in, as the build counts the unpacked size.
constexpr uint64_t kCluster = 4096;

std::string Megabytes(uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1 << 20));
    return text;
}

std::string Upper(std::string_view text) {
    return AsciiUpperCopy(text);
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The INF files below a folder of the base ("\"-separated, relative to the base; empty for all).
std::vector<const PackageInf*> InfsBelow(const DriverBase& base, const std::string& folder) {
    std::vector<const PackageInf*> found;
    const std::string prefix = Upper(folder) + "\\";
    for (const PackageInf& inf : base.infs) {
        if (StartsWith(Upper(inf.infPath), prefix))
            found.push_back(&inf);
    }
    return found;
}

bool Serves(const PackageInf& inf, const std::string& upperId) {
    for (const InfModel& model : inf.inf.models) {
        for (const HardwareId& id : model.ids) {
            if (id.upper == upperId)
                return true;
        }
    }
    return false;
}

std::string Where(const DriverBase& base, const PackageInf& inf) {
    std::string path = base.folder + "/" + inf.infPath;
    for (char& c : path)
        c = c == '\\' ? '/' : c;
    return path;
}

std::string WithLine(const std::string& where, uint32_t line) {
    return line == 0 ? where : where + ":" + std::to_string(line);
}

void CheckInfs(const PayloadTree& tree, const Architecture& arch, const DriverBase& base, Findings& findings) {
    for (const PackageInf& inf : base.infs) {
        const std::string where = Where(base, inf);
        if (!inf.inf.opened) {
            const InfProblem& first = inf.inf.problems.front();
            findings.Error(WithLine(where, first.line), "Windows will not read this INF: " + first.text);
            continue;
        }
        bool serves = false;
        for (const InfModel& model : inf.inf.models)
            serves = serves || !model.ids.empty();
        if (!serves) {
            std::string reason;
            for (const std::string& decoration : inf.inf.otherDecorations)
                reason += (reason.empty() ? " (its models sections are for " : ", ") + decoration;
            if (!reason.empty())
                reason += " only)";
            else if (!inf.inf.problems.empty())
                reason = " (" + inf.inf.problems.front().text + ")";
            findings.Error(where, std::string("serves no device on ") + arch.label + reason);
        }
        for (const InfProblem& problem : inf.inf.problems)
            findings.Warning(WithLine(where, problem.line), problem.text);
        if (!inf.inf.driverVer.valid)
            findings.Warning(where,
                             "no readable DriverVer (mm/dd/yyyy,w.x.y.z) in [Version]: the index ranks this "
                             "package below every other that serves the same device");
        if (inf.inf.catalogFile.empty()) {
            if (arch.infArchitecture == InfArchitecture::kAmd64)
                findings.Warning(where,
                                 "names no catalog (CatalogFile): Windows 7 x64 will not load an unsigned "
                                 "driver at boot, even when DISM staged it with /ForceUnsigned");
        } else {
            const std::string folder = where.substr(0, where.rfind('/'));
            if (tree.Find(folder + "/" + inf.inf.catalogFile) == nullptr)
                findings.Warning(where, "names the catalog " + inf.inf.catalogFile + ", which is not beside it");
        }
    }
}

void CheckIndex(const PayloadTree& tree,
                const Architecture& arch,
                const DriverBase& base,
                const CheckOptions& options,
                Findings& findings) {
    const PayloadEntry* index = tree.Find(arch.indexFile);
    if (index == nullptr || index->folder) {
        findings.Error(arch.indexFile, "missing: the precise import finds nothing for " + std::string(arch.label));
        return;
    }
    const std::string name = index->path;
    std::string bytes;
    if (!ReadFileBytes(tree.FullPath(*index), bytes)) {
        findings.Error(name, "cannot be read");
        return;
    }
    const size_t zero = bytes.find('\0');
    if (zero != std::string::npos) {
        findings.Error(name, "a zero byte at offset " + std::to_string(zero) + ": the tool reads nothing after it");
        bytes.resize(zero);
    }

    std::set<std::string> reached = {Upper(kGenerationPackage)};
    const std::vector<std::string> lines = SplitLikeTheTool(bytes, "\r\n");
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        const std::string where = name + ":" + std::to_string(n + 1);
        if (line.find('\n') != std::string::npos) {
            findings.Error(where,
                           "a line end that is not CR LF: the tool splits lines only at CR LF and reads this "
                           "line and those after the line feed as one");
        }
        if (line.empty())
            continue;
        const std::vector<std::string> fields = SplitLikeTheTool(line, "|");
        if (fields.size() < 3) {
            findings.Error(where, "fewer than three \"|\"-separated fields: the tool skips this line");
            continue;
        }
        std::string entry;
        if (!AnsiToUtf8(fields[2], options.codePage, entry))
            entry = fields[2];
        if (entry.find('/') != std::string::npos) {
            findings.Error(where, "the third field \"" + entry +
                                      "\" holds \"/\": the tool takes only \"\\\" for a "
                                      "separator and would inject the wrong folder");
            continue;
        }
        // The folder the tool injects: the third field's directory part, after one trailing "\".
        std::string trimmed = entry;
        if (!trimmed.empty() && trimmed.back() == '\\')
            trimmed.pop_back();
        const size_t last = trimmed.rfind('\\');
        if (last == std::string::npos || last == 0) {
            findings.Error(where, "the third field \"" + entry +
                                      "\" names no entry inside a package folder: the tool "
                                      "would inject all of " +
                                      arch.baseFolder + "\\");
            continue;
        }
        std::string diskPath = base.folder.empty() ? arch.baseFolder : base.folder;
        std::string element;
        bool emptyElement = false;
        for (size_t i = 0; i <= trimmed.size(); ++i) {
            if (i == trimmed.size() || trimmed[i] == '\\') {
                emptyElement = emptyElement || element.empty();
                diskPath += "/" + element;
                element.clear();
            } else {
                element += trimmed[i];
            }
        }
        if (emptyElement || tree.Find(diskPath) == nullptr) {
            findings.Error(where, "the third field \"" + entry + "\" names nothing in " + arch.baseFolder + "/");
            continue;
        }
        const std::string folder = trimmed.substr(0, last);
        reached.insert(Upper(folder.substr(0, folder.find('\\'))));
        const std::string id = Upper(fields[1]);
        if (id.empty())
            continue;
        bool served = false;
        for (const PackageInf* inf : InfsBelow(base, folder))
            served = served || Serves(*inf, id);
        if (!served)
            findings.Warning(where, "no INF below " + folder + "\\ serves " + fields[1] + " on " + arch.label);
    }

    for (const std::string& package : base.packages) {
        if (reached.count(Upper(package)) == 0)
            findings.Error(base.folder + "/" + package, "no line of " + name + " leads to this package folder");
    }
}

void CheckArchitecture(const PayloadTree& tree,
                       const Architecture& arch,
                       const CheckOptions& options,
                       Findings& findings) {
    const DriverBase base = ReadDriverBase(tree, arch, options.codePage, options.language, findings);
    if (base.folder.empty()) {
        findings.Error(arch.baseFolder, std::string("missing: the payload has no driver packages for ") + arch.label);
    } else {
        for (const std::string& package : base.packages) {
            if (InfsBelow(base, package).empty())
                findings.Error(base.folder + "/" + package,
                               "no INF file in this package folder: nothing in it "
                               "can be injected");
        }
        if (tree.Find(base.folder + "/" + kGenerationPackage) == nullptr)
            findings.Error(base.folder + "/" + kGenerationPackage,
                           "missing: the tool injects this package for every match on 8th- and 9th-generation "
                           "Intel processors");
        CheckInfs(tree, arch, base, findings);
    }
    CheckIndex(tree, arch, base, options, findings);
}

}  // namespace

std::vector<std::string> SplitLikeTheTool(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, separator.size(), separator) == 0) {
            pieces.emplace_back(text.substr(start, i - start));
            i += separator.size();
            start = i;
        } else {
            i += IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
        }
    }
    if (start < text.size())
        pieces.emplace_back(text.substr(start));
    return pieces;
}

void CheckPayload(const PayloadTree& tree, const CheckOptions& options, Findings& findings) {
    for (const auto& [first, second] : tree.CaseTwins())
        findings.Error(second->path, "differs from " + first->path + " only in letter case: Windows keeps one of them");
    for (const char* program : kPrograms) {
        const PayloadEntry* entry = tree.Find(program);
        if (entry == nullptr || entry->folder)
            findings.Error(program, "missing: the tool runs it from the unpacked payload");
    }
    for (const Architecture& arch : Architectures())
        CheckArchitecture(tree, arch, options, findings);

    uint64_t unpacked = 0;
    for (const PayloadEntry& entry : tree.entries())
        unpacked += (entry.size + kCluster - 1) / kCluster * kCluster;
    if (unpacked > options.scratchBytes)
        findings.Warning("", "the payload unpacks to " + Megabytes(unpacked) +
                                 " (files in 4 KB clusters); with USB.7z and the extractor beside it, staging needs "
                                 "more than the " +
                                 Megabytes(options.scratchBytes) +
                                 " of scratch space Windows PE has unless its image was built with more "
                                 "(DISM /Set-ScratchSpace)");
}
