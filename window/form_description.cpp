// Reading and checking the stored form description.
#include "window/form_description.h"

#include <utility>

#include "runtime/fatal_error.h"

namespace {

// Carries the first fault found; every parse step returns false once one is recorded.
class FormParser {
  public:
    FormParser(FormBytes description, uint32_t routineCount) : description_(description), routineCount_(routineCount) {}

    bool Parse(FormDescription& form);

    size_t ErrorOffset() const { return errorOffset_; }
    const char* Error() const { return error_; }

  private:
    bool Fail(const uint8_t* at, const char* what) {
        errorOffset_ = static_cast<size_t>(at - description_.data());
        error_ = what;
        return false;
    }

    bool ParseWindow(FormByteReader& in, uint32_t id, WindowRecord& window);
    bool ParseControlTable(FormBytes table, uint32_t count, WindowRecord& window);
    bool ParseControl(FormBytes body, bool isWindowItself, ControlRecord& control);
    bool ParseEvents(FormByteReader& in, ControlRecord& control);
    bool CheckReferences(const WindowRecord& window);
    bool IsKnownRoutine(uint32_t routine) const { return routine == kNoFormRoutine || routine < routineCount_; }

    FormBytes description_;
    uint32_t routineCount_;
    size_t errorOffset_ = 0;
    const char* error_ = nullptr;
};

bool FormParser::Parse(FormDescription& form) {
    FormByteReader in(description_);
    uint32_t directoryLength;
    if (!in.ReadDword(directoryLength))
        return Fail(in.Position(), "window directory truncated");
    // The directory holds one identifier and one slot per window.
    if (directoryLength == 0 || directoryLength % 8 != 0 || directoryLength > in.Remaining())
        return Fail(in.Position() - 4, "bad window directory length");
    const uint32_t windowCount = directoryLength / 8;
    std::vector<uint32_t> ids(windowCount);
    for (uint32_t& id : ids) {
        in.ReadDword(id);
        if (!IsWindowIdentifier(id))
            return Fail(in.Position() - 4, "bad window identifier");
    }
    for (uint32_t i = 0; i < windowCount; ++i) {
        for (uint32_t j = 0; j < i; ++j) {
            if (ids[i] == ids[j])
                return Fail(description_.data() + 4 + 4 * i, "duplicate window identifier");
        }
    }
    // The slots are the runtime's to fill; whatever is stored there is ignored.
    FormBytes slots;
    in.ReadBytes(directoryLength / 2, slots);

    form.windows.resize(windowCount);
    for (uint32_t i = 0; i < windowCount; ++i) {
        if (!ParseWindow(in, ids[i], form.windows[i]))
            return false;
    }
    if (!in.AtEnd())
        return Fail(in.Position(), "bytes after the last window record");
    return true;
}

bool FormParser::ParseWindow(FormByteReader& in, uint32_t id, WindowRecord& window) {
    window.id = id;
    uint32_t count;
    const uint8_t* start = in.Position();
    if (!in.ReadDword(window.designerValue1) || !in.ReadDword(window.designerValue2) || !in.ReadCounted(window.text1) ||
        !in.ReadCounted(window.text2) || !in.ReadDword(count)) {
        return Fail(start, "window record truncated");
    }
    const uint8_t* tableStart = in.Position();
    if (!in.ReadCounted(window.controlTable))
        return Fail(tableStart, "control table runs past the end");
    return ParseControlTable(window.controlTable, count, window);
}

bool FormParser::ParseControlTable(FormBytes table, uint32_t count, WindowRecord& window) {
    // At least the window's own record, and room for each identifier and offset.
    if (count == 0 || count > table.size() / 8)
        return Fail(table.data() - 8, "bad control count");
    FormByteReader in(table);
    window.controls.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        ControlRecord& control = window.controls[i];
        in.ReadDword(control.id);
        if (!IsControlIdentifier(control.id))
            return Fail(in.Position() - 4, "bad control identifier");
        for (uint32_t j = 0; j < i; ++j) {
            if (window.controls[j].id == control.id)
                return Fail(in.Position() - 4, "duplicate control identifier");
        }
    }
    std::vector<uint32_t> offsets(count);
    for (uint32_t& offset : offsets)
        in.ReadDword(offset);
    const FormBytes area = in.Rest();

    // The records follow each other in table order and fill the area exactly, so no byte of the
    // area is left unexplained and no two records overlap.
    FormByteReader records(area);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t expected = area.size() - records.Remaining();
        if (offsets[i] != expected)
            return Fail(area.data() + expected, "control record offset does not match the table");
        FormBytes body;
        if (!records.ReadCounted(body))
            return Fail(records.Position(), "control record runs past its table");
        if (!ParseControl(body, i == 0, window.controls[i]))
            return false;
    }
    if (!records.AtEnd())
        return Fail(records.Position(), "bytes after the last control record");
    return CheckReferences(window);
}

bool FormParser::ParseControl(FormBytes body, bool isWindowItself, ControlRecord& control) {
    control.stored = body;
    FormByteReader in(body);
    const uint8_t* at = in.Position();
    uint32_t classCode;
    uint32_t ignored;
    if (!in.ReadDword(classCode) || !IsKnownControlClass(classCode))
        return Fail(at, "unknown control class");
    control.cls = static_cast<ControlClass>(classCode);
    if ((control.cls == ControlClass::kWindow) != isWindowItself)
        return Fail(at, "window class only in the window's own record");
    if ((control.cls == ControlClass::kMenuItem) != IsMenuItemIdentifier(control.id))
        return Fail(at, "menu item class and identifier disagree");

    at = in.Position();
    bool ok = in.ReadDword(control.sharedEventLink);
    for (uint32_t i = 0; i < kControlReservedHead && ok; ++i)
        ok = in.ReadDword(ignored);
    ok = ok && in.ReadTerminated(control.name) && in.ReadTerminated(control.secondName);
    // The live-object slot is the runtime's while the window is loaded.
    ok = ok && in.ReadDword(ignored);
    ok = ok && in.ReadInt(control.left) && in.ReadInt(control.top) && in.ReadInt(control.width) &&
         in.ReadInt(control.height);
    // So is the cursor slot.
    ok = ok && in.ReadDword(ignored);
    uint32_t childCount = 0;
    ok = ok && in.ReadDword(control.container) && in.ReadDword(childCount);
    if (!ok)
        return Fail(at, "control record truncated");
    if (childCount > in.Remaining() / 4)
        return Fail(in.Position() - 4, "child count runs past the record");
    control.children.resize(childCount);
    for (uint32_t& child : control.children)
        in.ReadDword(child);

    at = in.Position();
    if (!in.ReadCounted(control.cursor))
        return Fail(at, "cursor block runs past the record");
    if (!control.cursor.empty()) {
        // 0 or a standard cursor number stand alone; -1 is followed by the cursor file's data.
        FormByteReader cursor(control.cursor);
        uint32_t kind = 0;
        if (!cursor.ReadDword(kind) || (kind != 0xFFFFFFFFu && !cursor.AtEnd()))
            return Fail(at, "bad cursor block");
    }
    at = in.Position();
    if (!in.ReadTerminated(control.tag) || !in.ReadDword(ignored) || !in.ReadDword(control.flags) ||
        !in.ReadDword(control.tabOrder)) {
        return Fail(at, "control record truncated");
    }
    if (!ParseEvents(in, control))
        return false;
    at = in.Position();
    for (uint32_t i = 0; i < kControlReservedTail; ++i) {
        if (!in.ReadDword(ignored))
            return Fail(at, "control record truncated");
    }

    control.propertyBlock = in.Rest();
    switch (DecodeControlProperties(control.cls, control.propertyBlock, control.properties)) {
        case PropertyDecode::kDecoded:
            break;
        case PropertyDecode::kRefused:
            // Not a fault of the description: the class declines to build this control when its
            // window is loaded, and only that load fails.
            control.propertiesRefused = true;
            break;
        case PropertyDecode::kMalformed:
            return Fail(control.propertyBlock.data(), "malformed property block");
    }
    return true;
}

bool FormParser::ParseEvents(FormByteReader& in, ControlRecord& control) {
    const uint8_t* at = in.Position();
    if (control.cls == ControlClass::kMenuItem) {
        uint32_t routine;
        if (!in.ReadDword(routine))
            return Fail(at, "control record truncated");
        if (!IsKnownRoutine(routine))
            return Fail(at, "unknown routine");
        control.events.push_back({0, routine});
        return true;
    }
    uint32_t count;
    if (!in.ReadDword(count))
        return Fail(at, "control record truncated");
    if (count > in.Remaining() / 8)
        return Fail(at, "event count runs past the record");
    control.events.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        EventBinding& binding = control.events[i];
        at = in.Position();
        in.ReadInt(binding.event);
        in.ReadDword(binding.routine);
        if (!IsKnownRoutine(binding.routine))
            return Fail(at + 4, "unknown routine");
        for (uint32_t j = 0; j < i; ++j) {
            if (control.events[j].event == binding.event)
                return Fail(at, "event bound twice");
        }
    }
    return true;
}

// Links between records of one window: the shared-event link, containers and container pages.
bool FormParser::CheckReferences(const WindowRecord& window) {
    const size_t count = window.controls.size();
    auto indexOf = [&](uint32_t id) -> size_t {
        for (size_t i = 0; i < count; ++i) {
            if (window.controls[i].id == id)
                return i;
        }
        return count;
    };
    for (size_t i = 0; i < count; ++i) {
        const ControlRecord& control = window.controls[i];
        const uint8_t* at = control.stored.data();
        if (control.sharedEventLink != 0) {
            // One step only: the runtime follows links, so a chain could otherwise be a cycle.
            const size_t target = indexOf(control.sharedEventLink);
            if (target == count || target == i || window.controls[target].cls != control.cls ||
                window.controls[target].sharedEventLink != 0) {
                return Fail(at, "bad shared-event link");
            }
        }
        if (control.container != 0) {
            if (i == 0)
                return Fail(at, "the window has no container");
            // Following containers must end at the window within as many steps as there are records.
            size_t current = i;
            size_t steps = 0;
            while (window.controls[current].container != 0) {
                current = indexOf(window.controls[current].container);
                if (current == count || current == 0 || ++steps >= count)
                    return Fail(at, "bad container");
            }
        }
        for (uint32_t child : control.children) {
            if (child == 0)
                continue;  // separates the pages
            const size_t target = indexOf(child);
            if (target == count || target == 0)
                return Fail(at, "bad child identifier");
        }
    }
    return true;
}

}  // namespace

FormReadResult ReadFormDescription(FormBytes description, uint32_t routineCount) {
    FormReadResult result;
    FormParser parser(description, routineCount);
    result.ok = parser.Parse(result.form);
    if (!result.ok) {
        result.form = FormDescription();
        result.errorOffset = parser.ErrorOffset();
        result.error = parser.Error();
    }
    return result;
}

FormDescription ReadFormDescriptionOrDie(FormBytes description, uint32_t routineCount) {
    FormReadResult result = ReadFormDescription(description, routineCount);
    if (!result.ok)
        ReportFatalError("载入窗口模板数据段出错!", 0, 0, 0);
    return std::move(result.form);
}

const WindowRecord* FindFormWindow(const FormDescription& form, uint32_t windowId) {
    for (const WindowRecord& window : form.windows) {
        if (window.id == windowId)
            return &window;
    }
    return nullptr;
}

const ControlRecord* FindFormControl(const WindowRecord& window, uint32_t controlId) {
    for (const ControlRecord& control : window.controls) {
        if (control.id == controlId)
            return &control;
    }
    return nullptr;
}
