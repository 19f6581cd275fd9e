// Byte rules of GBK text: lead bytes, spaces and ASCII-only case. Never use the C library's
// locale-dependent character tests on raw bytes.
#pragma once

#include <cstdint>

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
// The full-width space is the two-byte character A1 A1.
constexpr uint8_t kFullWidthSpaceByte = 0xA1;
