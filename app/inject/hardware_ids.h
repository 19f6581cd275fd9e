// The devcon listing: its lines, and the hardware identifiers kept from them.
#pragma once

#include <vector>

#include "runtime/owned.h"

// The listing split at every CR LF (an empty listing has no lines).
TextArray SplitListing(const char* listing);

// A trimmed line the survey keeps as an identifier: it holds a backslash and "USB" or "PCI"
// (exact bytes).
bool PassesSurveyFilter(const char* trimmedLine);

// Trimmed lines that pass the survey filter, in listing order, duplicates kept.
std::vector<OwnedText> ExtractHardwareIds(const TextArray& lines);

// The bytes a log entry for `text` adds at the top of a log: the text, CR LF, CR LF.
OwnedText LogEntryLines(const char* text);
