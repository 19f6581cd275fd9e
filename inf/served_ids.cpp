// Reading what a driver INF serves. Most of a driver INF's bytes are install, file, registry and
// string sections; the coverage question needs none of them. The quick reading finds section
// lines in one pass (inf/section_lines.cpp), cuts out [Version] and [Manufacturer] and parses
// them, and then reads only the identifiers of the models sections Windows of the target takes,
// as views into their text. Wherever the cut could differ from the full reading (a quotation or a
// continuation running into a section line, an entry before the first section, a value that needs
// [Strings], a section name that is not plain ASCII) it reads the whole file instead.
#include "inf/served_ids.h"

#include <algorithm>
#include <optional>

#include "inf/inf_syntax.h"
#include "inf/inf_text.h"
#include "inf/section_lines.h"
#include "runtime/text_rules.h"

namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsInfBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsInfBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// One identifier of a models line, as the full reader takes it: an empty one names nothing, and
// one that holds a token needs [Strings] (false).
bool AddId(std::string_view value, std::vector<std::string>& ids) {
    if (value.find('%') != std::string_view::npos)
        return false;
    if (!value.empty())
        ids.push_back(AsciiUpperCopy(value));
    return true;
}

// The identifiers of a section's text (its section line first) when every entry in it is plain:
// no quotation mark and no continuation. A plain entry reads as the full reader reads it: up to
// ";" or the line end, a key before a "=" that comes before any ",", fields between commas without
// the blanks around them. Going through the parser instead cost an allocation for every line and
// three for every identifier (the field, its substitution, its upper-casing), slow through Wine's
// heap. False, with `ids` as it was, when some entry is not plain or needs [Strings].
bool AddPlainIds(std::string_view text, std::vector<std::string>& ids) {
    const size_t before = ids.size();
    // Nothing after the section line's "]" is read.
    size_t pos = text.find_first_of("\r\n");
    while (pos < text.size()) {
        // A CR LF pair reads here as a line end and an empty line.
        const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        std::string_view entry = text.substr(pos, end - pos);
        pos = end + 1;
        entry = TrimBlanks(entry.substr(0, entry.find(';')));
        if (entry.empty())
            continue;
        if (entry.find('"') != std::string_view::npos || entry.back() == '\\' || entry.front() == '[') {
            ids.resize(before);
            return false;
        }
        const size_t equals = entry.find('=');
        // A line without a key names no model.
        if (equals == std::string_view::npos || equals > entry.find(','))
            continue;
        std::string_view values = entry.substr(equals + 1);
        // The install section comes first.
        for (size_t comma = values.find(','); comma != std::string_view::npos;) {
            values.remove_prefix(comma + 1);
            comma = values.find(',');
            if (!AddId(TrimBlanks(values.substr(0, comma)), ids)) {
                ids.resize(before);
                return false;
            }
        }
    }
    return true;
}

class QuickReader {
  public:
    QuickReader(std::string_view bytes, const InfTarget& target)
        : target_(target),
          encoding_(InfEncodingOf(bytes, &body_)),
          width_(encoding_ == InfEncoding::kUtf16Le ? 2 : 1) {}

    std::optional<ServedIds> Read() {
        std::optional<SectionLayout> found = FindSectionLines(body_, width_);
        if (!found)
            return std::nullopt;
        // The full reader stops at Ctrl+Z; so does the cut.
        if (found->end < body_.size() / width_)
            body_ = body_.substr(0, found->end * width_);
        layout_ = std::move(*found);

        const InfSyntax head = ParseHead();
        if (head.rejected)
            return std::nullopt;
        ServedIds served;
        if (const InfLine* signature = DirectiveLine(head.Find("Version"), "Signature")) {
            if (HoldsToken(signature->values))
                return std::nullopt;
            served.opened = !signature->values.empty() && IsDriverInfSignature(signature->values[0]);
        }
        if (!served.opened)
            return served;
        if (const InfSection* manufacturer = head.Find("Manufacturer")) {
            for (const InfLine& line : manufacturer->lines) {
                if (HoldsToken(line.values))
                    return std::nullopt;
                // Without tokens the values are what the full reader chooses from; the sections
                // of the other decorations (often as large as the chosen one) are never read.
                const std::optional<std::string> chosen =
                    ChooseModelsSection(line.values, line.hasKey, target_, nullptr);
                if (chosen && !AddModelIds(AsciiUpperCopy(*chosen), served.ids))
                    return std::nullopt;
            }
        }
        return served;
    }

  private:
    // Looks at the values in place: copying them cost an allocation per identifier, slow through
    // Wine's heap.
    static bool HoldsToken(const std::vector<std::string>& values) {
        return std::any_of(values.begin(), values.end(),
                           [](const std::string& value) { return value.find('%') != std::string::npos; });
    }

    // [Version] and [Manufacturer], cut out in file order, decoded and parsed.
    InfSyntax ParseHead() {
        std::string utf8;
        for (size_t i = 0; i < layout_.lines.size(); ++i) {
            if (layout_.UpperName(i) == "VERSION" || layout_.UpperName(i) == "MANUFACTURER") {
                AppendDecoded(Slice(i), utf8);
                utf8 += "\r\n";
            }
        }
        return ParseInfSyntax(utf8);
    }

    // The identifiers of the models section of that (upper-cased) name, all its parts in file
    // order, as the full reader merges them; false when one needs [Strings].
    bool AddModelIds(const std::string& upperName, std::vector<std::string>& ids) {
        for (size_t i = 0; i < layout_.lines.size(); ++i) {
            if (layout_.UpperName(i) != upperName)
                continue;
            text_.clear();
            AppendDecoded(Slice(i), text_);
            if (AddPlainIds(text_, ids))
                continue;
            // Quotations and continuations are the parser's.
            const InfSyntax parsed = ParseInfSyntax(text_);
            for (const InfSection& section : parsed.sections) {
                for (const InfLine& line : section.lines) {
                    for (size_t v = 1; line.hasKey && v < line.values.size(); ++v) {
                        if (!AddId(line.values[v], ids))
                            return false;
                    }
                }
            }
        }
        return true;
    }

    // The bytes of section `i`, from its "[" to the next section line; the last section runs to
    // the end, an odd last byte of UTF-16 included.
    std::string_view Slice(size_t i) const {
        const size_t from = layout_.lines[i].start * width_;
        const size_t to = i + 1 < layout_.lines.size() ? layout_.lines[i + 1].start * width_ : body_.size();
        return body_.substr(from, to - from);
    }

    // Sections of plain ASCII, as the wanted ones nearly always are, read the same in every
    // encoding and every ANSI code page, and need no conversion.
    void AppendDecoded(std::string_view slice, std::string& utf8) const {
        if (AppendAscii(slice, utf8))
            return;
        bool damaged = false;
        switch (encoding_) {
            case InfEncoding::kUtf16Le:
                utf8 += DecodeInfText("\xFF\xFE" + std::string(slice), target_.ansiCodePage).utf8;
                return;
            case InfEncoding::kUtf8:
                utf8 += RepairUtf8(slice, &damaged);
                return;
            case InfEncoding::kAnsi:
                break;
        }
        utf8 += DecodeInfText(slice, target_.ansiCodePage).utf8;
    }

    // Appends the slice when every unit is from 1 to 0x7F (a zero is damage the decoder marks).
    bool AppendAscii(std::string_view slice, std::string& utf8) const {
        if (slice.size() % width_ != 0)
            return false;
        const size_t units = slice.size() / width_;
        for (size_t i = 0; i < units; ++i) {
            const auto low = static_cast<uint8_t>(slice[i * width_]);
            if (low == 0 || low >= 0x80 || (width_ == 2 && slice[i * 2 + 1] != 0))
                return false;
        }
        const size_t at = utf8.size();
        utf8.resize(at + units);
        for (size_t i = 0; i < units; ++i)
            utf8[at + i] = slice[i * width_];
        return true;
    }

    const InfTarget& target_;
    std::string_view body_;
    InfEncoding encoding_ = InfEncoding::kAnsi;
    size_t width_ = 1;
    SectionLayout layout_;
    std::string text_;  // the section being read, decoded; one block for all of them
};

}  // namespace

ServedIds ServedIdsOf(const DriverInf& inf) {
    ServedIds served;
    served.opened = inf.opened;
    for (const InfModel& model : inf.models) {
        for (const HardwareId& id : model.ids)
            served.ids.push_back(id.upper);
    }
    return served;
}

ServedIds ServedIdsOf(DriverInf&& inf) {
    ServedIds served;
    served.opened = inf.opened;
    size_t count = 0;
    for (const InfModel& model : inf.models)
        count += model.ids.size();
    served.ids.reserve(count);
    for (InfModel& model : inf.models) {
        for (HardwareId& id : model.ids)
            served.ids.push_back(std::move(id.upper));
    }
    return served;
}

ServedIds ReadServedIds(std::string_view bytes, const InfTarget& target) {
    if (std::optional<ServedIds> quick = QuickReader(bytes, target).Read())
        return std::move(*quick);
    return ServedIdsOf(ReadDriverInf(bytes, target));
}
