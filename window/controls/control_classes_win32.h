// The table from stored class codes to the control classes that build them.
#pragma once

#include <memory>

#include "window/controls/control_win32.h"

// A new, not yet created object of the class; null when no class has that code.
std::unique_ptr<Control> NewControlOfClass(ControlClass cls);
