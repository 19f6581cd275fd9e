// Plain, slow std::string versions of the searching and trimming text commands, for comparison.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace text_reference {

inline bool IsLead(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

// The bytes a scan at offset k steps over: 2 for a two-byte character, 1 for a single byte, and 0
// for a lead byte that is the last byte of the text (the scan stops there).
inline size_t CharWidth(const std::string& text, size_t k) {
    if (!IsLead(text[k]))
        return 1;
    return k + 1 < text.size() ? 2 : 0;
}

inline char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Does the needle stand at offset k? Characters of the needle compare one at a time: a
// single-byte one folds ASCII letters when asked to, a two-byte one must be equal byte for byte.
inline bool MatchAt(const std::string& text, size_t k, const std::string& needle, bool ignoreCase) {
    if (k + needle.size() > text.size())
        return false;
    size_t i = 0;
    while (i < needle.size()) {
        if (IsLead(needle[i])) {
            const size_t n = i + 1 < needle.size() ? 2 : 1;
            if (text.compare(k + i, n, needle, i, n) != 0)
                return false;
            i += n;
        } else {
            const bool same = ignoreCase ? FoldAscii(text[k + i]) == FoldAscii(needle[i]) : text[k + i] == needle[i];
            if (!same)
                return false;
            ++i;
        }
    }
    return true;
}

// Every match offset a character-by-character scan of text meets, starting at offset `from`.
inline std::vector<size_t> AllScanMatches(const std::string& text,
                                          size_t from,
                                          const std::string& needle,
                                          bool ignoreCase) {
    std::vector<size_t> found;
    size_t k = from;
    while (k + needle.size() <= text.size()) {
        if (MatchAt(text, k, needle, ignoreCase))
            found.push_back(k);
        const size_t w = CharWidth(text, k);
        if (w == 0)
            break;
        k += w;
    }
    return found;
}

inline size_t Skip(std::optional<int32_t> position) {
    return position && *position > 1 ? static_cast<size_t>(*position - 1) : 0;
}

inline int32_t FindText(const std::string& text,
                        const std::string& needle,
                        std::optional<int32_t> start,
                        bool ignoreCase) {
    const size_t from = Skip(start);
    if (from >= text.size())
        return -1;
    if (needle.empty())
        return 1;
    const std::vector<size_t> found = AllScanMatches(text, from, needle, ignoreCase);
    return found.empty() ? -1 : static_cast<int32_t>(found.front() + 1);
}

inline int32_t FindTextReverse(const std::string& text,
                               const std::string& needle,
                               std::optional<int32_t> limit,
                               bool ignoreCase) {
    std::string region = text;
    if (limit) {
        if (Skip(limit) == 0)
            return -1;
        region = text.substr(0, Skip(limit));
    }
    if (region.empty())
        return -1;
    if (needle.empty())
        return 1;
    // Cutting the text at the region's end only changes how a lead byte at the cut steps, and a
    // step from there leaves the region either way.
    const std::vector<size_t> found = AllScanMatches(region, 0, needle, ignoreCase);
    return found.empty() ? -1 : static_cast<int32_t>(found.back() + 1);
}

inline std::string ReplaceText(const std::string& text,
                               const std::string& oldText,
                               const std::string& newText,
                               std::optional<int32_t> start,
                               std::optional<int32_t> count,
                               bool caseSensitive) {
    const size_t from = Skip(start);
    int64_t left = count && *count >= 0 ? *count : -1;
    if (text.empty() || oldText.empty() || from >= text.size() || left == 0)
        return text;
    std::string out = text.substr(0, from);
    size_t p = from;
    while (p + oldText.size() <= text.size()) {
        if (MatchAt(text, p, oldText, !caseSensitive)) {
            out += newText;
            p += oldText.size();
            if (left > 0 && --left == 0)
                break;
            continue;
        }
        const size_t w = CharWidth(text, p);
        if (w == 0) {
            p = text.size();  // the lone lead byte is dropped
            break;
        }
        out += text.substr(p, w);
        p += w;
    }
    return out + text.substr(p);
}

inline std::vector<std::string> SplitText(const std::string& text,
                                          std::optional<std::string> delimiter,
                                          std::optional<int32_t> maxPieces) {
    const std::string delim = delimiter.value_or(",");
    int64_t left = maxPieces ? (*maxPieces < 0 ? 0 : *maxPieces) : -1;
    if (text.empty() || left == 0)
        return {};
    if (delim.empty())
        return {text};
    std::vector<std::string> pieces;
    size_t pieceStart = 0;
    size_t p = 0;
    while (p + delim.size() <= text.size()) {
        if (MatchAt(text, p, delim, false)) {
            pieces.push_back(text.substr(pieceStart, p - pieceStart));
            p += delim.size();
            pieceStart = p;
            if (left > 0 && --left == 0)
                return pieces;
            continue;
        }
        const size_t w = CharWidth(text, p);
        if (w == 0)
            break;
        p += w;
    }
    if (pieceStart < text.size())
        pieces.push_back(text.substr(pieceStart));
    return pieces;
}

// The text cut into its characters from the first byte; a lead byte that ends the text is left
// out, as every scanning command drops it.
inline std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> chars;
    for (size_t k = 0; k < text.size();) {
        const size_t w = CharWidth(text, k);
        if (w == 0)
            break;
        chars.push_back(text.substr(k, w));
        k += w;
    }
    return chars;
}

inline bool IsSpaceCharacter(const std::string& c) {
    return c == " " || c == "\xA1\xA1";
}

inline std::string TrimSpaces(const std::string& text) {
    const std::vector<std::string> chars = Characters(text);
    size_t first = 0;
    size_t last = chars.size();
    while (first < last && IsSpaceCharacter(chars[first]))
        ++first;
    while (last > first && IsSpaceCharacter(chars[last - 1]))
        --last;
    std::string out;
    for (size_t i = first; i < last; ++i)
        out += chars[i];
    return out;
}

inline std::string RemoveAllSpaces(const std::string& text) {
    std::string out;
    for (const std::string& c : Characters(text)) {
        if (!IsSpaceCharacter(c))
            out += c;
    }
    return out;
}

}  // namespace text_reference
