// The runtime's list of windows read from the form description, and the working copy that each
// loaded window keeps of its control records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "window/control_object.h"
#include "window/form_description.h"

// One control record as a loaded window sees it: the stored record plus the settings that
// property writes change. The description itself is never written.
struct WorkingControl {
    const ControlRecord* stored = nullptr;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t flags = 0;
    std::string tag;
    std::string cursor;          // the cursor block
    uint32_t controlNumber = 0;  // dialog control number; 0 for the window itself
    uint32_t creationOrder = 0;  // 0 for the window itself, then 1, 2 ... as created
    bool hiddenByPage = false;   // on a container page that is not showing
    std::unique_ptr<ControlObject> live;

    uint32_t id() const { return stored->id; }
    ControlClass cls() const { return stored->cls; }
    bool Visible() const { return (flags & kControlVisible) != 0; }
};

struct LoadedWindow {
    const WindowRecord* stored = nullptr;
    std::vector<WorkingControl> controls;  // table order; entry 0 is the window itself
    bool modal = false;                    // loaded modal; its modal loop runs on first showing
    bool firstShowPending = false;         // the next request to show it is its first showing
    bool destroying = false;               // its destroyed event has been raised
    bool building = true;                  // the loader has not finished building it

    uint32_t id() const { return stored->id; }
};

// Takes the windows of the description; any loaded window is dropped first.
void SetFormWindows(FormDescription form);
const FormDescription& FormWindows();

// The stored record of a window, loaded or not; null when the description has no such window.
const WindowRecord* FindStoredWindow(uint32_t windowId);
// Null while the window is not loaded.
LoadedWindow* FindLoadedWindow(uint32_t windowId);
// The working control with that identifier; 0 and the window's own identifier both name the
// window itself. Null when the window has no such control.
WorkingControl* FindWorkingControl(LoadedWindow& window, uint32_t controlId);
size_t IndexOfWorkingControl(const LoadedWindow& window, const WorkingControl& control);

// Starts a load: a fresh working copy of the stored records, registered as loaded. Any earlier
// copy of the same window is dropped. Null when the description has no such window.
LoadedWindow* AddLoadedWindow(uint32_t windowId);
// Ends a load: drops the working copy and every live object in it.
void DropLoadedWindow(uint32_t windowId);
void DropAllLoadedWindows();

// Loaded windows in directory order.
std::vector<LoadedWindow*> LoadedWindows();
size_t LoadedWindowCount();
