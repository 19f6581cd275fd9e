// The flows' texts and states put into the two windows.
#include "app/ui/window_flow_views.h"

#include <initializer_list>

#include "app/startup/notice_box.h"
#include "app/ui/form_ids.h"
#include "window/common_properties.h"
#include "window/controls/status_bar_win32.h"
#include "window/property_access.h"

namespace {

void SetMainControlsDisabled(bool disabled) {
    for (uint32_t control : {kMainButton1, kMainButton2, kMainButton3, kMainRadio1, kMainRadio2})
        WriteProperty(kMainWindow, control, kPropertyDisabled, -1, TaggedValue::OfLogical(disabled));
}

void SetCustomStartButtonRunning(bool running) {
    WriteProperty(kCustomWindow, kCustomButton3, kPropertyDisabled, -1, TaggedValue::OfLogical(running));
    WriteProperty(kCustomWindow, kCustomButton3, kButtonCaption, -1,
                  TaggedValue::OfText(running ? "正在导入" : "开始导入"));
}

}  // namespace

void MainWindowView::Refuse(const char* message, BoxIcon icon) {
    ShowNotice(message, icon);
}

void MainWindowView::Begin() {
    SetMainControlsDisabled(true);
}

void MainWindowView::ShowStatus(const char* text) {
    StatusBarSetPartText(kMainWindow, kMainStatusBar, 0, text);
}

void MainWindowView::Finish(const FlowEnd& end) {
    if (end.status != nullptr)
        ShowStatus(end.status);
    SetMainControlsDisabled(false);
    ShowNotice(end.message, end.icon);
}

void CustomWindowView::Refuse(const char* message, BoxIcon icon) {
    ShowNotice(message, icon);
}

void CustomWindowView::Begin() {
    SetCustomStartButtonRunning(true);
}

void CustomWindowView::Finish(const FlowEnd& end) {
    SetCustomStartButtonRunning(false);
    ShowNotice(end.message, end.icon);
}
