// The searching text commands (find, find reverse, replace, split) and the scan they share.
#include "runtime/text_search.h"

#include <cstring>

#include "runtime/array_block.h"
#include "runtime/text_commands.h"
#include "runtime/text_rules.h"

namespace {

const uint8_t kNoBytes[1] = {0};

const uint8_t* BytesOf(const char* text) {
    return text ? reinterpret_cast<const uint8_t*>(text) : kNoBytes;
}

// A 1-based position argument as a count of bytes to skip: anything below 2 skips none.
size_t BytesBefore(int32_t position) {
    return position > 1 ? static_cast<size_t>(position - 1) : 0;
}

// ReplaceText runs its plan twice: once to measure the result, once to write it into a block of
// exactly that size.
struct MeasureSink {
    size_t size = 0;
    void Put(const char*, size_t n) { size += n; }
};
struct WriteSink {
    char* out;
    void Put(const char* bytes, size_t n) {
        std::memcpy(out, bytes, n);
        out += n;
    }
};

template <typename Sink>
void PlanReplacement(const MatchScanner& scan,
                     size_t skip,
                     int32_t count,
                     const char* replacement,
                     size_t replacementLength,
                     Sink& sink) {
    const char* text = scan.text();
    const size_t length = scan.textLength();
    sink.Put(text, skip);
    size_t p = skip;
    for (;;) {
        const ScanStop stop = scan.Next(p, length);
        if (stop.end == ScanEnd::Match) {
            sink.Put(text + p, stop.offset - p);
            sink.Put(replacement, replacementLength);
            p = stop.offset + scan.needleLength();
            // A negative count never reaches 0: unlimited.
            if (count > 0 && --count == 0)
                break;
            continue;
        }
        if (stop.end == ScanEnd::StrayLead) {
            // The scan copies characters one by one, and a lead byte without its second byte is
            // not one: it is dropped.
            sink.Put(text + p, stop.offset - p);
            p = length;
        }
        break;
    }
    sink.Put(text + p, length - p);
}

// Calls piece(begin, end) for every element SplitText produces, in order.
template <typename PieceFn>
void PlanSplit(const MatchScanner& scan, int32_t limit, PieceFn&& piece) {
    const size_t length = scan.textLength();
    size_t pieceStart = 0;
    for (;;) {
        const ScanStop stop = scan.Next(pieceStart, length);
        if (stop.end != ScanEnd::Match)
            break;
        piece(pieceStart, stop.offset);
        pieceStart = stop.offset + scan.needleLength();
        if (limit > 0 && --limit == 0)
            return;  // the rest of the text is dropped
    }
    if (pieceStart < length)
        piece(pieceStart, length);
}

}  // namespace

MatchScanner::MatchScanner(const char* text, const char* needle, bool ignoreCase)
    : text_(BytesOf(text)),
      textLength_(std::strlen(reinterpret_cast<const char*>(text_))),
      needle_(BytesOf(needle)),
      needleLength_(std::strlen(reinterpret_cast<const char*>(needle_))),
      ignoreCase_(ignoreCase) {}

size_t MatchScanner::StepAt(size_t k) const {
    if (!IsLeadByte(text_[k]))
        return 1;
    return text_[k + 1] == 0 ? 0 : 2;
}

bool MatchScanner::MatchesAt(size_t k) const {
    const uint8_t* at = text_ + k;
    if (!ignoreCase_)
        return std::memcmp(at, needle_, needleLength_) == 0;
    for (size_t i = 0; i < needleLength_; ++i) {
        const uint8_t b = needle_[i];
        if (IsLeadByte(b)) {
            // Both bytes of a two-byte character compare exactly, even where the second byte
            // happens to be an ASCII letter.
            if (at[i] != b)
                return false;
            if (++i < needleLength_ && at[i] != needle_[i])
                return false;
        } else if (AsciiLower(at[i]) != AsciiLower(b)) {
            return false;
        }
    }
    return true;
}

ScanStop MatchScanner::Next(size_t from, size_t end) const {
    size_t k = from;
    if (needleLength_ == 0)
        return k <= end ? ScanStop{ScanEnd::Match, k} : ScanStop{ScanEnd::TooShort, k};
    // Only a place whose first byte agrees with the needle's can match; testing that byte here
    // spares the full comparison (and its call) at nearly every step of a long text. A needle
    // that starts with a lead byte compares it exactly, an ASCII one folds it when case is
    // ignored: the same rule as MatchesAt.
    const uint8_t first = needle_[0];
    const bool fold = ignoreCase_ && !IsLeadByte(first);
    const uint8_t wanted = fold ? AsciiLower(first) : first;
    while (k <= end && end - k >= needleLength_) {
        const uint8_t b = text_[k];
        if ((fold ? AsciiLower(b) : b) == wanted && MatchesAt(k))
            return {ScanEnd::Match, k};
        if (!IsLeadByte(b)) {
            ++k;
            continue;
        }
        if (text_[k + 1] == 0)
            return {ScanEnd::StrayLead, k};
        k += 2;
    }
    return {ScanEnd::TooShort, k};
}

int32_t FindText(const char* haystack, const char* needle, std::optional<int32_t> start, bool ignoreCase) {
    const MatchScanner scan(haystack, needle, ignoreCase);
    const size_t skip = start ? BytesBefore(*start) : 0;
    if (skip >= scan.textLength())
        return -1;
    if (scan.needleLength() == 0)
        return 1;
    const ScanStop stop = scan.Next(skip, scan.textLength());
    return stop.end == ScanEnd::Match ? static_cast<int32_t>(stop.offset + 1) : -1;
}

int32_t FindTextReverse(const char* haystack, const char* needle, std::optional<int32_t> limit, bool ignoreCase) {
    const MatchScanner scan(haystack, needle, ignoreCase);
    size_t regionEnd = scan.textLength();
    if (limit) {
        const size_t before = BytesBefore(*limit);
        if (before < regionEnd)
            regionEnd = before;
    }
    if (regionEnd == 0)
        return -1;
    if (scan.needleLength() == 0)
        return 1;
    // The scan runs forward from the first byte, so the last match is the one a forward reader
    // meets last, overlapping matches included.
    int32_t last = -1;
    size_t k = 0;
    for (;;) {
        const ScanStop stop = scan.Next(k, regionEnd);
        if (stop.end != ScanEnd::Match)
            break;
        last = static_cast<int32_t>(stop.offset + 1);
        const size_t step = scan.StepAt(stop.offset);
        if (step == 0)
            break;
        k = stop.offset + step;
    }
    return last;
}

OwnedText ReplaceText(const char* text,
                      const char* oldText,
                      std::optional<const char*> newText,
                      std::optional<int32_t> start,
                      std::optional<int32_t> count,
                      bool caseSensitive) {
    const MatchScanner scan(text, oldText, !caseSensitive);
    const size_t length = scan.textLength();
    const size_t skip = start ? BytesBefore(*start) : 0;
    const int32_t limit = count ? (*count < 0 ? -1 : *count) : -1;
    if (length == 0 || scan.needleLength() == 0 || skip >= length || limit == 0)
        return MakeText(scan.text(), length);

    const char* replacement = newText && *newText ? *newText : "";
    const size_t replacementLength = std::strlen(replacement);
    MeasureSink measure;
    PlanReplacement(scan, skip, limit, replacement, replacementLength, measure);
    if (measure.size == 0)
        return OwnedText();
    char* block = static_cast<char*>(RuntimeAlloc(measure.size + 1));
    WriteSink write{block};
    PlanReplacement(scan, skip, limit, replacement, replacementLength, write);
    block[measure.size] = '\0';
    return OwnedText(block);
}

TextArray SplitText(const char* text, std::optional<const char*> delimiter, std::optional<int32_t> maxPieces) {
    const char* separator = delimiter ? *delimiter : ",";
    const int32_t limit = maxPieces ? (*maxPieces < 0 ? 0 : *maxPieces) : -1;
    const MatchScanner scan(text, separator, false);
    const size_t length = scan.textLength();
    if (length == 0 || limit == 0)
        return TextArray(NewEmptyArray());
    if (scan.needleLength() == 0) {
        TextArray whole(NewPointerArray(1));
        static_cast<char**>(ArrayMembers(whole.get()))[0] = MakeText(scan.text(), length).Detach();
        return whole;
    }

    uint32_t count = 0;
    PlanSplit(scan, limit, [&count](size_t, size_t) { ++count; });
    TextArray pieces(NewPointerArray(count));
    char** members = static_cast<char**>(ArrayMembers(pieces.get()));
    PlanSplit(scan, limit, [&members, &scan](size_t begin, size_t end) {
        *members++ = MakeText(scan.text() + begin, end - begin).Detach();
    });
    return pieces;
}
