// The single entry through which control classes and the other runtime libraries ask the window
// runtime for its services.
#include "window/runtime_notify.h"

#include <windows.h>

#include "runtime/fatal_error.h"
#include "runtime/file_numbers.h"
#include "runtime/memory.h"
#include "runtime/platform.h"
#include "runtime/process_events.h"
#include "runtime/program_exit.h"
#include "window/event_dispatch.h"
#include "window/message_loop.h"
#include "window/window_list.h"
#include "window/window_loader.h"

namespace {

ControlObject* FindControlObject(uint32_t windowId, uint32_t controlId) {
    LoadedWindow* window = FindLoadedWindow(windowId);
    if (window == nullptr)
        return nullptr;
    WorkingControl* control = FindWorkingControl(*window, controlId);
    return control ? control->live.get() : nullptr;
}

}  // namespace

uintptr_t RuntimeNotify(uint32_t request, uintptr_t argument1, uintptr_t argument2) {
    switch (request) {
        case kNotifyControlsDestroyed:
            WindowControlsDestroyed(static_cast<uint32_t>(argument1));
            return 0;
        case kNotifyLoadWindow: {
            const auto* load = reinterpret_cast<const WindowLoadRequest*>(argument1);
            return LoadWindow(load->windowId, load->modal != 0, static_cast<HWND>(load->parent)) ? 1 : 0;
        }
        case kNotifyFindControl:
            return reinterpret_cast<uintptr_t>(
                FindControlObject(static_cast<uint32_t>(argument1), static_cast<uint32_t>(argument2)));
        case kNotifyGetControl: {
            ControlObject* object =
                FindControlObject(static_cast<uint32_t>(argument1), static_cast<uint32_t>(argument2));
            if (object == nullptr) {
                ReportFatalError("指定窗口或窗口组件不存在或尚未载入", 0, static_cast<uint32_t>(argument1),
                                 static_cast<int32_t>(argument2));
            }
            return reinterpret_cast<uintptr_t>(object);
        }
        case kNotifyRaiseEvent: {
            auto* event = reinterpret_cast<EventNotify*>(argument1);
            RaiseEvent(*event);
            return event->resultPresent ? event->result : 0;
        }
        case kNotifyBuildingStarts:
            BeginWindowBuilding();
            return 0;
        case kNotifyBuildingEnds:
            EndWindowBuilding();
            return 0;
        case kNotifyFileKind:
            return static_cast<uintptr_t>(FileObjectKind(reinterpret_cast<const void*>(argument1)));
        case kNotifyRegisterFile:
            RegisterFileObject(reinterpret_cast<const void*>(argument1), static_cast<uint8_t>(argument2));
            return 0;
        case kNotifyUnregisterFile:
            return static_cast<uintptr_t>(UnregisterFileObject(reinterpret_cast<const void*>(argument1)));
        case kNotifyProcessEvents:
            ProcessEvents();
            return 0;
        case kNotifyAllocate:
            if (argument2 == 0)
                return reinterpret_cast<uintptr_t>(RuntimeAlloc(argument1));
            return reinterpret_cast<uintptr_t>(PlatformHeapAlloc(argument1));
        case kNotifyFree:
            RuntimeFree(reinterpret_cast<const void*>(argument1));
            return 0;
        case kNotifyReallocate:
            return reinterpret_cast<uintptr_t>(RuntimeRealloc(reinterpret_cast<void*>(argument1), argument2));
        case kNotifyFatalError:
            ReportFatalError(reinterpret_cast<const char*>(argument1), 0, 0, 0);
        case kNotifyExit:
            ExitProgram(static_cast<int32_t>(argument1));
        default:
            return 0;
    }
}
