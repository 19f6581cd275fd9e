// The custom-import window's bound routines: its start button and the two browse buttons.
#include "app/flows/close_guard.h"
#include "app/flows/import_flows.h"
#include "app/ui/browse_for_folder.h"
#include "app/ui/form_ids.h"
#include "app/ui/main_window.h"
#include "app/ui/window_flow_views.h"
#include "window/common_properties.h"
#include "window/property_access.h"

namespace {

// The edit box's content as typed.
OwnedText ReadEdit(uint32_t control) {
    const TaggedValue content = ReadProperty(kCustomWindow, control, kEditContent);
    return OwnedText(const_cast<char*>(content.text));
}

void BrowseInto(const char* title, uint32_t control) {
    OwnedText folder =
        BrowseForFolder(title, std::nullopt, std::nullopt, std::nullopt, std::nullopt, DialogOwner(kCustomWindow));
    if (!folder.empty())
        WriteProperty(kCustomWindow, control, kEditContent, -1, TaggedValue::OfText(folder.c_str()));
}

}  // namespace

void StartCustomImport() {
    OwnedText windowsDirectory = ReadEdit(kCustomEdit1);
    OwnedText driverFolder = ReadEdit(kCustomEdit2);
    CustomWindowView view;
    RunCustomImport(view, windowsDirectory.c_str(), driverFolder.c_str());
}

void BrowseTargetDirectory() {
    BrowseInto("请选择目标系统目录:", kCustomEdit1);
}

void BrowseDriverFolder() {
    BrowseInto("请选择驱动所在目录:", kCustomEdit2);
}

bool MayCloseWindow() {
    return !CloseGuard::Any();
}
