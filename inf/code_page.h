// Conversions between an ANSI code page and UTF-8: the one platform service the INF reader needs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Windows' number for UTF-8 used as a code page.
constexpr uint32_t kCodePageUtf8 = 65001;

// Text in `codePage` as UTF-8; bytes that form no character of the code page become U+FFFD and
// set `damaged` (when given). False (and nothing written) when the code page is unknown here.
bool AnsiToUtf8(std::string_view bytes, uint32_t codePage, std::string& utf8, bool* damaged = nullptr);

// UTF-8 text in `codePage`; characters the code page lacks become "?", and `lossy` (when given)
// is set. False when the code page is unknown here.
bool Utf8ToAnsi(std::string_view utf8, uint32_t codePage, std::string& ansi, bool* lossy = nullptr);
