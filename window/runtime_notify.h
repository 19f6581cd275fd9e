// The single entry through which control classes and the other runtime libraries ask the window
// runtime for its services.
#pragma once

#include <cstdint>

enum RuntimeRequest : uint32_t {
    kNotifyControlsDestroyed = 2000,  // argument 1: window identifier
    kNotifyLoadWindow = 2005,         // argument 1: a WindowLoadRequest; result 1 loaded, 0 failed
    kNotifyFindControl = 2006,        // window, control (0: the window) -> live object or 0
    kNotifyGetControl = 2007,         // the same; a window or control not loaded is a fatal error
    kNotifyRaiseEvent = 2008,         // argument 1: an EventNotify; result: the routine's answer
    kNotifyBuildingStarts = 2009,
    kNotifyBuildingEnds = 2010,
    kNotifyFileKind = 2011,        // file object -> kind byte, -1 when not registered
    kNotifyRegisterFile = 2012,    // file object, kind byte
    kNotifyUnregisterFile = 2013,  // file object -> 1 when it was registered
    kNotifyProcessEvents = 2018,
    kNotifyAllocate = 2024,    // byte count, switch: 0 fatal on failure, else may answer 0
    kNotifyFree = 2025,        // block
    kNotifyReallocate = 2026,  // block, byte count
    kNotifyFatalError = 2027,  // message Text
    kNotifyExit = 2028,        // exit code
};

struct WindowLoadRequest {
    uint32_t windowId = 0;
    uint32_t modal = 0;
    void* parent = nullptr;  // the parent window's handle, or null
};

// Unknown requests answer 0.
uintptr_t RuntimeNotify(uint32_t request, uintptr_t argument1, uintptr_t argument2);
