// Text commands that join, compare, cut, upper-case and trim text; SpaceText, PointerToText, BitOr.
#include "runtime/text_commands.h"

#include <cstring>

#include "runtime/text_rules.h"

namespace {

size_t LengthOf(const char* text) {
    return text ? std::strlen(text) : 0;
}

const uint8_t* BytesOf(const char* text) {
    return reinterpret_cast<const uint8_t*>(text);
}

// Width of the space character at offset k (1 for 0x20, 2 for A1 A1), or 0 when none starts there.
size_t SpaceWidthAt(const uint8_t* text, size_t k) {
    if (text[k] == ' ')
        return 1;
    if (text[k] == kFullWidthSpaceByte && text[k + 1] == kFullWidthSpaceByte)
        return 2;
    return 0;
}

}  // namespace

OwnedText MakeText(const char* bytes, size_t n) {
    if (n == 0)
        return OwnedText();
    char* block = static_cast<char*>(RuntimeAlloc(n + 1));
    std::memcpy(block, bytes, n);
    block[n] = '\0';
    return OwnedText(block);
}

OwnedText ConcatText(std::initializer_list<const char*> parts) {
    size_t total = 0;
    for (const char* part : parts)
        total += LengthOf(part);
    char* block = static_cast<char*>(RuntimeAlloc(total + 1));
    char* out = block;
    for (const char* part : parts) {
        const size_t n = LengthOf(part);
        std::memcpy(out, part ? part : "", n);
        out += n;
    }
    *out = '\0';
    return OwnedText(block);
}

OwnedText CopyText(const char* text) {
    return ConcatText({text});
}

int32_t CompareText(const char* a, const char* b) {
    const uint8_t* x = BytesOf(a ? a : "");
    const uint8_t* y = BytesOf(b ? b : "");
    while (*x != 0 && *x == *y) {
        ++x;
        ++y;
    }
    if (*x == *y)
        return 0;
    return *x < *y ? -1 : 1;
}

int32_t TextLength(const char* text) {
    return static_cast<int32_t>(LengthOf(text));
}

OwnedText LeftText(const char* text, int32_t n) {
    if (n <= 0)
        return OwnedText();
    const size_t length = LengthOf(text);
    const size_t take = static_cast<size_t>(n) < length ? static_cast<size_t>(n) : length;
    return MakeText(text, take);
}

OwnedText RightText(const char* text, int32_t n) {
    if (n <= 0)
        return OwnedText();
    const size_t length = LengthOf(text);
    const size_t take = static_cast<size_t>(n) < length ? static_cast<size_t>(n) : length;
    return MakeText(text + (length - take), take);
}

OwnedText ToUpperCase(const char* text) {
    OwnedText copy = MakeText(text, LengthOf(text));
    uint8_t* bytes = reinterpret_cast<uint8_t*>(copy.get());
    if (bytes == nullptr)
        return copy;
    for (size_t k = 0; bytes[k] != 0;) {
        if (IsLeadByte(bytes[k])) {
            // The second byte of a two-byte character may be an ASCII letter's code: keep it.
            if (bytes[k + 1] == 0)
                break;
            k += 2;
        } else {
            bytes[k] = AsciiUpper(bytes[k]);
            ++k;
        }
    }
    return copy;
}

OwnedText TrimSpaces(const char* text) {
    const uint8_t* bytes = BytesOf(text ? text : "");
    const size_t length = LengthOf(text);
    size_t k = 0;
    while (size_t width = SpaceWidthAt(bytes, k))
        k += width;
    const size_t begin = k;
    size_t end = length;
    // Trailing spaces can only be told from the second bytes of two-byte characters by scanning
    // forward, so remember where the current run of spaces began.
    bool inRun = false;
    size_t runStart = 0;
    while (k < length) {
        const size_t spaceWidth = SpaceWidthAt(bytes, k);
        if (spaceWidth != 0) {
            if (!inRun) {
                inRun = true;
                runStart = k;
            }
            k += spaceWidth;
        } else if (IsLeadByte(bytes[k])) {
            if (k + 1 == length) {
                end = k;  // a lead byte without its second byte is dropped
                break;
            }
            inRun = false;
            k += 2;
        } else {
            inRun = false;
            ++k;
        }
    }
    if (inRun)
        end = runStart;
    return MakeText(text + begin, end - begin);
}

OwnedText RemoveAllSpaces(const char* text) {
    const uint8_t* bytes = BytesOf(text ? text : "");
    // Two passes over the same walk: count what stays, then copy it into a block of that size.
    auto walk = [bytes](auto&& keep) {
        for (size_t k = 0; bytes[k] != 0;) {
            if (const size_t spaceWidth = SpaceWidthAt(bytes, k)) {
                k += spaceWidth;
            } else if (IsLeadByte(bytes[k])) {
                if (bytes[k + 1] == 0)
                    break;
                keep(k, 2);
                k += 2;
            } else {
                keep(k, 1);
                ++k;
            }
        }
    };
    size_t kept = 0;
    walk([&kept](size_t, size_t n) { kept += n; });
    if (kept == 0)
        return OwnedText();
    char* block = static_cast<char*>(RuntimeAlloc(kept + 1));
    char* out = block;
    walk([&out, text](size_t k, size_t n) {
        std::memcpy(out, text + k, n);
        out += n;
    });
    *out = '\0';
    return OwnedText(block);
}

OwnedText SpaceText(int32_t n) {
    if (n < 1)
        return OwnedText();
    char* block = static_cast<char*>(RuntimeAlloc(static_cast<size_t>(n) + 1));
    std::memset(block, ' ', static_cast<size_t>(n));
    block[n] = '\0';
    return OwnedText(block);
}

OwnedText PointerToText(const char* address) {
    return MakeText(address, LengthOf(address));
}

int32_t BitOr(std::initializer_list<int32_t> values) {
    int32_t result = 0;
    for (int32_t v : values)
        result |= v;
    return result;
}
