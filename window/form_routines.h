// The program routines that the form description binds to events, by their stored identifier.
#pragma once

#include <cstdint>
#include <string_view>

// The form description stores these numbers where an event binding names its handler; the window
// runtime turns them into the program's routines. The numbers are part of the stored format:
// append new routines, never renumber.
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

// Stored handler value of a binding that names no routine.
inline constexpr uint32_t kNoFormRoutine = 0xFFFFFFFFu;

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

constexpr bool IsFormRoutine(uint32_t value) {
    return value < kFormRoutineCount;
}
