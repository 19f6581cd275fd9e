// The program's life as the window runtime runs it: the routine table, the clean-up routine and
// the start window. Windows only.
#pragma once

// Runs the tool and returns its exit code: the windows when it was given no arguments, else the
// console mode.
int RunTovUsb();
