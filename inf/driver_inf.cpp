// Reading a driver INF for one target: [Version], [Manufacturer] and the models sections chosen.
#include "inf/driver_inf.h"

#include <optional>

#include "inf/inf_strings.h"
#include "runtime/text_rules.h"

namespace {

constexpr char kUsbClassGuid[] = "{36FC9E60-C465-11CF-8056-444553540000}";

// The first value of the first line of `key` in `section`, tokens substituted.
std::optional<std::string> Directive(const InfSection* section, std::string_view key, const InfStrings& strings) {
    const InfLine* line = DirectiveLine(section, key);
    if (line == nullptr)
        return std::nullopt;
    return line->values.empty() ? std::string() : strings.Substitute(line->values[0]);
}

// Digits only, of 1 to `maxDigits` digits, within [low, high].
bool ParseBounded(std::string_view text, size_t maxDigits, uint32_t low, uint32_t high, uint32_t& value) {
    if (text.empty() || text.size() > maxDigits)
        return false;
    value = 0;
    for (char c : text) {
        if (!IsAsciiDigit(static_cast<uint8_t>(c)))
            return false;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return value >= low && value <= high;
}

DriverVersion ReadDriverVer(const InfSection* version, const InfStrings& strings) {
    DriverVersion v;
    if (version == nullptr)
        return v;
    for (const InfLine& line : version->lines) {
        if (!line.hasKey || !EqualsIgnoringAsciiCase(line.key, "DriverVer"))
            continue;
        std::vector<std::string> values;
        for (const std::string& value : line.values)
            values.push_back(strings.Substitute(value));
        v.text = values.empty() ? std::string() : values[0];
        if (values.size() > 1)
            v.text += "," + values[1];
        if (values.empty())
            return v;
        // The date: mm/dd/yyyy; Windows also reads dashes between the parts.
        const std::string& date = values[0];
        const size_t first = date.find_first_of("/-");
        const size_t second = first == std::string::npos ? first : date.find_first_of("/-", first + 1);
        if (second == std::string::npos || !ParseBounded(std::string_view(date).substr(0, first), 2, 1, 12, v.month) ||
            !ParseBounded(std::string_view(date).substr(first + 1, second - first - 1), 2, 1, 31, v.day) ||
            !ParseBounded(std::string_view(date).substr(second + 1), 4, 1, 9999, v.year))
            return v;
        v.valid = true;
        if (values.size() > 1) {
            std::string_view rest = values[1];
            for (uint32_t& part : v.version) {
                const size_t dot = rest.find('.');
                if (!ParseBounded(rest.substr(0, dot), 5, 0, 65535, part)) {
                    part = 0;
                    break;
                }
                if (dot == std::string_view::npos)
                    break;
                rest.remove_prefix(dot + 1);
            }
        }
        return v;
    }
    return v;
}

std::string ReadCatalog(const InfSection* version, const InfTarget& target, const InfStrings& strings) {
    const std::string specific = std::string("CatalogFile.NT") + ArchitectureName(target.architecture);
    for (const std::string& key : {specific, std::string("CatalogFile.NT"), std::string("CatalogFile")}) {
        std::optional<std::string> name = Directive(version, key, strings);
        if (name && !name->empty())
            return *name;
    }
    return {};
}

void ReadModels(const InfSection& models, const InfStrings& strings, const std::string& sectionName, DriverInf& inf) {
    // Growing the lists one model and one identifier at a time cost an allocation each, slow
    // through Wine's heap.
    inf.models.reserve(inf.models.size() + models.lines.size());
    for (const InfLine& line : models.lines) {
        if (!line.hasKey || line.values.empty())
            continue;
        InfModel model;
        model.ids.reserve(line.values.size() - 1);
        model.line = line.number;
        model.section = sectionName;
        model.description = strings.Substitute(line.key);
        model.installSection = strings.Substitute(line.values[0]);
        for (size_t i = 1; i < line.values.size(); ++i) {
            std::string id = strings.Substitute(line.values[i]);
            if (id.empty())
                continue;
            std::string upper = AsciiUpperCopy(id);
            model.ids.push_back({std::move(id), std::move(upper)});
        }
        inf.models.push_back(std::move(model));
    }
}

void ReadManufacturers(const InfSyntax& syntax, const InfStrings& strings, const InfTarget& target, DriverInf& inf) {
    const InfSection* manufacturer = syntax.Find("Manufacturer");
    if (manufacturer == nullptr) {
        inf.problems.push_back({0, "no [Manufacturer] section"});
        return;
    }
    for (const InfLine& line : manufacturer->lines) {
        std::vector<std::string> values;
        for (const std::string& value : line.values)
            values.push_back(strings.Substitute(value));
        const std::optional<std::string> chosen =
            ChooseModelsSection(values, line.hasKey, target, &inf.otherDecorations);
        if (!chosen)
            continue;
        const InfSection* models = syntax.Find(*chosen);
        if (models == nullptr) {
            inf.problems.push_back({line.number, "models section [" + *chosen + "] is missing"});
            continue;
        }
        ReadModels(*models, strings, *chosen, inf);
    }
}

}  // namespace

int CompareDriverVersions(const DriverVersion& a, const DriverVersion& b) {
    if (a.valid != b.valid)
        return a.valid ? 1 : -1;
    const uint32_t left[] = {a.year, a.month, a.day, a.version[0], a.version[1], a.version[2], a.version[3]};
    const uint32_t right[] = {b.year, b.month, b.day, b.version[0], b.version[1], b.version[2], b.version[3]};
    for (size_t i = 0; i < std::size(left); ++i) {
        if (left[i] != right[i])
            return left[i] < right[i] ? -1 : 1;
    }
    return 0;
}

std::optional<std::string> ChooseModelsSection(const std::vector<std::string>& values,
                                               bool hasKey,
                                               const InfTarget& target,
                                               std::vector<std::string>* others) {
    // "%Mfg% = Models, NTamd64, ..."; the old form without "=" names the models section itself.
    if (values.empty() || values[0].empty())
        return std::nullopt;
    const std::string& base = values[0];
    std::vector<std::string> decorations;
    if (hasKey) {
        for (size_t i = 1; i < values.size(); ++i) {
            if (!values[i].empty())
                decorations.push_back(values[i]);
        }
    }
    const std::optional<size_t> pick = ChooseDecoration(decorations, target);
    for (size_t i = 0; others != nullptr && i < decorations.size(); ++i) {
        if (!pick || i != *pick)
            others->push_back(decorations[i]);
    }
    if (pick)
        return base + "." + decorations[*pick];
    // The undecorated section serves only where nothing decorated fits, and never on a 64-bit
    // system.
    if (target.architecture != InfArchitecture::kX86)
        return std::nullopt;
    return base;
}

const InfLine* DirectiveLine(const InfSection* section, std::string_view key) {
    if (section == nullptr)
        return nullptr;
    for (const InfLine& line : section->lines) {
        if (line.hasKey && EqualsIgnoringAsciiCase(line.key, key))
            return &line;
    }
    return nullptr;
}

bool IsDriverInfSignature(std::string_view signature) {
    for (const char* accepted : {"$Windows NT$", "$Chicago$", "$Windows 95$"}) {
        if (EqualsIgnoringAsciiCase(signature, accepted))
            return true;
    }
    return false;
}

DriverInf ReadDriverInf(std::string_view bytes, const InfTarget& target) {
    InfText text = DecodeInfText(bytes, target.ansiCodePage);
    DriverInf inf = ReadDriverInfSyntax(ParseInfSyntax(text.utf8), target);
    inf.encoding = text.encoding;
    if (text.damaged)
        inf.problems.insert(inf.problems.begin(), {0, "characters that could not be decoded"});
    return inf;
}

DriverInf ReadDriverInfSyntax(const InfSyntax& syntax, const InfTarget& target) {
    DriverInf inf;
    inf.problems.insert(inf.problems.end(), syntax.problems.begin(), syntax.problems.end());
    if (syntax.rejected)
        return inf;

    const InfStrings strings(syntax, target.language);
    const InfSection* version = syntax.Find("Version");
    const std::optional<std::string> signature = Directive(version, "Signature", strings);
    if (!signature || !IsDriverInfSignature(*signature)) {
        inf.problems.push_back({0, "no [Version] Signature of \"$Windows NT$\" or \"$Chicago$\""});
        return inf;
    }
    inf.opened = true;
    inf.className = Directive(version, "Class", strings).value_or("");
    inf.classGuid = Directive(version, "ClassGuid", strings).value_or("");
    inf.driverVer = ReadDriverVer(version, strings);
    inf.catalogFile = ReadCatalog(version, target, strings);
    ReadManufacturers(syntax, strings, target, inf);
    return inf;
}

bool IsUsbControllerClass(const DriverInf& inf) {
    return EqualsIgnoringAsciiCase(inf.className, "USB") || EqualsIgnoringAsciiCase(inf.classGuid, kUsbClassGuid);
}
