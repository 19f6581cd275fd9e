// The main window's bound routines.
#include "app/flows/import_flows.h"
#include "app/startup/program_globals.h"
#include "app/ui/browse_for_folder.h"
#include "app/ui/form_ids.h"
#include "app/ui/main_window.h"
#include "app/ui/window_flow_views.h"
#include "runtime/file_commands.h"
#include "window/common_properties.h"
#include "window/load_window_command.h"
#include "window/property_access.h"

void StartTargetInjection() {
    OwnedText target = BrowseForFolder("请选择要注入的Windows目录:", std::nullopt, std::nullopt, std::nullopt,
                                       std::nullopt, DialogOwner(kMainWindow));
    if (target.empty())
        return;
    const bool precise = ReadProperty(kMainWindow, kMainRadio1, kRadioSelected).intValue == 1;
    MainWindowView view;
    RunTargetInjection(view, target.c_str(), precise);
}

void OpenCustomImportWindow() {
    WriteProperty(kMainWindow, 0, kPropertyVisible, -1, TaggedValue::OfLogical(false));
    LoadWindowCommand(kCustomWindow, std::nullopt, true);
    WriteProperty(kMainWindow, 0, kPropertyVisible, -1, TaggedValue::OfLogical(true));
}

void RemoveWorkDirectory() {
    RemoveDirectoryTree(WorkDir.c_str());
}
