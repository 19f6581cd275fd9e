// Byte rules of GBK text: lead bytes, spaces and ASCII-only case. Never use the C library's
// locale-dependent character tests on raw bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A byte of 0x80 or above starts a two-byte character.
constexpr bool IsLeadByte(uint8_t b) {
    return b >= 0x80;
}
constexpr bool IsAsciiDigit(uint8_t b) {
    return b >= '0' && b <= '9';
}
constexpr uint8_t AsciiUpper(uint8_t b) {
    return (b >= 'a' && b <= 'z') ? static_cast<uint8_t>(b - 0x20) : b;
}
constexpr uint8_t AsciiLower(uint8_t b) {
    return (b >= 'A' && b <= 'Z') ? static_cast<uint8_t>(b + 0x20) : b;
}
// Equal bytes with ASCII letters of either case; every other byte as it is.
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(static_cast<uint8_t>(a[i])) != AsciiUpper(static_cast<uint8_t>(b[i])))
            return false;
    }
    return true;
}
inline bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}
inline bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}
// ASCII letters upper-cased, every other byte kept.
inline std::string AsciiUpperCopy(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(AsciiUpper(static_cast<uint8_t>(c)));
    return upper;
}

// The full-width space is the two-byte character A1 A1.
constexpr uint8_t kFullWidthSpaceByte = 0xA1;
