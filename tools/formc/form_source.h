// The form source's language: the settings each class accepts, and the records the parser fills.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "window/form_format.h"

// ---- Settings of each class, in the order their property block stores them.

struct Symbol {
    std::string_view word;
    uint32_t value;
};

inline constexpr Symbol kYesNo[] = {{"no", 0}, {"yes", 1}};
inline constexpr Symbol kBorders[] = {{"none", 0}, {"resizable", 1}, {"fixed", 2}};
inline constexpr Symbol kPositions[] = {{"stored", 0}, {"centred", 1}, {"minimised", 2}, {"maximised", 3}};
inline constexpr Symbol kColours[] = {{"button-face", kButtonFaceColour}, {"black", 0}, {"white", 0xFFFFFF}};
inline constexpr Symbol kAligns[] = {{"left", 0}, {"centre", 1}, {"right", 2}};
inline constexpr Symbol kVerticalAligns[] = {{"top", 0}, {"centre", 1}, {"bottom", 2}};
inline constexpr Symbol kButtonTypes[] = {{"normal", 0}, {"default", 1}};
inline constexpr Symbol kPlacements[] = {{"bottom", 0}, {"top", 1}, {"free", 2}};
inline constexpr Symbol kEffects[] = {{"none", 0}};
inline constexpr Symbol kPartStyles[] = {{"sunken", kPartSunken},
                                         {"no-border", kPartNoBorder},
                                         {"raised", kPartRaised}};
inline constexpr Symbol kFlagWords[] = {{"visible", kControlVisible},
                                        {"disabled", kControlDisabled},
                                        {"tab-stop", kControlTabStop},
                                        {"hidden", 0}};

enum class Kind { kDword, kText, kBlock, kFont };

struct Field {
    std::string_view key;
    Kind kind;
    uint32_t fallback;  // stored when the source leaves the setting out
    std::span<const Symbol> symbols;
    uint32_t minVersion = 0;
};

inline constexpr Field kWindowFields[] = {
    {"border", Kind::kDword, 2, kBorders},
    {"selection-12", Kind::kDword, 0, {}},
    {"background", Kind::kDword, kButtonFaceColour, kColours},
    {"maximise-button", Kind::kDword, 0, kYesNo},
    {"minimise-button", Kind::kDword, 0, kYesNo},
    {"control-box", Kind::kDword, 1, kYesNo},
    {"position", Kind::kDword, 0, kPositions},
    {"movable", Kind::kDword, 1, kYesNo},
    {"selection-14", Kind::kDword, 0, {}},
    {"enter-moves-focus", Kind::kDword, 0, kYesNo},
    {"esc-closes", Kind::kDword, 0, kYesNo},
    {"f1-help", Kind::kDword, 0, kYesNo},
    {"integer-25", Kind::kDword, 0, {}},
    {"taskbar", Kind::kDword, 1, kYesNo, 2},
    {"logical-27", Kind::kDword, 0, kYesNo, 3},
    {"selection-28", Kind::kDword, 0, {}, 3},
    {"always-on-top", Kind::kDword, 0, kYesNo, 4},
    {"logical-30", Kind::kDword, 0, kYesNo, 5},
    {"class-name", Kind::kText, 0, {}, 6},
    {"picture", Kind::kBlock, 0, {}},
    {"block-20", Kind::kBlock, 0, {}},
    {"block-13", Kind::kBlock, 0, {}},
    {"title", Kind::kText, 0, {}},
    {"help-file", Kind::kText, 0, {}},
};

inline constexpr Field kButtonFields[] = {
    {"type", Kind::kDword, 0, kButtonTypes},
    {"align", Kind::kDword, 1, kAligns},
    {"valign", Kind::kDword, 1, kVerticalAligns},
    {"picture", Kind::kBlock, 0, {}},
    {"font", Kind::kFont, 0, {}},
    {"caption", Kind::kText, 0, {}},
};

inline constexpr Field kRadioBoxFields[] = {
    {"push-like", Kind::kDword, 0, kYesNo},
    {"flat", Kind::kDword, 0, kYesNo},
    {"text-on-left", Kind::kDword, 0, kYesNo},
    {"align", Kind::kDword, 0, kAligns},
    {"valign", Kind::kDword, 1, kVerticalAligns},
    {"text-colour", Kind::kDword, 0, kColours},
    {"background", Kind::kDword, kButtonFaceColour, kColours},
    {"selected", Kind::kDword, 0, kYesNo},
    {"picture", Kind::kBlock, 0, {}},
    {"font", Kind::kFont, 0, {}},
    {"caption", Kind::kText, 0, {}},
};

inline constexpr Field kTransLabelFields[] = {
    {"effect", Kind::kDword, 0, kEffects},  {"text-colour", Kind::kDword, 0, kColours},
    {"align", Kind::kDword, 0, kAligns},    {"valign", Kind::kDword, 1, kVerticalAligns},
    {"word-wrap", Kind::kDword, 0, kYesNo}, {"font", Kind::kFont, 0, {}},
    {"caption", Kind::kText, 0, {}},
};

// The parts block follows these; it is written from the "part" statements.
inline constexpr Field kStatusBarFields[] = {
    {"background", Kind::kDword, kButtonFaceColour, kColours},
    {"placement", Kind::kDword, 0, kPlacements},
    {"size-grip", Kind::kDword, 0, kYesNo},
    {"font", Kind::kFont, 0, {}},
    {"image-list", Kind::kBlock, 0, {}},
};

inline constexpr Symbol kWindowEvents[] = {{"created", 0}, {"close-query", 1},    {"destroyed", 2},  {"moved", 3},
                                           {"resized", 4}, {"close-request", 12}, {"got-focus", -7u}};
inline constexpr Symbol kButtonEvents[] = {{"clicked", 0}, {"got-focus", -7u}};
inline constexpr Symbol kCommonEvents[] = {{"got-focus", -7u}};

struct ClassInfo {
    std::string_view name;
    ControlClass code;
    uint32_t maxVersion;  // 0: the class stores an empty property block
    std::span<const Field> fields;
    std::span<const Symbol> events;
};

inline constexpr ClassInfo kClasses[] = {
    {"Window", ControlClass::kWindow, kWindowPropertyVersion, kWindowFields, kWindowEvents},
    {"Button", ControlClass::kButton, kButtonPropertyVersion, kButtonFields, kButtonEvents},
    {"RadioBox", ControlClass::kRadioBox, kRadioBoxPropertyVersion, kRadioBoxFields, kCommonEvents},
    {"TransLabel", ControlClass::kTransLabel, kTransLabelPropertyVersion, kTransLabelFields, kCommonEvents},
    {"StatusBar", ControlClass::kStatusBar, kStatusBarPropertyVersion, kStatusBarFields, kCommonEvents},
    {"EditBox", ControlClass::kEditBox, 0, {}, kCommonEvents},
    {"MenuItem", ControlClass::kMenuItem, 0, {}, {}},
};

inline const ClassInfo& WindowClass() {
    return kClasses[0];
}

// ---- Parsed source.

struct Token {
    bool quoted = false;
    std::string text;  // strings without quotes and escapes
};

struct Line {
    int number = 0;
    std::vector<Token> tokens;
};

struct PartSource {
    int32_t width = -1;
    uint32_t style = kPartSunken;
    int32_t icon = -1;
    std::string text;
    std::string tooltip;
};

struct Binding {
    int32_t event;
    uint32_t routine;
};

struct FieldValue {
    uint32_t number = 0;  // DWORD settings
    std::string bytes;    // texts, blocks and fonts, as stored
};

struct RecordSource {
    int line = 0;
    uint32_t id = 0;
    const ClassInfo* cls = nullptr;
    std::string name;
    int32_t rect[4] = {};
    uint32_t flags = 0;
    uint32_t tabOrder = 0;
    uint32_t container = 0;
    uint32_t link = 0;
    std::vector<uint32_t> children;
    std::string cursor = std::string(4, '\0');  // the default cursor
    std::string tag;
    std::vector<Binding> events;
    uint32_t version = 0;
    std::vector<std::optional<FieldValue>> values;  // per field of the class; empty: the default
    std::vector<PartSource> parts;
    std::vector<std::string> given;  // statements seen, to refuse repeats
};

struct WindowSource {
    int line = 0;
    uint32_t id = 0;
    uint32_t designer1 = 0;
    uint32_t designer2 = 0;
    std::vector<RecordSource> records;  // record 0 is the window itself
};
