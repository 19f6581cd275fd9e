// The three ways of injecting drivers into an offline Windows. Windows only.
#pragma once

#include <cstdint>

// Survey, index lookup and one DISM run per matched line, logged in USB.log. Quiet 1 shows no box.
void RunPreciseImport(const char* targetRoot, int32_t quiet);
// One recursive DISM run over every package of the target's architecture.
void RunFuzzyImport(const char* targetRoot, int32_t quiet);
// The custom-import window's start button: its two edit boxes name the Windows directory and the
// driver folder.
void RunCustomImport();
