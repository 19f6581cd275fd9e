// Reader of the stored form description: the program's windows and their controls as plain records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "window/form_byte_reader.h"
#include "window/form_format.h"
#include "window/form_properties.h"

// All spans point into the form description itself, which is constant data of the program and
// outlives every record. Terminated texts (names, tags, part texts) are followed by their zero byte
// in the description, so their data can be handed to Win32 as it stands; counted texts cannot.

struct EventBinding {
    int32_t event;     // the class's own event number; negative numbers are common to all controls
    uint32_t routine;  // index into the program's routine table, or kNoFormRoutine
};

struct ControlRecord {
    uint32_t id = 0;
    ControlClass cls = ControlClass::kWindow;
    uint32_t sharedEventLink = 0;  // control of the same class whose bindings this one uses; 0 none
    FormBytes name;                // terminated; empty for the window itself
    FormBytes secondName;          // terminated; not used
    int32_t left = 0;              // client coordinates of the container; screen ones for a window
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t container = 0;          // 0: placed directly in the window
    std::vector<uint32_t> children;  // pages separated by 0 identifiers
    FormBytes cursor;                // counted block: empty or first DWORD 0 = default cursor
    FormBytes tag;                   // terminated
    uint32_t flags = 0;              // kControlVisible, kControlDisabled, kControlTabStop
    uint32_t tabOrder = 0;
    std::vector<EventBinding> events;  // a menu item has exactly one, as event 0
    FormBytes propertyBlock;           // the stored block, as the class reads it
    ControlProperties properties;      // the block decoded for the record's class
    bool propertiesRefused = false;    // the block's version is newer than the class knows
    FormBytes stored;                  // the whole record body

    bool Visible() const { return (flags & kControlVisible) != 0; }
    bool Disabled() const { return (flags & kControlDisabled) != 0; }
    bool TabStop() const { return (flags & kControlTabStop) != 0; }
};

struct WindowRecord {
    uint32_t id = 0;
    uint32_t designerValue1 = 0;
    uint32_t designerValue2 = 0;
    FormBytes text1;
    FormBytes text2;
    FormBytes controlTable;               // the table body: identifiers, offsets and records
    std::vector<ControlRecord> controls;  // in table order; entry 0 is the window itself
};

struct FormDescription {
    std::vector<WindowRecord> windows;  // in directory order
};

struct FormReadResult {
    bool ok = false;
    FormDescription form;
    size_t errorOffset = 0;       // where in the description reading gave up
    const char* error = nullptr;  // what was wrong there, for logs and tests
};

// Reads and checks the whole description. Every length, count, offset and identifier is checked
// against the bytes that are really there, and every bound routine against the `routineCount`
// routines of the program; any fault gives ok = false and an empty form.
FormReadResult ReadFormDescription(FormBytes description, uint32_t routineCount);

// The start-up reader: a malformed description is the fatal error that ends the program.
FormDescription ReadFormDescriptionOrDie(FormBytes description, uint32_t routineCount);

const WindowRecord* FindFormWindow(const FormDescription& form, uint32_t windowId);
const ControlRecord* FindFormControl(const WindowRecord& window, uint32_t controlId);
