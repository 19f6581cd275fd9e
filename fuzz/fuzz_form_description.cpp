// Fuzz target of the form description reader: any byte string either loads, with every record
// inside the bytes and every identifier unique, or is refused with the place and reason of the
// fault; it is never read past.
#include <cstdint>
#include <cstdlib>
#include <variant>

#include "app/ui/form_routines.h"
#include "window/form_description.h"

namespace {

const uint8_t* g_begin = nullptr;
const uint8_t* g_end = nullptr;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

void RequireInside(FormBytes span) {
    if (span.empty())
        return;
    Require(span.data() >= g_begin && span.data() + span.size() <= g_end);
}

// Terminated texts are handed to Win32 as they stand: their zero must be there too.
void RequireTerminated(FormBytes span) {
    if (span.data() == nullptr)
        return;
    Require(span.data() >= g_begin && span.data() + span.size() < g_end);
    Require(span.data()[span.size()] == 0);
    for (uint8_t b : span)
        Require(b != 0);
}

void CheckProperties(const ControlProperties& properties) {
    if (const auto* w = std::get_if<WindowProperties>(&properties)) {
        for (FormBytes span : {w->className, w->backgroundPicture, w->block20, w->block13, w->title, w->helpFile})
            RequireInside(span);
    } else if (const auto* b = std::get_if<ButtonProperties>(&properties)) {
        for (FormBytes span : {b->picture, b->font, b->caption})
            RequireInside(span);
    } else if (const auto* r = std::get_if<RadioBoxProperties>(&properties)) {
        for (FormBytes span : {r->picture, r->font, r->caption})
            RequireInside(span);
    } else if (const auto* t = std::get_if<TransLabelProperties>(&properties)) {
        for (FormBytes span : {t->font, t->caption})
            RequireInside(span);
    } else if (const auto* s = std::get_if<StatusBarProperties>(&properties)) {
        RequireInside(s->font);
        RequireInside(s->imageList);
        for (const StatusBarPart& part : s->parts) {
            RequireTerminated(part.text);
            RequireTerminated(part.tooltip);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    g_begin = data;
    g_end = data + size;
    const FormReadResult result = ReadFormDescription(FormBytes(data, size), kFormRoutineCount);
    if (!result.ok) {
        Require(result.error != nullptr);
        Require(result.errorOffset <= size);
        Require(result.form.windows.empty());
        return 0;
    }
    Require(result.error == nullptr);
    Require(!result.form.windows.empty());
    for (const WindowRecord& window : result.form.windows) {
        // Identifiers are unique: the lookup finds this very record, not an earlier one that
        // shares its identifier.
        Require(FindFormWindow(result.form, window.id) == &window);
        RequireInside(window.text1);
        RequireInside(window.text2);
        RequireInside(window.controlTable);
        Require(!window.controls.empty());
        Require(window.controls[0].cls == ControlClass::kWindow);
        for (const ControlRecord& control : window.controls) {
            Require(FindFormControl(window, control.id) == &control);
            RequireInside(control.stored);
            RequireTerminated(control.name);
            RequireTerminated(control.secondName);
            RequireTerminated(control.tag);
            RequireInside(control.cursor);
            RequireInside(control.propertyBlock);
            // Every part of the record lies inside the record itself.
            Require(control.propertyBlock.empty() || control.propertyBlock.data() + control.propertyBlock.size() ==
                                                         control.stored.data() + control.stored.size());
            if (!control.propertiesRefused)
                CheckProperties(control.properties);
        }
    }
    return 0;
}
