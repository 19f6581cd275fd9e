// Text commands: joining, comparing, searching, cutting, trimming, replacing and splitting GBK
// text by 1-based byte positions, plus the few byte-set and integer commands of the runtime.
//
// Text arguments are borrowed and may be null, which reads as the empty text. An optional
// argument left out is std::nullopt and gives the command's default. Every Text or ByteSet
// result is a new heap block owned by the caller, null when empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>

#include "runtime/owned.h"
#include "runtime/value.h"

// A new Text block holding a copy of n bytes; null when n is 0.
OwnedText MakeText(const char* bytes, size_t n);

// The arguments joined in order; always a heap block, a lone terminator when all are empty.
OwnedText ConcatText(std::initializer_list<const char*> parts);
template <typename... Parts>
OwnedText ConcatText(const char* first, const char* second, Parts... rest) {
    return ConcatText({first, second, static_cast<const char*>(rest)...});
}

// -1, 0 or 1 comparing unsigned bytes exactly; null equals the empty text.
int32_t CompareText(const char* a, const char* b);
int32_t TextLength(const char* text);
// A copy of the text in a block of its own, never the text itself.
OwnedText CopyText(const char* text);

OwnedText LeftText(const char* text, int32_t n);
OwnedText RightText(const char* text, int32_t n);

// 1-based position of the first match at or after start, or -1.
int32_t FindText(const char* haystack,
                 const char* needle,
                 std::optional<int32_t> start = std::nullopt,
                 bool ignoreCase = false);
// 1-based position of the last match lying wholly before byte position limit, or -1.
int32_t FindTextReverse(const char* haystack,
                        const char* needle,
                        std::optional<int32_t> limit = std::nullopt,
                        bool ignoreCase = false);

OwnedText ToUpperCase(const char* text);
// Without leading and trailing half-width (20) and full-width (A1 A1) spaces.
OwnedText TrimSpaces(const char* text);
OwnedText RemoveAllSpaces(const char* text);

// newText omitted deletes; start omitted is 1; count omitted or negative is unlimited.
OwnedText ReplaceText(const char* text,
                      const char* oldText,
                      std::optional<const char*> newText = std::nullopt,
                      std::optional<int32_t> start = std::nullopt,
                      std::optional<int32_t> count = std::nullopt,
                      bool caseSensitive = false);

// Delimiter omitted is ","; maxPieces omitted is unlimited, negative counts as 0.
TextArray SplitText(const char* text,
                    std::optional<const char*> delimiter = std::nullopt,
                    std::optional<int32_t> maxPieces = std::nullopt);

OwnedText SpaceText(int32_t n);
// Any basic value as text; an unknown tag gives the empty text.
OwnedText ToText(const TaggedValue& value);
// A copy of the zero-terminated string at the address; the address is trusted.
OwnedText PointerToText(const char* address);
OwnedByteSet ZeroByteSet(int32_t n);

// A value read out of a ByteSet, tagged with its type. A Text value is owned by the holder.
class ReadValue {
  public:
    ReadValue() = default;
    ReadValue(TaggedValue value, OwnedText text) : value_(value), text_(std::move(text)) {}
    const TaggedValue& value() const { return value_; }
    ValueTag tag() const { return value_.tag; }
    const char* text() const { return text_.get(); }

  private:
    TaggedValue value_;
    OwnedText text_;
};
// Reads a value of type code 1 to 10 at the position (1-based, default 1) and advances it past
// what was read, or to -1 at the end. Any other type code is a fatal error.
ReadValue ByteSetData(const uint8_t* byteSet, int32_t typeCode, int32_t* position = nullptr);

int32_t BitOr(std::initializer_list<int32_t> values);
