// The class-specific settings of stored controls, decoded from their property blocks.
#pragma once

#include <cstdint>
#include <variant>
#include <vector>

#include "window/form_byte_reader.h"
#include "window/form_format.h"

// Texts and blocks are spans into the form description: counted texts carry no terminator.
// A font block is a LOGFONTA when it is exactly kLogFontSize bytes; any other length (the empty
// block included) means the stock GUI font.
inline bool HasStoredFont(FormBytes font) {
    return font.size() == kLogFontSize;
}

// DWORD settings keep their stored values; the window runtime gives them their meaning.
struct WindowProperties {
    uint32_t version = kWindowPropertyVersion;
    uint32_t border = 2;  // 0 none, 1 resizable frame, 2 fixed frame
    uint32_t selection12 = 0;
    uint32_t backgroundColour = kButtonFaceColour;
    uint32_t maximizeButton = 0;
    uint32_t minimizeButton = 0;
    uint32_t controlBox = 1;
    uint32_t position = 0;  // 0 as stored, 1 centred on the screen, 2 minimised, 3 maximised
    uint32_t movable = 1;
    uint32_t selection14 = 0;
    uint32_t enterMovesFocus = 0;
    uint32_t escCloses = 0;
    uint32_t f1OpensHelp = 0;
    uint32_t integer25 = 0;
    uint32_t showInTaskbar = 1;  // from version 2
    uint32_t logical27 = 0;      // from version 3
    uint32_t selection28 = 0;    // from version 3
    uint32_t alwaysOnTop = 0;    // from version 4
    uint32_t logical30 = 0;      // from version 5
    FormBytes className;         // version 6
    FormBytes backgroundPicture;
    FormBytes block20;
    FormBytes block13;
    FormBytes title;
    FormBytes helpFile;
};

struct ButtonProperties {
    uint32_t version = kButtonPropertyVersion;
    uint32_t type = 0;             // 0 normal, 1 default push button
    uint32_t horizontalAlign = 1;  // 0 left, 1 centre, 2 right
    uint32_t verticalAlign = 1;    // 0 top, 1 centre, 2 bottom
    FormBytes picture;
    FormBytes font;
    FormBytes caption;
};

struct RadioBoxProperties {
    uint32_t version = kRadioBoxPropertyVersion;
    uint32_t pushLike = 0;
    uint32_t flat = 0;
    uint32_t textOnLeft = 0;
    uint32_t horizontalAlign = 0;
    uint32_t verticalAlign = 1;
    uint32_t textColour = 0;
    uint32_t backgroundColour = kButtonFaceColour;
    uint32_t selected = 0;
    FormBytes picture;
    FormBytes font;
    FormBytes caption;
};

struct TransLabelProperties {
    uint32_t version = kTransLabelPropertyVersion;
    uint32_t effect = 0;
    uint32_t textColour = 0;
    uint32_t horizontalAlign = 0;
    uint32_t verticalAlign = 1;
    uint32_t wordWrap = 0;
    FormBytes font;
    FormBytes caption;
};

// Part texts and tooltips are terminated texts: the byte after each span is a zero.
struct StatusBarPart {
    int32_t width = -1;  // -1: to the right edge, and the last part laid out
    uint32_t style = kPartSunken;
    int32_t icon = -1;  // index into the image list, -1 none
    FormBytes text;
    FormBytes tooltip;
};

struct StatusBarProperties {
    uint32_t version = kStatusBarPropertyVersion;
    uint32_t backgroundColour = kButtonFaceColour;
    uint32_t placement = 0;  // 0 bottom of the parent, 1 top, 2 not aligned
    uint32_t sizeGrip = 0;
    FormBytes font;
    FormBytes imageList;
    std::vector<StatusBarPart> parts;
};

// Edit boxes store no settings of their own in this program: the block is always empty and these
// are the class defaults.
struct EditBoxProperties {
    uint32_t version = kEditBoxPropertyVersion;
    uint32_t borderStyle = 1;  // sunken client edge
    uint32_t textColour = 0;
    uint32_t backgroundColour = 0xFFFFFF;
    uint32_t hideSelection = 1;
    uint32_t maxLength = 0;  // 0: the control's own default
    uint32_t multiline = 0;
    uint32_t scrollBars = 0;
    uint32_t align = 0;
    uint32_t inputMode = 0;  // normal; no password, not read-only
    uint8_t passwordChar = '*';
    uint32_t caseConversion = 0;
    uint32_t selectionStart = 0;
    uint32_t selectionLength = 0;
};

// Menu items have no decoded settings.
using ControlProperties = std::variant<std::monostate,
                                       WindowProperties,
                                       ButtonProperties,
                                       RadioBoxProperties,
                                       TransLabelProperties,
                                       StatusBarProperties,
                                       EditBoxProperties>;

enum class PropertyDecode {
    kDecoded,    // the block was read field by field, or was empty and gave the defaults
    kRefused,    // a layout version newer than the class knows: the class will not build the control
    kMalformed,  // the block does not hold the layout its version promises
};

// Decodes the property block of a control of that class. On kRefused `out` holds the defaults.
PropertyDecode DecodeControlProperties(ControlClass cls, FormBytes block, ControlProperties& out);
