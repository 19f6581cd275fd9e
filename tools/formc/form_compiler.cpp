// Parsing and checking of the form source.
#include "tools/formc/form_compiler.h"

#include <algorithm>
#include <cstdint>

#include "app/ui/form_routines.h"
#include "runtime/text_rules.h"
#include "tools/formc/form_source.h"
#include "tools/formc/form_tokens.h"
#include "tools/formc/form_writer.h"

namespace {

std::string DwordBytes(uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[i] = static_cast<char>(v >> (8 * i));
    return s;
}

// "'word'", built by appending: GCC 12 warns falsely (-Wrestrict) about "'" + std::string.
std::string Quoted(std::string_view word) {
    std::string quoted(1, '\'');
    quoted.append(word);
    quoted += '\'';
    return quoted;
}

class Compiler {
  public:
    explicit Compiler(const FormTextEncoder& encode) : encode_(encode) {}

    bool Compile(std::string_view source, std::vector<uint8_t>& out);
    const std::string& Error() const { return error_; }

  private:
    bool Fail(int line, const std::string& what) {
        if (error_.empty())
            error_ = "line " + std::to_string(line) + ": " + what;
        return false;
    }

    bool ParseWindowHeader(const Line& line, WindowSource& window);
    bool ParseControlHeader(const Line& line, RecordSource& record);
    bool ParseStatement(const Line& line, WindowSource& window, RecordSource& record);
    bool ParseSetting(const Line& line, RecordSource& record);
    bool ParseBinding(const Line& line, RecordSource& record);
    bool ParsePart(const Line& line, RecordSource& record);
    bool ParseFont(const Line& line, std::string& font);
    bool Number(const Line& line, size_t index, int64_t lo, int64_t hi, int64_t& out);
    bool Dword(const Line& line, size_t index, uint32_t& out, std::span<const Symbol> symbols = {});
    bool Int(const Line& line, size_t index, int32_t& out);
    bool Text(const Line& line, size_t index, std::string& out, bool terminated);
    bool Arity(const Line& line, size_t count);
    bool CheckWindow(const WindowSource& window);

    const FormTextEncoder& encode_;
    std::string error_;
};

bool Compiler::Arity(const Line& line, size_t count) {
    if (line.tokens.size() != count)
        return Fail(line.number, Quoted(line.tokens[0].text) + " takes " + std::to_string(count - 1) + " value(s)");
    return true;
}

bool Compiler::Number(const Line& line, size_t index, int64_t lo, int64_t hi, int64_t& out) {
    if (index >= line.tokens.size())
        return Fail(line.number, Quoted(line.tokens[0].text) + " lacks a value");
    const Token& token = line.tokens[index];
    const std::string& s = token.text;
    bool negative = !s.empty() && s[0] == '-';
    size_t i = negative ? 1 : 0;
    int base = 10;
    if (s.size() > i + 2 && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    int64_t value = 0;
    bool any = false;
    for (; !token.quoted && i < s.size(); ++i) {
        const uint8_t c = static_cast<uint8_t>(s[i]);
        int digit;
        if (IsAsciiDigit(c))
            digit = c - '0';
        else if (base == 16 && AsciiLower(c) >= 'a' && AsciiLower(c) <= 'f')
            digit = AsciiLower(c) - 'a' + 10;
        else
            break;
        // Stays out of every range once too large, without overflowing.
        value = std::min<int64_t>(value * base + digit, int64_t{1} << 40);
        any = true;
    }
    if (token.quoted || !any || i != s.size())
        return Fail(line.number, Quoted(s) + " is not a number");
    if (negative)
        value = -value;
    if (value < lo || value > hi)
        return Fail(line.number, s + " is out of range");
    out = value;
    return true;
}

bool Compiler::Dword(const Line& line, size_t index, uint32_t& out, std::span<const Symbol> symbols) {
    if (index < line.tokens.size() && !line.tokens[index].quoted) {
        for (const Symbol& symbol : symbols) {
            if (symbol.word == line.tokens[index].text) {
                out = symbol.value;
                return true;
            }
        }
    }
    int64_t value;
    if (!Number(line, index, INT32_MIN, UINT32_MAX, value))
        return false;
    out = static_cast<uint32_t>(value);
    return true;
}

bool Compiler::Int(const Line& line, size_t index, int32_t& out) {
    int64_t value;
    if (!Number(line, index, INT32_MIN, INT32_MAX, value))
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

bool Compiler::Text(const Line& line, size_t index, std::string& out, bool terminated) {
    if (index >= line.tokens.size() || !line.tokens[index].quoted)
        return Fail(line.number, Quoted(line.tokens[0].text) + " expects a text in double quotes");
    out.clear();
    if (!encode_(line.tokens[index].text, out))
        return Fail(line.number, "text cannot be stored in the target code page");
    if (terminated && out.find('\0') != std::string::npos)
        return Fail(line.number, "a zero-terminated text cannot hold a zero byte");
    return true;
}

bool Compiler::ParseWindowHeader(const Line& line, WindowSource& window) {
    RecordSource self;
    self.line = line.number;
    self.cls = &WindowClass();
    if (!Arity(line, 3) || !Dword(line, 1, window.id) || !Dword(line, 2, self.id))
        return false;
    self.version = self.cls->maxVersion;
    self.values.resize(self.cls->fields.size());
    window.line = line.number;
    window.records.push_back(std::move(self));
    return true;
}

bool Compiler::ParseControlHeader(const Line& line, RecordSource& record) {
    record.line = line.number;
    if (!Arity(line, 4) || !Dword(line, 1, record.id))
        return false;
    for (const ClassInfo& cls : kClasses) {
        if (cls.name == line.tokens[2].text && cls.code != ControlClass::kWindow)
            record.cls = &cls;
    }
    if (record.cls == nullptr)
        return Fail(line.number, "unknown control class '" + line.tokens[2].text + "'");
    const Token& name = line.tokens[3];
    if (!encode_(name.text, record.name))
        return Fail(line.number, "name cannot be stored in the target code page");
    if (record.name.empty() || record.name.find('\0') != std::string::npos)
        return Fail(line.number, "a control needs a name without zero bytes");
    record.version = record.cls->maxVersion;
    record.values.resize(record.cls->fields.size());
    return true;
}

bool Compiler::ParseFont(const Line& line, std::string& font) {
    if (line.tokens.size() == 2 && line.tokens[1].text == "default" && !line.tokens[1].quoted) {
        font.clear();
        return true;
    }
    struct Attribute {
        std::string_view word;
        uint32_t offset;
        uint32_t width;  // 4: LONG, 1: BYTE, 0: a flag byte set to 1 without a value
    };
    static constexpr Attribute kAttributes[] = {
        {"height", kLogFontHeight, 4},
        {"width", kLogFontWidth, 4},
        {"escapement", kLogFontEscapement, 4},
        {"orientation", kLogFontOrientation, 4},
        {"weight", kLogFontWeight, 4},
        {"italic", kLogFontItalic, 0},
        {"underline", kLogFontUnderline, 0},
        {"strike-out", kLogFontStrikeOut, 0},
        {"charset", kLogFontCharSet, 1},
        {"out-precision", kLogFontOutPrecision, 1},
        {"clip-precision", kLogFontClipPrecision, 1},
        {"quality", kLogFontQuality, 1},
        {"pitch-family", kLogFontPitchAndFamily, 1},
    };
    font.assign(kLogFontSize, '\0');
    for (size_t i = 1; i < line.tokens.size(); ++i) {
        const std::string& word = line.tokens[i].text;
        if (word == "face") {
            std::string face;
            if (!Text(line, ++i, face, true))
                return false;
            if (face.size() >= kLogFontFaceNameSize)
                return Fail(line.number, "face name longer than 31 bytes");
            font.replace(kLogFontFaceName, face.size(), face);
            continue;
        }
        const Attribute* found = nullptr;
        for (const Attribute& a : kAttributes) {
            if (a.word == word && !line.tokens[i].quoted)
                found = &a;
        }
        if (found == nullptr)
            return Fail(line.number, "unknown font attribute '" + word + "'");
        if (found->width == 0) {
            font[found->offset] = 1;
        } else if (found->width == 1) {
            int64_t value;
            if (!Number(line, ++i, 0, 255, value))
                return false;
            font[found->offset] = static_cast<char>(value);
        } else {
            int32_t value;
            if (!Int(line, ++i, value))
                return false;
            font.replace(found->offset, 4, DwordBytes(static_cast<uint32_t>(value)));
        }
    }
    return true;
}

bool Compiler::ParsePart(const Line& line, RecordSource& record) {
    PartSource part;
    for (size_t i = 1; i < line.tokens.size(); i += 2) {
        const std::string& word = line.tokens[i].text;
        bool ok;
        if (word == "width") {
            ok = Int(line, i + 1, part.width);
        } else if (word == "style") {
            ok = Dword(line, i + 1, part.style, kPartStyles);
        } else if (word == "icon") {
            const bool none = i + 1 < line.tokens.size() && line.tokens[i + 1].text == "none";
            ok = none || Int(line, i + 1, part.icon);
        } else if (word == "text") {
            ok = Text(line, i + 1, part.text, true);
        } else if (word == "tooltip") {
            ok = Text(line, i + 1, part.tooltip, true);
        } else {
            return Fail(line.number, "unknown part attribute '" + word + "'");
        }
        if (!ok)
            return false;
    }
    record.parts.push_back(std::move(part));
    return true;
}

bool Compiler::ParseBinding(const Line& line, RecordSource& record) {
    if (!Arity(line, 3))
        return false;
    int32_t event = 0;
    bool named = false;
    for (const Symbol& symbol : record.cls->events) {
        if (!line.tokens[1].quoted && symbol.word == line.tokens[1].text) {
            event = static_cast<int32_t>(symbol.value);
            named = true;
        }
    }
    if (!named && !Int(line, 1, event))
        return false;
    uint32_t routine = kNoFormRoutine;
    if (line.tokens[2].text != "none") {
        routine = FindFormRoutine(line.tokens[2].text);
        if (routine == kNoFormRoutine)
            return Fail(line.number, "unknown routine '" + line.tokens[2].text + "'");
    }
    for (const Binding& b : record.events) {
        if (b.event == event)
            return Fail(line.number, "event " + std::to_string(event) + " bound twice");
    }
    if (record.cls->code == ControlClass::kMenuItem && event != 0)
        return Fail(line.number, "a menu item has only event 0");
    record.events.push_back({event, routine});
    return true;
}

bool Compiler::ParseSetting(const Line& line, RecordSource& record) {
    const std::string& key = line.tokens[0].text;
    const std::span<const Field> fields = record.cls->fields;
    for (size_t f = 0; f < fields.size(); ++f) {
        const Field& field = fields[f];
        if (field.key != key)
            continue;
        FieldValue value;
        switch (field.kind) {
            case Kind::kDword:
                if (!Arity(line, 2) || !Dword(line, 1, value.number, field.symbols))
                    return false;
                break;
            case Kind::kText:
                if (!Arity(line, 2) || !Text(line, 1, value.bytes, false))
                    return false;
                break;
            case Kind::kBlock:
                // Only empty blocks are written by this program's forms; pictures and image lists
                // would need a file reference, which the format of the source does not offer yet.
                if (!Arity(line, 2) || line.tokens[1].quoted || line.tokens[1].text != "none")
                    return Fail(line.number, Quoted(key) + " accepts only none");
                break;
            case Kind::kFont:
                if (!ParseFont(line, value.bytes))
                    return false;
                break;
        }
        record.values[f] = std::move(value);
        return true;
    }
    return Fail(line.number, "unknown setting '" + key + "' for " + std::string(record.cls->name));
}

bool Compiler::ParseStatement(const Line& line, WindowSource& window, RecordSource& record) {
    const std::string& key = line.tokens[0].text;
    const bool isWindow = record.cls->code == ControlClass::kWindow;
    if (key != "on" && key != "part") {
        for (const std::string& seen : record.given) {
            if (seen == key)
                return Fail(line.number, Quoted(key) + " given twice");
        }
        record.given.push_back(key);
    }
    if (key == "rect") {
        return Arity(line, 5) && Int(line, 1, record.rect[0]) && Int(line, 2, record.rect[1]) &&
               Int(line, 3, record.rect[2]) && Int(line, 4, record.rect[3]);
    }
    if (key == "flags") {
        for (size_t i = 1; i < line.tokens.size(); ++i) {
            uint32_t flag = 0;
            bool known = false;
            for (const Symbol& s : kFlagWords) {
                if (s.word == line.tokens[i].text) {
                    flag = s.value;
                    known = true;
                }
            }
            if (!known || line.tokens[i].quoted)
                return Fail(line.number, "unknown flag '" + line.tokens[i].text + "'");
            record.flags |= flag;
        }
        return true;
    }
    if (key == "tab-order")
        return Arity(line, 2) && Dword(line, 1, record.tabOrder);
    if (key == "cursor") {
        if (!Arity(line, 2))
            return false;
        if (line.tokens[1].text == "none") {
            record.cursor.clear();
            return true;
        }
        static constexpr Symbol kDefault[] = {{"default", 0}};
        uint32_t number;
        if (!Dword(line, 1, number, kDefault))
            return false;
        if (number == 0xFFFFFFFFu)
            return Fail(line.number, "cursor files are not supported");
        record.cursor = DwordBytes(number);
        return true;
    }
    if (key == "tag")
        return Arity(line, 2) && Text(line, 1, record.tag, true);
    if (key == "link")
        return Arity(line, 2) && Dword(line, 1, record.link);
    if (key == "container" && !isWindow)
        return Arity(line, 2) && Dword(line, 1, record.container);
    if (key == "children" && !isWindow) {
        record.children.resize(line.tokens.size() - 1);
        for (size_t i = 1; i < line.tokens.size(); ++i) {
            if (!Dword(line, i, record.children[i - 1]))
                return false;
        }
        return true;
    }
    if (key == "designer" && isWindow)
        return Arity(line, 3) && Dword(line, 1, window.designer1) && Dword(line, 2, window.designer2);
    if (key == "on")
        return ParseBinding(line, record);
    if (key == "part" && record.cls->code == ControlClass::kStatusBar)
        return ParsePart(line, record);
    if (key == "version" && record.cls->maxVersion != 0) {
        if (!Arity(line, 2) || !Dword(line, 1, record.version))
            return false;
        if (record.version > record.cls->maxVersion)
            return Fail(line.number, std::string(record.cls->name) + " knows property versions up to " +
                                         std::to_string(record.cls->maxVersion));
        return true;
    }
    return ParseSetting(line, record);
}

bool Compiler::CheckWindow(const WindowSource& window) {
    if (!IsWindowIdentifier(window.id))
        return Fail(window.line, "bad window identifier (kind 2 in bits 24-27 and a non-zero number)");
    const std::vector<RecordSource>& records = window.records;
    auto find = [&](uint32_t id) -> const RecordSource* {
        for (const RecordSource& r : records) {
            if (r.id == id)
                return &r;
        }
        return nullptr;
    };
    for (size_t i = 0; i < records.size(); ++i) {
        const RecordSource& r = records[i];
        if (!IsControlIdentifier(r.id))
            return Fail(r.line, "bad control identifier (kind 6 in bits 24-27 and a non-zero number)");
        if (find(r.id) != &r)
            return Fail(r.line, "control identifier used twice in the window");
        if ((r.cls->code == ControlClass::kMenuItem) != IsMenuItemIdentifier(r.id))
            return Fail(r.line, "menu items, and only they, have menu-item identifiers");
        for (size_t f = 0; f < r.cls->fields.size(); ++f) {
            if (r.values[f] && r.cls->fields[f].minVersion > r.version)
                return Fail(r.line, Quoted(r.cls->fields[f].key) + " needs property version " +
                                        std::to_string(r.cls->fields[f].minVersion));
        }
        if (r.link != 0) {
            const RecordSource* target = find(r.link);
            if (target == nullptr || target == &r || target->cls != r.cls || target->link != 0)
                return Fail(r.line, "link must name another control of the same class that has no link");
        }
        // A container must lead back to the window without a cycle.
        const RecordSource* current = &r;
        for (size_t steps = 0; current->container != 0; ++steps) {
            current = find(current->container);
            if (current == nullptr || current == &records[0] || steps >= records.size())
                return Fail(r.line, "container must name another control of the window, without a cycle");
        }
        for (uint32_t child : r.children) {
            const RecordSource* target = find(child);
            if (child != 0 && (target == nullptr || target == &records[0]))
                return Fail(r.line, "children must name controls of the window (0 separates pages)");
        }
    }
    return true;
}

bool Compiler::Compile(std::string_view source, std::vector<uint8_t>& out) {
    std::vector<Line> lines;
    int errorLine = 0;
    std::string error;
    if (!TokenizeFormSource(source, lines, errorLine, error))
        return Fail(errorLine, error);
    std::vector<WindowSource> windows;
    WindowSource* window = nullptr;
    RecordSource* control = nullptr;
    for (const Line& line : lines) {
        const std::string& key = line.tokens[0].text;
        if (key == "window") {
            if (window != nullptr)
                return Fail(line.number, "'window' inside a window: 'end' missing");
            windows.emplace_back();
            window = &windows.back();
            if (!ParseWindowHeader(line, *window))
                return false;
        } else if (key == "control") {
            if (window == nullptr || control != nullptr)
                return Fail(line.number, "'control' belongs directly inside a window");
            RecordSource record;
            if (!ParseControlHeader(line, record))
                return false;
            window->records.push_back(std::move(record));
            control = &window->records.back();
        } else if (key == "end") {
            if (!Arity(line, 1))
                return false;
            if (control != nullptr) {
                control = nullptr;
            } else if (window != nullptr) {
                if (!CheckWindow(*window))
                    return false;
                window = nullptr;
            } else {
                return Fail(line.number, "'end' without 'window' or 'control'");
            }
        } else if (window == nullptr) {
            return Fail(line.number, Quoted(key) + " outside a window");
        } else if (!ParseStatement(line, *window, control ? *control : window->records[0])) {
            return false;
        }
    }
    if (window != nullptr)
        return Fail(control ? control->line : window->line, "'end' missing");
    if (windows.empty())
        return Fail(1, "no window in the source");
    for (size_t i = 0; i < windows.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            if (windows[i].id == windows[j].id)
                return Fail(windows[i].line, "window identifier used twice");
        }
    }

    out = WriteFormDescription(windows);
    return true;
}

}  // namespace

FormCompileResult CompileFormSource(std::string_view source, const FormTextEncoder& encode) {
    FormCompileResult result;
    Compiler compiler(encode);
    result.ok = compiler.Compile(source, result.description);
    if (!result.ok) {
        result.description.clear();
        result.error = compiler.Error();
    }
    return result;
}
