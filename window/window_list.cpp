// The runtime's list of windows and the working copies of the loaded ones.
#include "window/window_list.h"

#include <utility>

namespace {

struct WindowSlot {
    const WindowRecord* stored = nullptr;
    std::unique_ptr<LoadedWindow> loaded;
};

FormDescription g_form;
std::vector<WindowSlot> g_slots;

WindowSlot* FindSlot(uint32_t windowId) {
    for (WindowSlot& slot : g_slots) {
        if (slot.stored->id == windowId)
            return &slot;
    }
    return nullptr;
}

// A window going away can run code (the classes' destructors) that asks for the list again: take
// the working copy out of its slot first and destroy it afterwards.
void Release(std::unique_ptr<LoadedWindow> window) {
    if (!window)
        return;
    // Controls go before the window they sit in, the way Windows tears them down.
    for (size_t i = window->controls.size(); i-- > 0;)
        window->controls[i].live.reset();
    window.reset();
}

}  // namespace

void SetFormWindows(FormDescription form) {
    DropAllLoadedWindows();
    g_slots.clear();
    g_form = std::move(form);
    for (const WindowRecord& window : g_form.windows)
        g_slots.push_back({&window, nullptr});
}

const FormDescription& FormWindows() {
    return g_form;
}

const WindowRecord* FindStoredWindow(uint32_t windowId) {
    WindowSlot* slot = FindSlot(windowId);
    return slot ? slot->stored : nullptr;
}

LoadedWindow* FindLoadedWindow(uint32_t windowId) {
    WindowSlot* slot = FindSlot(windowId);
    return slot ? slot->loaded.get() : nullptr;
}

WorkingControl* FindWorkingControl(LoadedWindow& window, uint32_t controlId) {
    if (controlId == 0)
        return &window.controls[0];
    for (WorkingControl& control : window.controls) {
        if (control.id() == controlId)
            return &control;
    }
    return nullptr;
}

size_t IndexOfWorkingControl(const LoadedWindow& window, const WorkingControl& control) {
    return static_cast<size_t>(&control - window.controls.data());
}

LoadedWindow* AddLoadedWindow(uint32_t windowId) {
    WindowSlot* slot = FindSlot(windowId);
    if (slot == nullptr)
        return nullptr;
    const WindowRecord& stored = *slot->stored;
    auto window = std::make_unique<LoadedWindow>();
    window->stored = &stored;
    window->controls.resize(stored.controls.size());
    for (size_t i = 0; i < stored.controls.size(); ++i) {
        const ControlRecord& record = stored.controls[i];
        WorkingControl& control = window->controls[i];
        control.stored = &record;
        control.left = record.left;
        control.top = record.top;
        control.width = record.width;
        control.height = record.height;
        control.flags = record.flags;
        control.tag.assign(record.tag.begin(), record.tag.end());
        control.cursor.assign(record.cursor.begin(), record.cursor.end());
    }
    std::unique_ptr<LoadedWindow> old = std::move(slot->loaded);
    slot->loaded = std::move(window);
    Release(std::move(old));
    return slot->loaded.get();
}

void DropLoadedWindow(uint32_t windowId) {
    WindowSlot* slot = FindSlot(windowId);
    if (slot)
        Release(std::move(slot->loaded));
}

void DropAllLoadedWindows() {
    for (WindowSlot& slot : g_slots)
        Release(std::move(slot.loaded));
}

std::vector<LoadedWindow*> LoadedWindows() {
    std::vector<LoadedWindow*> windows;
    for (WindowSlot& slot : g_slots) {
        if (slot.loaded)
            windows.push_back(slot.loaded.get());
    }
    return windows;
}

size_t LoadedWindowCount() {
    size_t n = 0;
    for (const WindowSlot& slot : g_slots)
        n += slot.loaded ? 1 : 0;
    return n;
}
