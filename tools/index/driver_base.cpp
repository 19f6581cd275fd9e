// Finding and reading the INF files of a driver base.
#include "tools/index/driver_base.h"

#include "inf/inf_syntax.h"

namespace {

// The element of `path` ("/"-separated) after `prefix` + "/", and what follows it.
std::vector<std::string> ElementsAfter(const std::string& path, const std::string& prefix) {
    std::vector<std::string> elements;
    std::string rest = path.substr(prefix.size() + 1);
    size_t start = 0;
    for (;;) {
        const size_t slash = rest.find('/', start);
        elements.push_back(rest.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos)
            return elements;
        start = slash + 1;
    }
}

}  // namespace

const std::vector<Architecture>& Architectures() {
    static const std::vector<Architecture> kArchitectures = {
        {"Win7X64", "Win7X64.index", "Windows 7 x64", InfArchitecture::kAmd64},
        {"Win7X86", "Win7x86.index", "Windows 7 x86", InfArchitecture::kX86},
    };
    return kArchitectures;
}

InfTarget TargetOf(const Architecture& architecture, uint32_t codePage, uint16_t language) {
    InfTarget target;
    target.architecture = architecture.infArchitecture;
    target.ansiCodePage = codePage;
    target.language = language;
    return target;
}

bool IsInfName(std::string_view name) {
    return name.size() > 4 && AsciiUpperCopy(name.substr(name.size() - 4)) == ".INF";
}

DriverBase ReadDriverBase(const PayloadTree& tree,
                          const Architecture& architecture,
                          uint32_t codePage,
                          uint16_t language,
                          Findings& findings) {
    DriverBase base;
    const PayloadEntry* folder = tree.Find(architecture.baseFolder);
    if (folder == nullptr || !folder->folder)
        return base;
    base.folder = folder->path;
    for (const PayloadEntry* child : tree.Children(base.folder)) {
        if (child->folder)
            base.packages.emplace_back(EntryName(child->path));
    }
    const InfTarget target = TargetOf(architecture, codePage, language);
    for (const PayloadEntry* file : tree.FilesBelow(base.folder)) {
        if (!IsInfName(EntryName(file->path)))
            continue;
        const std::vector<std::string> elements = ElementsAfter(file->path, base.folder);
        if (elements.size() < 2) {
            findings.Error(file->path, "an INF in " + base.folder +
                                           "/ itself belongs to no package folder: the index cannot name it");
            continue;
        }
        std::string bytes;
        if (!ReadFileBytes(tree.FullPath(*file), bytes)) {
            findings.Error(file->path, "cannot be read");
            continue;
        }
        PackageInf inf;
        inf.package = elements[0];
        for (const std::string& element : elements)
            inf.infPath += (inf.infPath.empty() ? "" : "\\") + element;
        inf.entry = elements.size() == 2 ? inf.infPath : elements[0] + "\\" + elements[1];
        inf.inf = ReadDriverInf(bytes, target);
        base.infs.push_back(std::move(inf));
    }
    return base;
}
