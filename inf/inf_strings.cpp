// String substitution with the locale order of the string sections.
#include "inf/inf_strings.h"

namespace {

std::string HexLanguage(uint16_t language) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out = "Strings.";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += kDigits[(language >> shift) & 0xF];
    return out;
}

}  // namespace

InfStrings::InfStrings(const InfSyntax& syntax, uint16_t language) {
    // Later sections overwrite: the most specific comes last.
    AddSection(syntax.Find("Strings"));
    const uint16_t primary = language & 0x3FF;
    if (primary != language)
        AddSection(syntax.Find(HexLanguage(primary)));
    AddSection(syntax.Find(HexLanguage(language)));
}

void InfStrings::AddSection(const InfSection* section) {
    if (section == nullptr)
        return;
    for (const InfLine& line : section->lines) {
        if (!line.hasKey)
            continue;
        // An unquoted string may hold commas: the whole text after "=" is the string.
        std::string value;
        for (size_t i = 0; i < line.values.size(); ++i) {
            if (i > 0)
                value += ',';
            value += line.values[i];
        }
        byUpperKey_[AsciiUpperCopy(line.key)] = std::move(value);
    }
}

std::string InfStrings::Substitute(std::string_view text) const {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t open = text.find('%', pos);
        if (open == std::string_view::npos) {
            out.append(text.substr(pos));
            break;
        }
        out.append(text.substr(pos, open - pos));
        const size_t close = text.find('%', open + 1);
        if (close == std::string_view::npos) {
            out.append(text.substr(open));
            break;
        }
        if (close == open + 1) {
            out += '%';
        } else {
            const std::string_view key = text.substr(open + 1, close - open - 1);
            auto found = byUpperKey_.find(AsciiUpperCopy(key));
            if (found != byUpperKey_.end())
                out.append(found->second);
            else
                out.append(text.substr(open, close - open + 1));
        }
        pos = close + 1;
    }
    return out;
}
