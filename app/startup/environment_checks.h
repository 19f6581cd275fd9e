// The start-up's two decisions: is this Windows PE, and which processor generation is this.
#pragma once

#include <cstdint>

// Windows PE runs from drive X:; the first byte of the Windows directory decides (ASCII case
// ignored). An empty directory (a failed query) is not Windows PE.
bool IsWindowsPEDirectory(const char* windowsDirectory);

// 7, 8 or 9 for an "Intel(R) <family> iN-G..." brand (N one of 3, 5, 7, 9 and G the generation
// digit), else 0.
int32_t DetectProcessorGeneration(const char* processorName);
