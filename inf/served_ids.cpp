// Reading what a driver INF serves. Most of a driver INF's bytes are install, file, registry and
// string sections; the coverage question needs none of them. The quick reading finds section
// lines by searching for "[" (memchr), cuts out [Version], [Manufacturer] and the models
// sections, decodes and parses only those, and hands them to the full reader. Wherever the
// cut could differ from the full reading (a quotation or a continuation running into a section
// line, an entry before the first section, a value that needs [Strings], a section name that is
// not plain ASCII) it reads the whole file instead.
#include "inf/served_ids.h"

#include <cstring>
#include <optional>

#include "inf/inf_syntax.h"
#include "inf/inf_text.h"

namespace {

constexpr size_t kMaxSectionName = 255;

// The text after its byte-order mark as units of one byte (ANSI, UTF-8) or two (UTF-16LE).
class Units {
  public:
    Units(std::string_view bytes, size_t width) : bytes_(bytes), width_(width), size_(bytes.size() / width) {}

    size_t size() const { return size_; }
    uint32_t operator[](size_t i) const {
        if (width_ == 1)
            return static_cast<uint8_t>(bytes_[i]);
        return static_cast<uint8_t>(bytes_[2 * i]) | static_cast<uint32_t>(static_cast<uint8_t>(bytes_[2 * i + 1]))
                                                         << 8;
    }

    // The next unit of value `c` (below 0x80) at or after `from`; size() when there is none.
    size_t Find(uint32_t c, size_t from) const {
        const char* base = bytes_.data();
        size_t at = from * width_;
        while (at < size_ * width_) {
            const void* hit = std::memchr(base + at, static_cast<int>(c), size_ * width_ - at);
            if (hit == nullptr)
                return size_;
            const size_t offset = static_cast<size_t>(static_cast<const char*>(hit) - base);
            // In UTF-16 the byte must start a unit whose high byte is zero.
            if (width_ == 1 || (offset % 2 == 0 && base[offset + 1] == 0))
                return offset / width_;
            at = offset + 1;
        }
        return size_;
    }

    // The units of value `c` in [from, to), counted a machine word at a time.
    size_t Count(uint32_t c, size_t from, size_t to) const {
        size_t count = 0;
        size_t at = from * width_;
        const size_t end = to * width_;
        const uint64_t lanes = width_ == 1 ? 0x0101010101010101ull * c : 0x0001000100010001ull * c;
        const uint64_t low = width_ == 1 ? 0x7F7F7F7F7F7F7F7Full : 0x7FFF7FFF7FFF7FFFull;
        for (; at + 8 <= end; at += 8) {
            uint64_t word;
            std::memcpy(&word, bytes_.data() + at, 8);
            const uint64_t x = word ^ lanes;
            // A lane is zero, and so matched, exactly when its top bit stays clear here.
            const uint64_t zero = ~(((x & low) + low) | x | low);
            count += static_cast<size_t>(__builtin_popcountll(zero));
        }
        for (size_t i = at / width_; i < to; ++i)
            count += (*this)[i] == c ? 1 : 0;
        return count;
    }

  private:
    std::string_view bytes_;
    size_t width_;
    size_t size_;
};

bool IsBlank(uint32_t c) {
    return c == ' ' || c == '\t';
}

bool IsLineEnd(uint32_t c) {
    return c == '\r' || c == '\n';
}

struct SectionLine {
    size_t start;  // the unit of "["
    std::string upperName;
};

// A backslash in the line [begin, end) that the full reader could take for a continuation: only
// blanks, or a comment, follow it. Quotation is not considered, which only errs towards caution.
bool MayContinue(const Units& units, size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
        if (units[i] != '\\')
            continue;
        size_t p = i + 1;
        while (p < end && IsBlank(units[p]))
            ++p;
        if (p >= end || units[p] == ';')
            return true;
    }
    return false;
}

// The start of the line that ends just before `lineStart` (which follows a line end).
size_t PreviousLineStart(const Units& units, size_t lineStart) {
    size_t p = lineStart;
    // Step over the line end: CR LF, LF or CR.
    if (p > 0 && units[p - 1] == '\n')
        --p;
    if (p > 0 && units[p - 1] == '\r')
        --p;
    while (p > 0 && !IsLineEnd(units[p - 1]))
        --p;
    return p;
}

// Whether a quotation is still open at `to`, read from `from` (outside any quotation) as the full
// reader reads it: a quotation mark toggles, "" inside one stays inside, ";" outside one starts a
// comment to the line end, and only a line end outside a quotation ends a comment.
bool EndsInQuotation(const Units& units, size_t from, size_t to) {
    bool quoted = false;
    bool comment = false;
    for (size_t i = from; i < to; ++i) {
        const uint32_t c = units[i];
        if (IsLineEnd(c)) {
            comment = comment && quoted;
        } else if (comment) {
            continue;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            comment = true;
        }
    }
    return quoted;
}

// Whether the full reader leaves the stretch [from, to) outside a quotation. Counting comes
// first: most stretches hold no quotation mark or no comment, and need no reading.
bool ClosesQuotations(const Units& units, size_t from, size_t to) {
    const size_t quotes = units.Count('"', from, to);
    if (quotes == 0)
        return true;
    if (units.Count(';', from, to) == 0)
        return quotes % 2 == 0;
    return !EndsInQuotation(units, from, to);
}

// Section lines in order; nothing when the quick reading cannot vouch for them.
std::optional<std::vector<SectionLine>> FindSectionLines(const Units& units) {
    std::vector<SectionLine> lines;
    std::vector<size_t> bodies;  // where each section's entries begin: after its section line
    for (size_t at = units.Find('[', 0); at < units.size(); at = units.Find('[', at + 1)) {
        size_t lineStart = at;
        while (lineStart > 0 && IsBlank(units[lineStart - 1]))
            --lineStart;
        if (lineStart > 0 && !IsLineEnd(units[lineStart - 1]))
            continue;
        SectionLine line{at, {}};
        size_t p = at + 1;
        for (; p < units.size() && units[p] != ']' && !IsLineEnd(units[p]); ++p) {
            const uint32_t c = units[p];
            if (c >= 0x80 || p - at > kMaxSectionName)
                return std::nullopt;
            line.upperName += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        }
        if (p >= units.size() || units[p] != ']')
            return std::nullopt;
        if (lineStart > 0 && MayContinue(units, PreviousLineStart(units, lineStart), lineStart))
            return std::nullopt;
        // Whatever follows "]" on the section line is not read.
        while (p < units.size() && !IsLineEnd(units[p]))
            ++p;
        bodies.push_back(p);
        lines.push_back(std::move(line));
    }
    if (lines.empty())
        return std::nullopt;
    // A quotation open at a section line would hold it; one open at the end would take in the
    // line end that the cut adds.
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t end = i + 1 < lines.size() ? lines[i + 1].start : units.size();
        if (!ClosesQuotations(units, bodies[i], end))
            return std::nullopt;
    }
    // The file's last line may end in a continuation that the cut would join to what follows it.
    size_t end = units.size();
    while (end > lines.back().start && IsLineEnd(units[end - 1]))
        --end;
    size_t lastLine = end;
    while (lastLine > 0 && !IsLineEnd(units[lastLine - 1]))
        --lastLine;
    if (MayContinue(units, lastLine, end))
        return std::nullopt;
    // Before the first section only blank lines and comments: anything else makes Windows refuse
    // the file, which the full reading reports.
    for (size_t p = 0; p < lines.front().start;) {
        while (p < lines.front().start && IsBlank(units[p]))
            ++p;
        if (p >= lines.front().start)
            break;
        if (units[p] == ';') {
            while (p < lines.front().start && !IsLineEnd(units[p]))
                ++p;
        } else if (!IsLineEnd(units[p])) {
            return std::nullopt;
        }
        ++p;
    }
    return lines;
}

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
        const Units whole(body_, width_);
        // The full reader stops at Ctrl+Z; so does the cut.
        const size_t end = whole.Find(0x1A, 0);
        if (end < whole.size())
            body_ = body_.substr(0, end * width_);
        const Units units(body_, width_);
        std::optional<std::vector<SectionLine>> found = FindSectionLines(units);
        if (!found)
            return std::nullopt;
        sections_ = std::move(*found);

        const InfSyntax head = Parse({"VERSION", "MANUFACTURER"});
        std::vector<std::string> wanted = {"VERSION", "MANUFACTURER"};
        if (const InfSection* version = head.Find("Version")) {
            for (const InfLine& line : version->lines) {
                if (line.hasKey && AsciiUpperCopy(line.key) == "SIGNATURE" && HoldsToken(line.values))
                    return std::nullopt;
            }
        }
        if (const InfSection* manufacturer = head.Find("Manufacturer")) {
            for (const InfLine& line : manufacturer->lines) {
                if (HoldsToken(line.values))
                    return std::nullopt;
                if (line.values.empty() || line.values[0].empty())
                    continue;
                // Every section the line may choose; the full reader picks among those given.
                const std::string base = AsciiUpperCopy(line.values[0]);
                wanted.push_back(base);
                for (size_t i = 1; line.hasKey && i < line.values.size(); ++i)
                    wanted.push_back(base + "." + AsciiUpperCopy(line.values[i]));
            }
        }
        const InfSyntax cut = Parse(wanted);
        for (const InfSection& section : cut.sections) {
            if (AsciiUpperCopy(section.name) == "VERSION" || AsciiUpperCopy(section.name) == "MANUFACTURER")
                continue;
            for (const InfLine& line : section.lines) {
                // A models line's identifiers after its install section; a token among them
                // needs the string sections.
                if (line.values.size() > 1 &&
                    HoldsToken(std::vector<std::string>(line.values.begin() + 1, line.values.end())))
                    return std::nullopt;
            }
        }
        return ServedIdsOf(ReadDriverInfSyntax(cut, target_));
    }

  private:
    static bool HoldsToken(const std::vector<std::string>& values) {
        for (const std::string& value : values) {
            if (value.find('%') != std::string::npos)
                return true;
        }
        return false;
    }

    // The sections of the wanted names (upper-cased), cut out in file order, decoded and parsed.
    InfSyntax Parse(const std::vector<std::string>& wanted) const {
        std::string utf8;
        for (size_t i = 0; i < sections_.size(); ++i) {
            bool keep = false;
            for (const std::string& name : wanted)
                keep = keep || name == sections_[i].upperName;
            if (!keep)
                continue;
            const size_t from = sections_[i].start * width_;
            // The last section runs to the end, an odd last byte of UTF-16 included.
            const size_t to = i + 1 < sections_.size() ? sections_[i + 1].start * width_ : body_.size();
            utf8 += Decode(body_.substr(from, to - from));
            utf8 += "\r\n";
        }
        return ParseInfSyntax(utf8);
    }

    std::string Decode(std::string_view slice) const {
        bool damaged = false;
        switch (encoding_) {
            case InfEncoding::kUtf16Le:
                return DecodeInfText("\xFF\xFE" + std::string(slice), target_.ansiCodePage).utf8;
            case InfEncoding::kUtf8:
                return RepairUtf8(slice, &damaged);
            case InfEncoding::kAnsi:
                break;
        }
        return DecodeInfText(slice, target_.ansiCodePage).utf8;
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

ServedIds ReadServedIds(std::string_view bytes, const InfTarget& target) {
    if (std::optional<ServedIds> quick = QuickReader(bytes, target).Read())
        return std::move(*quick);
    return ServedIdsOf(ReadDriverInf(bytes, target));
}
