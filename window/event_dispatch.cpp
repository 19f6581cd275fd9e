// Carrying control events to the program's bound routines.
#include "window/event_dispatch.h"

#include "runtime/fatal_error.h"
#include "window/window_list.h"

namespace {

const EventRoutine* g_routines = nullptr;
uint32_t g_routineCount = 0;
int32_t g_suppression = 0;
EventSource g_source;

const ControlRecord* FindRecord(const WindowRecord& window, uint32_t controlId) {
    if (controlId == 0)
        return &window.controls[0];
    return FindFormControl(window, controlId);
}

// Every class of the form's class table builds a window or lives in one; a record type without
// a window (the file version record) has no class code in the table.
bool IsWindowControlClass(ControlClass cls) {
    return IsKnownControlClass(static_cast<uint32_t>(cls));
}

}  // namespace

void SetRoutineTable(const EventRoutine* routines, uint32_t count) {
    g_routines = routines;
    g_routineCount = routines ? count : 0;
}

void RaiseEventSuppression() {
    ++g_suppression;
}

void LowerEventSuppression() {
    if (g_suppression > 0)
        --g_suppression;
}

int32_t EventSuppression() {
    return g_suppression;
}

EventSource CurrentEventSource() {
    return g_source;
}

uint32_t FindBoundRoutine(const WindowRecord& window, const ControlRecord& control, int32_t event) {
    const ControlRecord* owner = &control;
    // A link leads to a control of the same class; more steps than records means a cycle.
    for (size_t steps = 0; owner->sharedEventLink != 0 && steps < window.controls.size(); ++steps) {
        const ControlRecord* next = FindFormControl(window, owner->sharedEventLink);
        if (next == nullptr || next->cls != owner->cls)
            break;
        owner = next;
    }
    for (const EventBinding& binding : owner->events) {
        if (binding.event == event)
            return binding.routine;
    }
    return kNoFormRoutine;
}

void RaiseEvent(EventNotify& event) {
    if (g_suppression > 0)
        return;
    LoadedWindow* window = FindLoadedWindow(event.window);
    if (window == nullptr)
        ReportFatalError("未找到引发事件的窗口", 0, event.window, static_cast<int32_t>(event.control));
    const ControlRecord* control = FindRecord(*window->stored, event.control);
    if (control == nullptr)
        ReportFatalError("未找到引发事件的窗口组件", 0, event.window, static_cast<int32_t>(event.control));
    if (!IsWindowControlClass(control->cls))
        ReportFatalError("引发事件的窗口组件无效", 0, event.window, static_cast<int32_t>(event.control));
    if (window->destroying)
        return;
    const uint32_t routine = FindBoundRoutine(*window->stored, *control, event.event);
    if (routine >= g_routineCount || g_routines[routine] == nullptr)
        return;
    // Routines nest (a routine can pump messages that raise further events): keep the outer source.
    const EventSource outer = g_source;
    g_source = {event.window, event.control};
    g_routines[routine](event);
    g_source = outer;
}

bool RaiseSimpleEvent(uint32_t window, uint32_t control, int32_t event, uint32_t* result) {
    EventNotify notify;
    notify.window = window;
    notify.control = control;
    notify.event = event;
    RaiseEvent(notify);
    if (result)
        *result = notify.result;
    return notify.resultPresent != 0;
}
