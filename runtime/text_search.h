// The matching rule that FindText, FindTextReverse, ReplaceText and SplitText share.
#pragma once

#include <cstddef>
#include <cstdint>

// Why a scan stopped.
enum class ScanEnd {
    Match,      // the needle matches at the offset
    TooShort,   // fewer bytes than the needle's length are left before the scan's end
    StrayLead,  // the offset holds a lead byte directly followed by the terminator
};

struct ScanStop {
    ScanEnd end;
    size_t offset;
};

// Scans a text for a needle character by character: a match can only start where a scan step
// lands, so it never begins on the second byte of a two-byte character that the scan stepped
// over. Both texts are borrowed and may be null (the empty text).
class MatchScanner {
  public:
    MatchScanner(const char* text, const char* needle, bool ignoreCase);

    const char* text() const { return reinterpret_cast<const char*>(text_); }
    size_t textLength() const { return textLength_; }
    size_t needleLength() const { return needleLength_; }

    // From offset `from`, the first place where the needle matches and ends at or before offset
    // `end`, or where and why the scan gave up.
    ScanStop Next(size_t from, size_t end) const;
    // How far a failed comparison at offset k moves the scan on: two bytes at a lead byte, one
    // otherwise, and 0 at a lead byte directly before the terminator, which ends every scan.
    size_t StepAt(size_t k) const;
    bool MatchesAt(size_t k) const;

  private:
    const uint8_t* text_;
    size_t textLength_;
    const uint8_t* needle_;
    size_t needleLength_;
    bool ignoreCase_;
};
