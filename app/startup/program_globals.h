// The program's globals: the processor generation and the paths of the staged payload.
#pragma once

#include <cstdint>

#include "runtime/owned.h"

extern int32_t ProcessorGeneration;
extern OwnedText WorkDir;
extern OwnedText ArchivePath;
extern OwnedText ExtractorPath;
extern OwnedText DevconPath;
extern OwnedText DismPath;
extern OwnedText LastBrowsedFolder;

// The end-of-program clean-up: releases the six Text globals in their order.
void ReleaseProgramGlobals();
