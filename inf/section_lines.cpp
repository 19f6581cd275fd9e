// Finding section lines. Most of a driver INF's bytes are install, file, registry and string
// lines, and the scan passes over each of them once, stopping only where the state the full
// reader keeps could change: outside a comment at quotation marks, semicolons and "[", inside one
// at the line end, and anywhere at Ctrl+Z. Line ends outside a comment change nothing, so a
// string line costs two stops. Only a "[" looks back, over the blanks before it and, at a section
// line, over the line before.
#include "inf/section_lines.h"

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(__i386__)
#include <emmintrin.h>
#define TOV_HAVE_SSE2 1
#endif

namespace {

constexpr size_t kMaxSectionName = 255;
constexpr uint32_t kCtrlZ = 0x1A;

// The units a scan stops at, by state. Four each, so that every state costs the same compares;
// inside a quotation ";" changes nothing, but stopping there is cheaper than another set.
using StopSet = std::array<uint8_t, 4>;
constexpr StopSet kTextStops = {'"', ';', '[', kCtrlZ};
constexpr StopSet kCommentStops = {'\r', '\n', kCtrlZ, kCtrlZ};

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
    const char* data() const { return base_; }
    uint32_t operator[](size_t i) const {
        if constexpr (W == 1)
            return static_cast<uint8_t>(base_[i]);
        return static_cast<uint8_t>(base_[2 * i]) | static_cast<uint32_t>(static_cast<uint8_t>(base_[2 * i + 1])) << 8;
    }

  private:
    const char* base_;
    size_t size_;
};

bool IsStop(const StopSet& stops, uint32_t c) {
    return c == stops[0] || c == stops[1] || c == stops[2] || c == stops[3];
}

// The stops of one state in a block of 32 bytes: bit k is set when byte k belongs to a unit of
// the state's set (both bytes of a UTF-16 unit).
using MaskMaker = uint32_t (*)(const char* block);
constexpr size_t kBlockBytes = 32;

template <size_t W, bool kComment>
uint32_t MaskOneByOne(const char* block) {
    uint32_t mask = 0;
    for (size_t k = 0; k < kBlockBytes; k += W) {
        uint32_t c = static_cast<uint8_t>(block[k]);
        if constexpr (W == 2)
            c |= static_cast<uint32_t>(static_cast<uint8_t>(block[k + 1])) << 8;
        mask |= IsStop(kComment ? kCommentStops : kTextStops, c) ? (W == 1 ? 1u : 3u) << k : 0;
    }
    return mask;
}

#ifdef TOV_HAVE_SSE2
// The stop sets spelled out, so that their lanes are constants.
template <size_t W, bool kComment>
__attribute__((target("sse2"))) uint32_t MaskSse2(const char* block) {
    // Both helpers are inlined here, so no vector ever passes a call boundary whose ABI could
    // differ; GCC still warns for a vector returned in a 32-bit build without -msse2.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"
    const auto lanes = [](char c) __attribute__((target("sse2"))) {
        return W == 1 ? _mm_set1_epi8(c) : _mm_set1_epi16(static_cast<short>(c));
    };
    const auto equal = [](__m128i a, __m128i b) __attribute__((target("sse2"))) {
        return W == 1 ? _mm_cmpeq_epi8(a, b) : _mm_cmpeq_epi16(a, b);
    };
#pragma GCC diagnostic pop
    uint32_t mask = 0;
    for (size_t half = 0; half < 2; ++half) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * half));
        const __m128i end = equal(v, lanes(kCtrlZ));
        const __m128i stops = kComment ? _mm_or_si128(_mm_or_si128(equal(v, lanes('\r')), equal(v, lanes('\n'))), end)
                                       : _mm_or_si128(_mm_or_si128(equal(v, lanes('"')), equal(v, lanes(';'))),
                                                      _mm_or_si128(equal(v, lanes('[')), end));
        mask |= static_cast<uint32_t>(_mm_movemask_epi8(stops)) << (16 * half);
    }
    return mask;
}

bool HasSse2() {
#if defined(__SSE2__)
    return true;
#else
    static const bool has = __builtin_cpu_supports("sse2");
    return has;
#endif
}
#endif

// The next stop of a state, from the mask of the block that holds it; a stop costs a bit search.
// A block's comment mask is made only when a comment is read in it: most blocks hold none, and
// making both masks for every block cost about a fifth of the scan.
template <size_t W>
class StopFinder {
  public:
    StopFinder(const Units<W>& units, UnitScan method) : units_(units) {
        textMask_ = MaskOneByOne<W, false>;
        commentMask_ = MaskOneByOne<W, true>;
#ifdef TOV_HAVE_SSE2
        if (method == UnitScan::kFastest && HasSse2()) {
            textMask_ = MaskSse2<W, false>;
            commentMask_ = MaskSse2<W, true>;
        }
#endif
        (void)method;
    }

    // The first unit at or after `from` that stops the state; size() when there is none.
    size_t Next(bool comment, size_t from) {
        constexpr size_t kBlockUnits = kBlockBytes / W;
        for (;;) {
            if (from >= blockStart_ && from - blockStart_ < kBlockUnits) {
                const uint32_t mask = (comment ? CommentStops() : textStops_) >> ((from - blockStart_) * W);
                if (mask != 0)
                    return from + static_cast<size_t>(__builtin_ctz(mask)) / W;
                from = blockStart_ + kBlockUnits;
            }
            if (from >= units_.size())
                return units_.size();
            Load(from);
        }
    }

  private:
    uint32_t CommentStops() {
        if (!commentMade_) {
            commentStops_ = commentMask_(block_);
            commentMade_ = true;
        }
        return commentStops_;
    }

    void Load(size_t from) {
        blockStart_ = from;
        commentMade_ = false;
        const size_t at = from * W;
        const size_t bytes = units_.size() * W;
        if (at + kBlockBytes <= bytes) {
            block_ = units_.data() + at;
        } else {
            // The last block, padded with zero units, which stop nothing.
            std::memset(last_, 0, sizeof last_);
            std::memcpy(last_, units_.data() + at, bytes - at);
            block_ = last_;
        }
        textStops_ = textMask_(block_);
    }

    const Units<W>& units_;
    MaskMaker textMask_;
    MaskMaker commentMask_;
    size_t blockStart_ = SIZE_MAX;  // no block loaded yet
    const char* block_ = nullptr;
    uint32_t textStops_ = 0;
    bool commentMade_ = false;
    uint32_t commentStops_ = 0;
    char last_[kBlockBytes];
};

// A backslash in the line [begin, end), its line end included or not, that the full reader could
// take for a continuation: only blanks, or a comment, follow it. Quotation is not considered,
// which only errs towards caution.
template <size_t W>
bool MayContinue(const Units<W>& units, size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
        if (units[i] != '\\')
            continue;
        size_t p = i + 1;
        while (p < end && IsBlank(units[p]))
            ++p;
        if (p >= end || units[p] == ';' || IsLineEnd(units[p]))
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

// Where the line of the unit at `at` starts when only blanks come before it there; npos else.
template <size_t W>
size_t LineStartBefore(const Units<W>& units, size_t at) {
    size_t p = at;
    while (p > 0 && IsBlank(units[p - 1]))
        --p;
    return p == 0 || IsLineEnd(units[p - 1]) ? p : std::string_view::npos;
}

// The section line whose "[" is at `at`, its name read up to "]" and appended to `names`; false
// when it cannot be cut at.
template <size_t W>
bool ReadSectionLine(const Units<W>& units, size_t at, SectionLine& line, std::string& names) {
    line.start = at;
    line.nameAt = names.size();
    size_t p = at + 1;
    for (; p < units.size(); ++p) {
        const uint32_t c = units[p];
        if (c == ']' || IsLineEnd(c))
            break;
        // Ctrl+Z ends the text before the name is closed.
        if (c == kCtrlZ || c >= 0x80 || p - at > kMaxSectionName)
            return false;
        names += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    line.nameLength = names.size() - line.nameAt;
    return p < units.size() && units[p] == ']';
}

// The first "[" that starts a line, when before it there are only blank lines and comments
// (anything else makes Windows refuse the file, which the full reading reports); npos else.
template <size_t W>
size_t FirstSectionLine(const Units<W>& units) {
    for (size_t p = 0; p < units.size();) {
        while (p < units.size() && IsBlank(units[p]))
            ++p;
        if (p >= units.size())
            break;
        const uint32_t c = units[p];
        if (c == '[')
            return p;
        if (c == ';') {
            while (p < units.size() && !IsLineEnd(units[p]) && units[p] != kCtrlZ)
                ++p;
        }
        if (p >= units.size() || !IsLineEnd(units[p]))
            break;
        ++p;
    }
    return std::string_view::npos;
}

// The quotation state carries over line ends, as in the full reader: a quotation mark toggles it
// ("" inside one stays inside), ";" outside one starts a comment that runs to the line end.
template <size_t W>
std::optional<SectionLayout> Scan(std::string_view body, UnitScan method) {
    const Units<W> units(body);
    const size_t size = units.size();
    StopFinder<W> stops(units, method);
    SectionLayout layout{{}, size, {}};
    // A driver INF has a section line every kilobyte or two; growing the lists a doubling at a
    // time cost an allocation and a copy each.
    layout.lines.reserve(size * W / 1024 + 16);
    layout.upperNames.reserve(layout.lines.capacity() * 16);
    size_t i = FirstSectionLine(units);
    if (i == std::string_view::npos)
        return std::nullopt;
    bool quoted = false;
    bool comment = false;
    for (;; ++i) {
        i = stops.Next(comment, i);
        if (i >= size || units[i] == kCtrlZ) {
            layout.end = i;
            break;
        }
        const uint32_t c = units[i];
        if (comment) {
            comment = false;  // the line end
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ';') {
            comment = !quoted;
        } else {
            const size_t lineStart = LineStartBefore(units, i);
            if (lineStart == std::string_view::npos)
                continue;
            // A quotation open here would hold the section line.
            SectionLine line;
            if (quoted || !ReadSectionLine(units, i, line, layout.upperNames))
                return std::nullopt;
            if (lineStart > 0 && MayContinue(units, PreviousLineStart(units, lineStart), lineStart))
                return std::nullopt;
            layout.lines.push_back(line);
            // Whatever follows "]" on the section line is not read.
            comment = true;
        }
    }
    // A quotation open at the end would take in the line end that the cut adds.
    if (quoted)
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

std::optional<SectionLayout> FindSectionLines(std::string_view body, size_t width, UnitScan scan) {
    return width == 2 ? Scan<2>(body, scan) : Scan<1>(body, scan);
}
