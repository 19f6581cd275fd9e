// Carrying control events to the program's bound routines: the routine table, the suppression
// counter and the raising of one event.
#pragma once

#include <cstdint>

#include "window/form_description.h"

// The record through which a control class raises an event.
struct EventNotify {
    uint32_t window = 0;   // window identifier
    uint32_t control = 0;  // control identifier; the window's own (or 0) for window events
    int32_t event = 0;     // the class's event number; negative numbers are common to all controls
    uint32_t argumentCount = 0;
    uint32_t arguments[5] = {};
    uint32_t resultPresent = 0;  // 1 when the routine answered
    uint32_t result = 0;

    // A routine that answers (for example "keep the window open") calls this.
    void Answer(uint32_t value) {
        resultPresent = 1;
        result = value;
    }
};

// A bound routine of the program. Routines of this program take no arguments and answer nothing;
// the record is there for those that do.
using EventRoutine = void (*)(EventNotify& event);

// The application's routines, indexed by stored routine identifier. A binding whose identifier is
// beyond the table or whose entry is null does nothing. The table must outlive its use.
void SetRoutineTable(const EventRoutine* routines, uint32_t count);

// While the counter is above 0 no event reaches a routine: windows being built and the end of
// the program raise it.
void RaiseEventSuppression();
void LowerEventSuppression();
int32_t EventSuppression();

struct EventSource {
    uint32_t window = 0;
    uint32_t control = 0;
};
// The window and control whose event is being handled; zeros outside a routine.
EventSource CurrentEventSource();

// The routine identifier bound to the event of that control, after following its shared-event
// link through controls of the same class; kNoFormRoutine when there is no binding.
uint32_t FindBoundRoutine(const WindowRecord& window, const ControlRecord& control, int32_t event);

// Raises the event: nothing while suppressed; a window that is not loaded, a control it lacks or
// a control that is no window control is a fatal runtime error. Events of a window whose
// destroyed event has been raised reach no routine: its controls are going away.
void RaiseEvent(EventNotify& event);

// Raises an event without arguments; true when a routine answered, with its answer in `result`.
bool RaiseSimpleEvent(uint32_t window, uint32_t control, int32_t event, uint32_t* result = nullptr);
