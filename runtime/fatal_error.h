// Fatal runtime errors: the error box, then the end of the process with exit code 0xFFFFFFFF.
#pragma once

#include <cstdint>

#include "runtime/owned.h"

// Message of runtime error number 1 to 11; null for any other number.
const char* RuntimeErrorMessage(int32_t number);

// The box text: headline, error code line (when code is not 0), message line (when not empty),
// then the details: unit and position, and the names of the window and control they denote.
OwnedText FormatFatalErrorText(const char* message, int32_t code, uint32_t unit, int32_t position);

[[noreturn]] void ReportFatalError(const char* message, int32_t code, uint32_t unit, int32_t position);
[[noreturn]] void ReportRuntimeError(int32_t number, uint32_t unit, int32_t position);

// The window runtime tells the error report the names behind a window identifier and a control
// identifier. Returns 0 when the window is not loaded, 1 when only the window is found, 2 when
// both are; the names stay owned by the window runtime.
using FatalErrorNameLookup = int (*)(uint32_t windowId,
                                     int32_t controlId,
                                     const char** windowName,
                                     const char** controlName);
void SetFatalErrorNameLookup(FatalErrorNameLookup lookup);

// Where the box goes. The default is a real message box (no owner, caption "错误", stop icon);
// test programs route it to their standard error instead so that nobody has to dismiss it.
using FatalBoxPresenter = void (*)(const char* text, const char* caption, uint32_t style);
void SetFatalBoxPresenter(FatalBoxPresenter presenter);
