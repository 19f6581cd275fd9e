// Decoding INF bytes: byte-order marks, UTF-16LE, UTF-8 checking and the ANSI code page.
#include "inf/inf_text.h"

#include "inf/code_page.h"

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

// A zero character would end the text for every C string that later holds a value; it stands
// for damage, so it becomes visible instead.
void AppendChecked(std::string& out, uint32_t codePoint, bool* damaged) {
    if (codePoint == 0) {
        codePoint = kReplacement;
        *damaged = true;
    }
    AppendUtf8(out, codePoint);
}

std::string DecodeUtf16Le(std::string_view bytes, bool* damaged) {
    std::string out;
    out.reserve(bytes.size());
    const size_t units = bytes.size() / 2;
    auto unitAt = [&bytes](size_t i) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[2 * i])) |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[2 * i + 1])) << 8;
    };
    for (size_t i = 0; i < units; ++i) {
        const uint32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const uint32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendChecked(out, kReplacement, damaged);
            *damaged = true;
            continue;
        }
        AppendChecked(out, unit, damaged);
    }
    if (bytes.size() % 2 != 0) {
        AppendUtf8(out, kReplacement);
        *damaged = true;
    }
    return out;
}

// Latin-1: every byte its own character, the fallback for a code page this platform lacks.
std::string DecodeLatin1(std::string_view bytes, bool* damaged) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        AppendChecked(out, static_cast<uint8_t>(c), damaged);
    return out;
}

}  // namespace

void AppendUtf8(std::string& out, uint32_t codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = kReplacement;
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

size_t Utf8SequenceLength(std::string_view bytes) {
    if (bytes.empty())
        return 0;
    const auto lead = static_cast<uint8_t>(bytes[0]);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    uint32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        if ((b & 0xC0) != 0x80)
            return 0;
        codePoint = codePoint << 6 | (b & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

std::string RepairUtf8(std::string_view bytes, bool* damaged) {
    std::string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t length = Utf8SequenceLength(bytes.substr(i));
        if (length == 0 || bytes[i] == '\0') {
            AppendUtf8(out, kReplacement);
            *damaged = true;
            ++i;
            continue;
        }
        out.append(bytes.substr(i, length));
        i += length;
    }
    return out;
}

InfEncoding InfEncodingOf(std::string_view bytes, std::string_view* body) {
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
        *body = bytes.substr(2);
        return InfEncoding::kUtf16Le;
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        *body = bytes.substr(3);
        return InfEncoding::kUtf8;
    }
    *body = bytes;
    return InfEncoding::kAnsi;
}

InfText DecodeInfText(std::string_view bytes, uint32_t codePage) {
    InfText text;
    text.encoding = InfEncodingOf(bytes, &bytes);
    if (text.encoding == InfEncoding::kUtf16Le) {
        text.utf8 = DecodeUtf16Le(bytes, &text.damaged);
        return text;
    }
    if (text.encoding == InfEncoding::kUtf8) {
        text.utf8 = RepairUtf8(bytes, &text.damaged);
        return text;
    }
    std::string converted;
    if (codePage != kCodePageUtf8 && AnsiToUtf8(bytes, codePage, converted, &text.damaged))
        text.utf8 = RepairUtf8(converted, &text.damaged);
    else if (codePage == kCodePageUtf8)
        text.utf8 = RepairUtf8(bytes, &text.damaged);
    else
        text.utf8 = DecodeLatin1(bytes, &text.damaged);
    return text;
}
