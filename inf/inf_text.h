// The text of an INF file: its encoding decided as Windows decides it, and its bytes as UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class InfEncoding { kAnsi, kUtf8, kUtf16Le };

struct InfText {
    InfEncoding encoding = InfEncoding::kAnsi;
    std::string utf8;
    // Something could not be decoded and became U+FFFD: a malformed sequence, a lone surrogate,
    // the odd last byte of UTF-16, or a zero character.
    bool damaged = false;
};

// The encoding a UTF-16LE or UTF-8 byte-order mark gives (ANSI without one), and in `body` the
// bytes after the mark.
InfEncoding InfEncodingOf(std::string_view bytes, std::string_view* body);

// A UTF-16LE or UTF-8 byte-order mark decides; any other file is ANSI text in `codePage` (a code
// page unknown here reads as Latin-1, so ASCII structure survives).
InfText DecodeInfText(std::string_view bytes, uint32_t codePage);

// Appends the UTF-8 form of a code point (U+FFFD for one that has none).
void AppendUtf8(std::string& out, uint32_t codePoint);

// The length of the well-formed UTF-8 sequence at the start of `bytes`, or 0 when it is malformed.
size_t Utf8SequenceLength(std::string_view bytes);

// `bytes` with every malformed UTF-8 byte and every zero byte replaced by U+FFFD.
std::string RepairUtf8(std::string_view bytes, bool* damaged);
