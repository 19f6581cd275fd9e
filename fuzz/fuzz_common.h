// What the fuzz targets share: texts drawn from the input, with an alphabet that makes matches
// likely, and the check that stops the run with the input that broke a rule.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "runtime/owned.h"
#include "runtime/text_commands.h"

namespace fuzz {

// Stops the run: libFuzzer keeps the input as a crash file.
[[noreturn]] inline void Fail(const char* what, const std::string& detail = std::string()) {
    std::fprintf(stderr, "fuzz rule broken: %s\n%s\n", what, detail.c_str());
    std::abort();
}

inline void Require(bool condition, const char* what, const std::string& detail = std::string()) {
    if (!condition)
        Fail(what, detail);
}

// Bytes as C escapes, for the report of a broken rule.
inline std::string Escaped(const std::string& bytes) {
    std::string out;
    char hex[8];
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

// Separators, letters of both cases, spaces of both widths, lead bytes whose second byte may be
// a backslash, a bar or an ASCII letter, and bytes that are no trail byte at all.
inline constexpr char kAlphabet[] = "aAbB\\|:. \r\n\"\xA1\xB0\xC3\x81\xFE\x5C\x40\x7F\x80\xFF\x20";
inline constexpr size_t kAlphabetSize = sizeof kAlphabet - 1;

// A text (no zero byte) of at most maxLength bytes: raw input bytes, or, when `small` is set,
// input bytes mapped onto the alphabet above.
inline std::string TakeText(FuzzedDataProvider& in, size_t maxLength, bool small) {
    const size_t length = in.ConsumeIntegralInRange<size_t>(0, maxLength);
    std::string text = in.ConsumeBytesAsString(length);
    std::string out;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (small)
            out += kAlphabet[b % kAlphabetSize];
        else if (b != 0)
            out += c;
    }
    return out;
}

// A heap Text of exactly the text's bytes and terminator, so that a read past the terminator
// is out of bounds; the empty text is null or a block of just the terminator.
inline OwnedText HeapText(const std::string& text, bool nullWhenEmpty = true) {
    if (text.empty() && !nullWhenEmpty)
        return ConcatText("", "");
    return MakeText(text.data(), text.size());
}

inline std::optional<int32_t> TakePosition(FuzzedDataProvider& in, size_t length) {
    if (in.ConsumeBool())
        return std::nullopt;
    return in.ConsumeIntegralInRange<int32_t>(-3, static_cast<int32_t>(length) + 3);
}

inline std::string AsString(const char* text) {
    return text ? std::string(text) : std::string();
}

}  // namespace fuzz
