// The INF syntax in one pass: what SetupAPI does with sections, quotes, comments, continuations
// and the whitespace around keys and values.
#include "inf/inf_syntax.h"

#include "runtime/text_rules.h"

namespace {

// SetupAPI's limit on a section name, in characters.
constexpr size_t kMaxSectionName = 255;

// Old editors ended a text file with Ctrl+Z; SetupAPI stops reading there.
constexpr char kEndOfFile = 0x1A;

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The characters an entry's reading acts on; every other one is appended to the value as it is.
bool EndsRun(char c) {
    return IsInfBlank(c) || IsLineEnd(c) || c == ';' || c == '"' || c == '\\' || c == '=' || c == ',';
}

size_t Utf8Characters(std::string_view text) {
    size_t count = 0;
    for (char c : text)
        count += (static_cast<uint8_t>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

class SyntaxReader {
  public:
    explicit SyntaxReader(std::string_view text) : text_(text.substr(0, text.find(kEndOfFile))) {}

    InfSyntax Read() {
        while (pos_ < text_.size()) {
            while (pos_ < text_.size() && IsInfBlank(text_[pos_]))
                ++pos_;
            if (pos_ >= text_.size())
                break;
            const char c = text_[pos_];
            if (IsLineEnd(c))
                ConsumeLineEnd();
            else if (c == ';')
                SkipToLineEnd();
            else if (c == '[')
                ReadSectionLine();
            else
                ReadEntry();
        }
        return std::move(result_);
    }

  private:
    // Steps over one line end (CR LF, CR or LF) and counts it.
    void ConsumeLineEnd() {
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')
            ++pos_;
        ++pos_;
        ++line_;
    }

    void SkipToLineEnd() {
        while (pos_ < text_.size() && !IsLineEnd(text_[pos_]))
            ++pos_;
    }

    void Reject(const std::string& text) {
        result_.problems.push_back({line_, text});
        result_.rejected = true;
    }

    void ReadSectionLine() {
        const size_t start = pos_ + 1;
        size_t end = start;
        while (end < text_.size() && text_[end] != ']' && !IsLineEnd(text_[end]))
            ++end;
        if (end >= text_.size() || text_[end] != ']') {
            Reject("section line without its closing \"]\"");
            pos_ = end;
            current_ = kNoSection;
            return;
        }
        const std::string_view name = text_.substr(start, end - start);
        if (Utf8Characters(name) > kMaxSectionName) {
            Reject("section name longer than 255 characters");
            current_ = kNoSection;
        } else {
            OpenSection(name);
        }
        // Whatever follows the bracket on the same line is not read.
        pos_ = end + 1;
        SkipToLineEnd();
    }

    void OpenSection(std::string_view name) {
        const std::string upper = AsciiUpperCopy(name);
        auto found = result_.byUpperName.find(upper);
        if (found != result_.byUpperName.end()) {
            current_ = found->second;
            return;
        }
        current_ = result_.sections.size();
        result_.byUpperName.emplace(upper, current_);
        result_.sections.push_back({std::string(name), {}});
    }

    // A backslash continues the entry on the next line when nothing but blanks, or a comment,
    // stands between it and the line end; anywhere else it is an ordinary character.
    bool ContinuesAt(size_t backslash) const {
        size_t p = backslash + 1;
        while (p < text_.size() && IsInfBlank(text_[p]))
            ++p;
        if (p < text_.size() && text_[p] == ';')
            while (p < text_.size() && !IsLineEnd(text_[p]))
                ++p;
        return p >= text_.size() || IsLineEnd(text_[p]);
    }

    void ReadEntry() {
        InfLine entry;
        entry.number = line_;
        // Models lines hold two to four values; growing one by one cost an allocation each.
        entry.values.reserve(4);
        std::string field;
        bool fieldStarted = false;  // something other than blanks is in the field
        std::string blanks;         // blanks after the field's content, kept only if more follows
        bool quoted = false;
        bool sawComma = false;
        auto append = [&](std::string_view s) {
            if (fieldStarted)
                field += blanks;
            blanks.clear();
            fieldStarted = true;
            field.append(s);
        };
        auto endField = [&]() {
            entry.values.push_back(std::move(field));
            field.clear();
            blanks.clear();
            fieldStarted = false;
        };
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (quoted) {
                // A quoted string may run over line ends; "" inside it is one quotation mark.
                if (c == '"') {
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                        field += '"';
                        pos_ += 2;
                    } else {
                        quoted = false;
                        ++pos_;
                    }
                    continue;
                }
                if (IsLineEnd(c)) {
                    const size_t before = pos_;
                    ConsumeLineEnd();
                    field.append(text_.substr(before, pos_ - before));
                    continue;
                }
                field += c;
                ++pos_;
                continue;
            }
            if (IsLineEnd(c) || c == ';')
                break;
            if (c == '"') {
                append("");
                quoted = true;
                ++pos_;
            } else if (c == '\\' && ContinuesAt(pos_)) {
                SkipToLineEnd();
                if (pos_ < text_.size())
                    ConsumeLineEnd();
            } else if (c == '=' && !entry.hasKey && !sawComma) {
                entry.hasKey = true;
                entry.key = std::move(field);
                field.clear();
                blanks.clear();
                fieldStarted = false;
                ++pos_;
            } else if (c == ',') {
                sawComma = true;
                endField();
                ++pos_;
            } else if (IsInfBlank(c)) {
                blanks += c;
                ++pos_;
            } else {
                // The whole run up to the next character that could mean something, at once: one
                // by one, an identifier cost a call and a check of the blanks per byte. No byte of
                // a multi-byte UTF-8 sequence is ASCII, so the run ends between characters.
                size_t end = pos_ + 1;
                while (end < text_.size() && !EndsRun(text_[end]))
                    ++end;
                append(text_.substr(pos_, end - pos_));
                pos_ = end;
            }
        }
        if (quoted)
            result_.problems.push_back({entry.number, "quotation mark without its closing one"});
        SkipToLineEnd();
        endField();
        if (current_ == kNoSection) {
            // One refusal is enough; later entries of the same orphaned stretch add nothing.
            if (!result_.rejected)
                Reject("entry outside any section");
            return;
        }
        result_.sections[current_].lines.push_back(std::move(entry));
    }

    static constexpr size_t kNoSection = static_cast<size_t>(-1);

    std::string_view text_;
    size_t pos_ = 0;
    uint32_t line_ = 1;
    size_t current_ = kNoSection;
    InfSyntax result_;
};

}  // namespace

const InfSection* InfSyntax::Find(std::string_view name) const {
    auto found = byUpperName.find(AsciiUpperCopy(name));
    return found == byUpperName.end() ? nullptr : &sections[found->second];
}

InfSyntax ParseInfSyntax(std::string_view utf8) {
    return SyntaxReader(utf8).Read();
}
