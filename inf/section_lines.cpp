// Finding section lines. Most of a driver INF's bytes are install, file, registry and string
// lines, and the scan passes over each of them once: it stops only at quotation marks,
// semicolons, line ends and Ctrl+Z (a table lookup per unit), follows the quotation and comment
// state the full reader would have, and looks closer only at the start of a line. The checks for
// a continuation before a section line look back over one line, and so stay rare.
#include "inf/section_lines.h"

#include <array>
#include <cstdint>

namespace {

constexpr size_t kMaxSectionName = 255;
constexpr uint32_t kCtrlZ = 0x1A;

// What the scan of a line's text stops at; zero for every other unit.
enum : uint8_t { kPlain = 0, kQuote, kSemicolon, kLineEnd, kEnd };

// Inside a comment only the line end and Ctrl+Z count.
constexpr std::array<uint8_t, 256> ClassTable(bool comment) {
    std::array<uint8_t, 256> table{};
    table['\r'] = table['\n'] = kLineEnd;
    table[kCtrlZ] = kEnd;
    if (!comment) {
        table['"'] = kQuote;
        table[';'] = kSemicolon;
    }
    return table;
}
constexpr std::array<uint8_t, 256> kTextClasses = ClassTable(false);
constexpr std::array<uint8_t, 256> kCommentClasses = ClassTable(true);

bool IsBlank(uint32_t c) {
    return c == ' ' || c == '\t';
}

bool IsLineEnd(uint32_t c) {
    return c == '\r' || c == '\n';
}

// The text as units of W bytes, little-endian.
template <size_t W>
class Units {
  public:
    explicit Units(std::string_view bytes) : base_(bytes.data()), size_(bytes.size() / W) {}

    size_t size() const { return size_; }
    uint32_t operator[](size_t i) const {
        if constexpr (W == 1)
            return static_cast<uint8_t>(base_[i]);
        return static_cast<uint8_t>(base_[2 * i]) | static_cast<uint32_t>(static_cast<uint8_t>(base_[2 * i + 1]))
                                                        << 8;
    }
    uint8_t ClassOf(const std::array<uint8_t, 256>& table, size_t i) const {
        const uint32_t c = (*this)[i];
        if constexpr (W == 1)
            return table[c];
        return c < 0x100 ? table[c] : uint8_t{kPlain};
    }

  private:
    const char* base_;
    size_t size_;
};

// A backslash in the line [begin, end) that the full reader could take for a continuation: only
// blanks, or a comment, follow it. Quotation is not considered, which only errs towards caution.
template <size_t W>
bool MayContinue(const Units<W>& units, size_t begin, size_t end) {
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
template <size_t W>
size_t PreviousLineStart(const Units<W>& units, size_t lineStart) {
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

// The section line whose "[" is at `at`, its name read up to "]"; false when it cannot be cut at.
template <size_t W>
bool ReadSectionLine(const Units<W>& units, size_t at, SectionLine& line) {
    line.start = at;
    size_t p = at + 1;
    for (; p < units.size(); ++p) {
        const uint32_t c = units[p];
        if (c == ']' || IsLineEnd(c))
            break;
        // Ctrl+Z ends the text before the name is closed.
        if (c == kCtrlZ || c >= 0x80 || p - at > kMaxSectionName)
            return false;
        line.upperName += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return p < units.size() && units[p] == ']';
}

// The quotation state carries over line ends, as in the full reader: a quotation mark toggles it
// ("" inside one stays inside), ";" outside one starts a comment that runs to the line end.
template <size_t W>
std::optional<SectionLayout> Scan(std::string_view body) {
    const Units<W> units(body);
    const size_t size = units.size();
    SectionLayout layout{{}, size};
    bool quoted = false;
    size_t i = 0;
    while (i < size) {
        // A line starts at i.
        const size_t lineStart = i;
        while (i < size && IsBlank(units[i]))
            ++i;
        bool comment = false;
        if (i < size && units[i] == '[') {
            // A quotation open here would hold the section line.
            SectionLine line;
            if (quoted || !ReadSectionLine(units, i, line))
                return std::nullopt;
            if (lineStart > 0 && MayContinue(units, PreviousLineStart(units, lineStart), lineStart))
                return std::nullopt;
            layout.lines.push_back(std::move(line));
            // Whatever follows "]" on the section line is not read.
            comment = true;
        } else if (layout.lines.empty()) {
            // Before the first section only blank lines and comments: anything else makes
            // Windows refuse the file, which the full reading reports.
            if (i < size && units[i] != ';' && !IsLineEnd(units[i]) && units[i] != kCtrlZ)
                return std::nullopt;
            comment = true;
        }
        for (;; ++i) {
            const std::array<uint8_t, 256>& table = comment ? kCommentClasses : kTextClasses;
            uint8_t kind = kPlain;
            while (i < size && (kind = units.ClassOf(table, i)) == kPlain)
                ++i;
            if (i >= size || kind == kEnd) {
                layout.end = i;
                break;
            }
            if (kind == kLineEnd) {
                ++i;
                break;
            }
            if (kind == kQuote)
                quoted = !quoted;
            else if (!quoted)
                comment = true;
        }
        if (layout.end < size)
            break;
    }
    // A quotation open at the end would take in the line end that the cut adds.
    if (layout.lines.empty() || quoted)
        return std::nullopt;
    // The last line may end in a continuation that the cut would join to what follows it.
    size_t end = layout.end;
    while (end > layout.lines.back().start && IsLineEnd(units[end - 1]))
        --end;
    size_t lastLine = end;
    while (lastLine > 0 && !IsLineEnd(units[lastLine - 1]))
        --lastLine;
    if (MayContinue(units, lastLine, end))
        return std::nullopt;
    return layout;
}

}  // namespace

std::optional<SectionLayout> FindSectionLines(std::string_view body, size_t width) {
    return width == 2 ? Scan<2>(body) : Scan<1>(body);
}
