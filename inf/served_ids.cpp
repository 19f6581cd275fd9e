// Reading what a driver INF serves. Most of a driver INF's bytes are install, file, registry and
// string sections; the coverage question needs none of them. The quick reading finds section
// lines in one pass (inf/section_lines.cpp), cuts out [Version], [Manufacturer] and the models
// sections Windows of the target takes, decodes and parses only those, and hands them to the full
// reader. Wherever the
// cut could differ from the full reading (a quotation or a continuation running into a section
// line, an entry before the first section, a value that needs [Strings], a section name that is
// not plain ASCII) it reads the whole file instead.
#include "inf/served_ids.h"

#include <optional>

#include "inf/inf_syntax.h"
#include "inf/inf_text.h"
#include "inf/section_lines.h"

namespace {

class QuickReader {
  public:
    QuickReader(std::string_view bytes, const InfTarget& target) : target_(target) {
        if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
            encoding_ = InfEncoding::kUtf16Le;
            body_ = bytes.substr(2);
        } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
            encoding_ = InfEncoding::kUtf8;
            body_ = bytes.substr(3);
        } else {
            body_ = bytes;
        }
        width_ = encoding_ == InfEncoding::kUtf16Le ? 2 : 1;
    }

    std::optional<ServedIds> Read() {
        std::optional<SectionLayout> found = FindSectionLines(body_, width_);
        if (!found)
            return std::nullopt;
        // The full reader stops at Ctrl+Z; so does the cut.
        if (found->end < body_.size() / width_)
            body_ = body_.substr(0, found->end * width_);
        sections_ = std::move(found->lines);

        InfSyntax head = Parse({"VERSION", "MANUFACTURER"});
        std::vector<std::string> wanted;
        if (const InfSection* version = head.Find("Version")) {
            for (const InfLine& line : version->lines) {
                if (line.hasKey && AsciiUpperCopy(line.key) == "SIGNATURE" && HoldsToken(line.values, 0))
                    return std::nullopt;
            }
        }
        if (const InfSection* manufacturer = head.Find("Manufacturer")) {
            for (const InfLine& line : manufacturer->lines) {
                if (HoldsToken(line.values, 0))
                    return std::nullopt;
                // Without tokens the values are what the full reader chooses from; the sections
                // of the other decorations (often as large as the chosen one) are never parsed.
                if (std::optional<std::string> chosen = ChooseModelsSection(line.values, line.hasKey, target_, nullptr))
                    wanted.push_back(AsciiUpperCopy(*chosen));
            }
        }
        // The head is parsed already; a models section of its name is in it.
        std::erase_if(wanted, [](const std::string& name) { return name == "VERSION" || name == "MANUFACTURER"; });
        InfSyntax models = Parse(wanted);
        for (const InfSection& section : models.sections) {
            for (const InfLine& line : section.lines) {
                // A models line's identifiers after its install section; a token among them
                // needs the string sections.
                if (HoldsToken(line.values, 1))
                    return std::nullopt;
            }
        }
        Merge(std::move(models), head);
        return ServedIdsOf(ReadDriverInfSyntax(head, target_));
    }

  private:
    // Looks at the values from `first` on in place: copying them cost an allocation per
    // identifier, slow through Wine's heap.
    static bool HoldsToken(const std::vector<std::string>& values, size_t first) {
        for (size_t i = first; i < values.size(); ++i) {
            if (values[i].find('%') != std::string::npos)
                return true;
        }
        return false;
    }

    // The two parses hold sections of different names, so `from`'s join `into`'s as they are;
    // only the identifiers depend on it, not the order of the sections.
    static void Merge(InfSyntax&& from, InfSyntax& into) {
        for (InfSection& section : from.sections) {
            into.byUpperName.emplace(AsciiUpperCopy(section.name), into.sections.size());
            into.sections.push_back(std::move(section));
        }
        into.problems.insert(into.problems.end(), from.problems.begin(), from.problems.end());
        into.rejected = into.rejected || from.rejected;
    }

    // The sections of the wanted names (upper-cased), cut out in file order, decoded and parsed.
    InfSyntax Parse(const std::vector<std::string>& wanted) const {
        std::vector<std::string_view> slices;
        size_t units = 0;
        for (size_t i = 0; i < sections_.size(); ++i) {
            bool keep = false;
            for (const std::string& name : wanted)
                keep = keep || name == sections_[i].upperName;
            if (!keep)
                continue;
            const size_t from = sections_[i].start * width_;
            // The last section runs to the end, an odd last byte of UTF-16 included.
            const size_t to = i + 1 < sections_.size() ? sections_[i + 1].start * width_ : body_.size();
            slices.push_back(body_.substr(from, to - from));
            units += (to - from) / width_ + 2;
        }
        // One block for the plain ASCII text, which is nearly always all of it.
        std::string utf8;
        utf8.reserve(units);
        for (std::string_view slice : slices) {
            AppendDecoded(slice, utf8);
            utf8 += "\r\n";
        }
        return ParseInfSyntax(utf8);
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
    std::vector<SectionLine> sections_;
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
