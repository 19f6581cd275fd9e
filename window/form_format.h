// Constants of the stored form description shared by its reader and by the host-side form compiler.
#pragma once

#include <cstdint>

// Control class codes: (library number << 16) | class number.
enum class ControlClass : uint32_t {
    kWindow = 0x00010001,
    kMenuItem = 0x00010003,
    kEditBox = 0x00010005,
    kButton = 0x0001000B,
    kRadioBox = 0x0001000D,
    kStatusBar = 0x00020002,
    kTransLabel = 0x00020005,
};

constexpr bool IsKnownControlClass(uint32_t code) {
    switch (static_cast<ControlClass>(code)) {
        case ControlClass::kWindow:
        case ControlClass::kMenuItem:
        case ControlClass::kEditBox:
        case ControlClass::kButton:
        case ControlClass::kRadioBox:
        case ControlClass::kStatusBar:
        case ControlClass::kTransLabel:
            return true;
    }
    return false;
}

// A window identifier carries kind 2 in bits 24 to 27 and a non-zero number in bits 0 to 23.
constexpr bool IsWindowIdentifier(uint32_t id) {
    return (id & 0x0F000000u) == 0x02000000u && (id & 0x00FFFFFFu) != 0;
}

// Controls (the window's own record included) carry kind 6 in bits 24 to 27 and a non-zero number
// in bits 0 to 23.
constexpr bool IsControlIdentifier(uint32_t id) {
    return (id & 0x0F000000u) == 0x06000000u && (id & 0x00FFFFFFu) != 0;
}

// Menu items are the controls whose identifier has 2 in the top four bits and 6 in bits 24 to 27.
constexpr bool IsMenuItemIdentifier(uint32_t id) {
    return (id & 0xF0000000u) == 0x20000000u && (id & 0x0F000000u) == 0x06000000u;
}

// Highest property-block layout version each class understands.
inline constexpr uint32_t kWindowPropertyVersion = 6;
inline constexpr uint32_t kButtonPropertyVersion = 1;
inline constexpr uint32_t kRadioBoxPropertyVersion = 1;
inline constexpr uint32_t kTransLabelPropertyVersion = 1;
inline constexpr uint32_t kStatusBarPropertyVersion = 1;
inline constexpr uint32_t kEditBoxPropertyVersion = 2;

// Stored routine value of an event binding that names no routine. Any other value is an index
// into the program's routine table.
inline constexpr uint32_t kNoFormRoutine = 0xFFFFFFFFu;

// Control record flags.
inline constexpr uint32_t kControlVisible = 1u << 0;
inline constexpr uint32_t kControlDisabled = 1u << 1;
inline constexpr uint32_t kControlTabStop = 1u << 2;

// Stored colour meaning "the system's button-face colour".
inline constexpr uint32_t kButtonFaceColour = 0xFF000000u;

// Status bar part drawing styles.
inline constexpr uint32_t kPartSunken = 0;
inline constexpr uint32_t kPartNoBorder = 0x100;
inline constexpr uint32_t kPartRaised = 0x200;

// A font block holds a LOGFONTA exactly; these are its field offsets.
inline constexpr uint32_t kLogFontSize = 60;
inline constexpr uint32_t kLogFontHeight = 0;
inline constexpr uint32_t kLogFontWidth = 4;
inline constexpr uint32_t kLogFontEscapement = 8;
inline constexpr uint32_t kLogFontOrientation = 12;
inline constexpr uint32_t kLogFontWeight = 16;
inline constexpr uint32_t kLogFontItalic = 20;
inline constexpr uint32_t kLogFontUnderline = 21;
inline constexpr uint32_t kLogFontStrikeOut = 22;
inline constexpr uint32_t kLogFontCharSet = 23;
inline constexpr uint32_t kLogFontOutPrecision = 24;
inline constexpr uint32_t kLogFontClipPrecision = 25;
inline constexpr uint32_t kLogFontQuality = 26;
inline constexpr uint32_t kLogFontPitchAndFamily = 27;
inline constexpr uint32_t kLogFontFaceName = 28;
inline constexpr uint32_t kLogFontFaceNameSize = 32;

// Reserved DWORDs of a control record (zero in storage, ignored when read): after the shared-event
// link, and after the event bindings.
inline constexpr uint32_t kControlReservedHead = 4;
inline constexpr uint32_t kControlReservedTail = 5;
