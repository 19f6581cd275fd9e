// Splitting the form source into lines of words and quoted texts.
#include "tools/formc/form_tokens.h"

bool TokenizeFormSource(std::string_view source, std::vector<Line>& lines, int& errorLine, std::string& error) {
    int number = 0;
    size_t pos = 0;
    while (pos < source.size()) {
        size_t end = source.find('\n', pos);
        if (end == std::string_view::npos)
            end = source.size();
        std::string_view text = source.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        Line line;
        line.number = number;
        size_t i = 0;
        while (i < text.size()) {
            const char c = text[i];
            if (c == ' ' || c == '\t' || c == '\r') {
                ++i;
            } else if (c == '#') {
                break;
            } else if (c == '"') {
                Token token;
                token.quoted = true;
                ++i;
                while (true) {
                    if (i >= text.size()) {
                        errorLine = number;
                        error = "text without closing quote";
                        return false;
                    }
                    if (text[i] == '"')
                        break;
                    if (text[i] == '\\') {
                        if (i + 1 >= text.size() || (text[i + 1] != '"' && text[i + 1] != '\\')) {
                            errorLine = number;
                            error = "unknown escape in text (only \\\" and \\\\)";
                            return false;
                        }
                        ++i;
                    }
                    token.text += text[i++];
                }
                ++i;
                line.tokens.push_back(std::move(token));
            } else {
                Token token;
                while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '"')
                    token.text += text[i++];
                line.tokens.push_back(std::move(token));
            }
        }
        if (!line.tokens.empty())
            lines.push_back(std::move(line));
    }
    return true;
}
