// One DISM run of an import flow. Windows only.
#pragma once

#include "app/flows/flow_view.h"
#include "runtime/owned.h"

// Runs the staged DISM with the parameters and tells the view how it ended. Once the view asked
// to stop, nothing starts: the run reads as not started, cancelled by the user.
OwnedText RunDism(FlowView& view, const char* parameters, CommandRunResult* run);
