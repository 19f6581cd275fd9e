// The program's routines as the form description names and stores them: the form compiler turns
// a name into its identifier, the program binds each identifier to its routine.
#pragma once

#include <cstdint>
#include <string_view>

#include "window/form_format.h"

// The form description stores these numbers where an event binding names its handler. The
// numbers are part of the stored description: append new routines, never renumber.
enum class FormRoutine : uint32_t {
    kStartupSequence = 0,
    kRemoveWorkDirectory = 1,
    kOpenCustomImportWindow = 2,
    kStartTargetInjection = 3,
    kRunCustomImport = 4,
    kBrowseTargetDirectory = 5,
    kBrowseDriverFolder = 6,
    kAnswerCloseRequest = 7,
};

inline constexpr uint32_t kFormRoutineCount = 8;

// Names as the form source writes them, indexed by routine identifier.
inline constexpr std::string_view kFormRoutineNames[kFormRoutineCount] = {
    "StartupSequence", "RemoveWorkDirectory",   "OpenCustomImportWindow", "StartTargetInjection",
    "RunCustomImport", "BrowseTargetDirectory", "BrowseDriverFolder",     "AnswerCloseRequest",
};

// Identifier of the routine with that name; kNoFormRoutine when there is none.
constexpr uint32_t FindFormRoutine(std::string_view name) {
    for (uint32_t i = 0; i < kFormRoutineCount; ++i) {
        if (kFormRoutineNames[i] == name)
            return i;
    }
    return kNoFormRoutine;
}
