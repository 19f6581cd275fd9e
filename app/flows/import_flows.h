// The three ways of injecting drivers into an offline Windows, each driving a view. Windows only.
#pragma once

#include "app/flows/flow_view.h"

// The main window's start: the chosen root must hold a Windows 7, then the precise or the fuzzy
// import runs on it.
void RunTargetInjection(FlowView& view, const char* targetRoot, bool precise);
// Survey, index lookup and one DISM run per matched line, logged in USB.log.
void RunPreciseImport(FlowView& view, const char* targetRoot);
// One recursive DISM run over every package of the target's architecture.
void RunFuzzyImport(FlowView& view, const char* targetRoot);
// Any driver folder into the installation whose Windows directory (holding Explorer.exe) is named.
void RunCustomImport(FlowView& view, const char* windowsDirectory, const char* driverFolder);
