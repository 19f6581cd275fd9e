// The benchmarks of tovusb_bench.exe; each runs a warm-up and `runs` measured rounds, reports its
// figures and returns true when every target is met.
#pragma once

#include <windows.h>

bool RunStartupBench(int runs);
bool RunWaitingBench(int runs);
bool RunCaptureBench(int runs);
bool RunMatchingBench(int runs);
bool RunLogBench(int runs);
bool RunStoreBench(int runs);

// The waiting benchmark's second process: posts WM_APP to the window every `periodMs`, `count`
// times, each message carrying the performance counter at posting.
int RunMessagePoster(HWND window, int count, int periodMs);
