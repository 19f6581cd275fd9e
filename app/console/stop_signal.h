// Ctrl+C, Ctrl+Break and the closing of the console in the console mode. Windows only.
#pragma once

// From now on a signal is noted instead of ending the process: the running child shares the
// console, receives the same signal and ends, and the tool then cleans up and ends by itself.
// Closing the console allows the handler only a few seconds, in which the tool must be done.
void CatchStopSignals();
bool StopSignalled();
