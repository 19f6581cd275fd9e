// The custom-import window's side of the flows: its edit boxes, start button and browse routines.
#include "app/ui/browse_for_folder.h"
#include "app/ui/close_guard.h"
#include "app/ui/custom_window.h"
#include "app/ui/form_ids.h"
#include "app/ui/main_window.h"
#include "window/common_properties.h"
#include "window/property_access.h"

namespace {

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

OwnedText ReadCustomTargetText() {
    return ReadEdit(kCustomEdit1);
}

OwnedText ReadCustomDriverFolderText() {
    return ReadEdit(kCustomEdit2);
}

void SetCustomStartButtonRunning(bool running) {
    WriteProperty(kCustomWindow, kCustomButton3, kPropertyDisabled, -1, TaggedValue::OfLogical(running));
    WriteProperty(kCustomWindow, kCustomButton3, kButtonCaption, -1,
                  TaggedValue::OfText(running ? "正在导入" : "开始导入"));
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
