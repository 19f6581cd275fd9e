// The main window's side of the flows: status text, controls, and its bound routines.
#include <initializer_list>

#include "app/exec/probes.h"
#include "app/inject/imports.h"
#include "app/startup/program_globals.h"
#include "app/ui/browse_for_folder.h"
#include "app/ui/form_ids.h"
#include "app/ui/main_window.h"
#include "app/ui/status_reporting.h"
#include "runtime/file_commands.h"
#include "runtime/info_box.h"
#include "window/common_properties.h"
#include "window/controls/status_bar_win32.h"
#include "window/load_window_command.h"
#include "window/property_access.h"

void SetStatusText(const char* text) {
    StatusBarSetPartText(kMainWindow, kMainStatusBar, 0, text);
}

void SetMainControlsDisabled(bool disabled) {
    for (uint32_t control : {kMainButton1, kMainButton2, kMainButton3, kMainRadio1, kMainRadio2})
        WriteProperty(kMainWindow, control, kPropertyDisabled, -1, TaggedValue::OfLogical(disabled));
}

void StartTargetInjection() {
    OwnedText target = BrowseForFolder("请选择要注入的Windows目录:", std::nullopt, std::nullopt, std::nullopt,
                                       std::nullopt, DialogOwner(kMainWindow));
    if (target.empty())
        return;
    if (!IsWindows7(nullptr, target.c_str())) {
        InfoBox(TaggedValue::OfText("本功能仅适合Windows7系统，请选择正确的系统"), 0x10, "提示");
        return;
    }
    const TaggedValue precise = ReadProperty(kMainWindow, kMainRadio1, kRadioSelected);
    if (precise.intValue == 1)
        RunPreciseImport(target.c_str(), 0);
    else
        RunFuzzyImport(target.c_str(), 0);
}

void OpenCustomImportWindow() {
    WriteProperty(kMainWindow, 0, kPropertyVisible, -1, TaggedValue::OfLogical(false));
    LoadWindowCommand(kCustomWindow, std::nullopt, true);
    WriteProperty(kMainWindow, 0, kPropertyVisible, -1, TaggedValue::OfLogical(true));
}

void RemoveWorkDirectory() {
    RemoveDirectoryTree(WorkDir.c_str());
}
