// Index lookup: a single pass over the index for many identifiers, and the folders of the matched
// lines.
#include "app/inject/index_matching.h"

#include <string>
#include <string_view>
#include <unordered_map>

#include "runtime/text_commands.h"
#include "runtime/text_rules.h"

namespace {

// The form under which a key and a stretch of a line compare equal exactly when the text search
// (ignoring case) finds the key there: characters are read from the start, a two-byte character
// stays as it is and a single byte is lower-cased. A byte of 0x80 or above must be equal on both
// sides for a match, so both sides are read into the same characters.
std::string Canonical(std::string_view bytes) {
    std::string out(bytes);
    for (size_t i = 0; i < out.size(); ++i) {
        const auto b = static_cast<uint8_t>(out[i]);
        if (IsLeadByte(b))
            ++i;
        else
            out[i] = static_cast<char>(AsciiLower(b));
    }
    return out;
}

// A key "|id|" matches a line where a "|" stands at a character boundary of the scan and the
// byte m-1 further on is "|" too, with the id between them. Every such (boundary "|", later
// "|") stretch of a line is therefore a possible key; the first line that offers one wins.
// Stretches are quadratic in the "|" count of a line, so a line with very many of them is left
// to the plain search.
constexpr size_t kMaxPairsPerLine = 4096;

}  // namespace

struct IndexLineFinder::Keys {
    std::unordered_map<std::string, uint32_t> byKey;
    std::vector<uint32_t> crowdedLines;
};

IndexLineFinder::IndexLineFinder(const TextArray& lines) : lines_(lines), keys_(std::make_unique<Keys>()) {
    for (uint32_t index = 0, n = lines.size(); index < n; ++index) {
        const char* text = lines_[index];
        if (text == nullptr)
            continue;
        const auto* bytes = reinterpret_cast<const uint8_t*>(text);
        const std::string_view line(text);
        std::vector<size_t> bars;
        for (size_t k = 0; k < line.size(); ++k) {
            if (bytes[k] == '|')
                bars.push_back(k);
        }
        if (bars.size() < 2)
            continue;
        if (bars.size() * (bars.size() - 1) / 2 > kMaxPairsPerLine) {
            keys_->crowdedLines.push_back(index);
            continue;
        }
        // Scan positions: the same steps the text search takes, ending at a stray lead byte.
        size_t k = 0;
        size_t nextBar = 0;
        while (k < line.size()) {
            if (bytes[k] == '|') {
                while (nextBar < bars.size() && bars[nextBar] <= k)
                    ++nextBar;
                for (size_t b = nextBar; b < bars.size(); ++b)
                    keys_->byKey.emplace(Canonical(line.substr(k, bars[b] - k + 1)), index);
            }
            if (IsLeadByte(bytes[k])) {
                if (k + 1 >= line.size())
                    break;
                k += 2;
            } else {
                k += 1;
            }
        }
    }
}

IndexLineFinder::~IndexLineFinder() = default;

int64_t IndexLineFinder::Find(const char* id) const {
    const std::string_view idBytes(id ? id : "");
    int64_t best = -1;
    auto it = keys_->byKey.find(Canonical("|" + std::string(idBytes) + "|"));
    if (it != keys_->byKey.end())
        best = it->second;
    if (!keys_->crowdedLines.empty()) {
        OwnedText key = ConcatText("|", id, "|");
        for (uint32_t line : keys_->crowdedLines) {
            if (best != -1 && line > best)
                break;
            if (FindText(lines_[line], key.get(), std::nullopt, true) != -1) {
                best = line;
                break;
            }
        }
    }
    return best;
}

std::vector<const char*> MatchIndexLines(const std::vector<OwnedText>& ids, const TextArray& indexLines) {
    std::vector<const char*> matched;
    if (ids.empty() || indexLines.size() == 0)
        return matched;
    const IndexLineFinder index(indexLines);
    for (const OwnedText& id : ids) {
        const int64_t line = index.Find(id.get());
        if (line >= 0)
            matched.push_back(indexLines[static_cast<size_t>(line)]);
    }
    return matched;
}

OwnedText ParentFolderOf(const char* path) {
    OwnedText trimmed;
    OwnedText last = RightText(path, 1);
    if (CompareText(last.get(), "\\") == 0)
        trimmed = LeftText(path, TextLength(path) - 1);
    else
        trimmed = CopyText(path);
    const int32_t at = FindTextReverse(trimmed.get(), "\\");
    if (at == -1)
        return OwnedText();
    return LeftText(trimmed.get(), at);
}

std::optional<OwnedText> DriverFolderPath(const char* line, const char* driverBase, int32_t processorGeneration) {
    TextArray fields = SplitText(line, "|");
    if (fields.size() < 3)
        return std::nullopt;
    if (processorGeneration == 8 || processorGeneration == 9)
        return ConcatText(driverBase, "\\Intel_8thA_USB3.A_Win7");
    OwnedText path = ConcatText(driverBase, fields[2]);
    return ParentFolderOf(path.get());
}

std::vector<OwnedText> DriverFolders(const std::vector<const char*>& matched,
                                     const char* driverBase,
                                     int32_t processorGeneration,
                                     PathQualifier qualify) {
    // Qualified results by path; a null result (the empty text) stays null in every copy.
    std::unordered_map<std::string, std::optional<std::string>> qualified;
    std::vector<OwnedText> folders;
    for (const char* line : matched) {
        std::optional<OwnedText> path = DriverFolderPath(line, driverBase, processorGeneration);
        if (!path)
            continue;
        auto [it, fresh] = qualified.try_emplace(std::string(path->view()));
        if (fresh) {
            OwnedText folder = qualify(path->get());
            if (folder.get() != nullptr)
                it->second = std::string(folder.c_str());
            folders.push_back(std::move(folder));
        } else {
            folders.push_back(it->second ? CopyText(it->second->c_str()) : OwnedText());
        }
    }
    return folders;
}
