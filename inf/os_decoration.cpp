// Parsing and choosing TargetOSVersion decorations.
#include "inf/os_decoration.h"

#include <tuple>

#include "inf/inf_syntax.h"
#include "runtime/text_rules.h"

namespace {

// A decimal or 0x-hexadecimal number that fits 32 bits; an empty field counts as absent.
bool ParseNumber(std::string_view text, uint32_t& value) {
    value = 0;
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    for (char c : text) {
        const auto b = static_cast<uint8_t>(AsciiUpper(static_cast<uint8_t>(c)));
        unsigned digit;
        if (IsAsciiDigit(b))
            digit = b - '0';
        else if (base == 16 && b >= 'A' && b <= 'F')
            digit = b - 'A' + 10;
        else
            return false;
        const uint64_t next = static_cast<uint64_t>(value) * base + digit;
        if (next > UINT32_MAX)
            return false;
        value = static_cast<uint32_t>(next);
    }
    return true;
}

// The ranking of a fitting decoration; larger is preferred.
std::tuple<uint32_t, uint32_t, int, int> Rank(const OsDecoration& d) {
    const int specific = d.architecture.empty() ? 0 : 1;
    const int fields = (d.productType != 0) + (d.suiteMask != 0) + (d.build != 0);
    return {d.major, d.minor, specific, fields};
}

}  // namespace

const char* ArchitectureName(InfArchitecture architecture) {
    return architecture == InfArchitecture::kAmd64 ? "amd64" : "x86";
}

std::optional<OsDecoration> ParseOsDecoration(std::string_view text) {
    OsDecoration d;
    d.text = std::string(text);
    const std::string upper = AsciiUpperCopy(text);
    if (upper.compare(0, 2, "NT") != 0)
        return std::nullopt;
    const size_t dot = upper.find('.');
    d.architecture = upper.substr(2, dot == std::string::npos ? std::string::npos : dot - 2);
    if (dot == std::string::npos)
        return d;
    uint32_t* fields[] = {&d.major, &d.minor, &d.productType, &d.suiteMask, &d.build};
    size_t start = dot + 1;
    for (size_t i = 0;; ++i) {
        if (i == std::size(fields))
            return std::nullopt;  // more fields than the format has
        const size_t end = upper.find('.', start);
        const std::string_view field =
            std::string_view(upper).substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!ParseNumber(field, *fields[i]))
            return std::nullopt;
        if (i == 0 && !field.empty())
            d.hasVersion = true;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return d;
}

bool DecorationFits(const OsDecoration& d, const InfTarget& target) {
    if (d.architecture.empty()) {
        // Since Windows Server 2003 SP1 a 64-bit system takes only models sections decorated
        // with its architecture.
        if (target.architecture != InfArchitecture::kX86)
            return false;
    } else if (d.architecture != AsciiUpperCopy(ArchitectureName(target.architecture))) {
        return false;
    }
    if (d.hasVersion && (d.major > target.major || (d.major == target.major && d.minor > target.minor)))
        return false;
    if (d.productType != 0 && d.productType != target.productType)
        return false;
    if (d.build != 0 && d.build > target.build)
        return false;
    return true;
}

std::optional<size_t> ChooseDecoration(const std::vector<std::string>& decorations, const InfTarget& target) {
    std::optional<size_t> best;
    std::tuple<uint32_t, uint32_t, int, int> bestRank;
    for (size_t i = 0; i < decorations.size(); ++i) {
        const std::optional<OsDecoration> d = ParseOsDecoration(decorations[i]);
        if (!d || !DecorationFits(*d, target))
            continue;
        const auto rank = Rank(*d);
        if (!best || rank > bestRank) {
            best = i;
            bestRank = rank;
        }
    }
    return best;
}
