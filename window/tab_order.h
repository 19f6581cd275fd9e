// The order in which the Tab key walks a window's controls.
#pragma once

#include <cstdint>
#include <vector>

struct TabCandidate {
    bool eligible = false;       // visible, enabled and marked as a tab stop
    uint32_t tabOrder = 0;       // the stored tab-order number
    uint32_t creationOrder = 0;  // position in the order the loader created the controls
};

// Index of the candidate that takes the focus after `current` (Tab) or before it (Shift+Tab),
// wrapping around; ordered by tab-order number, then by creation order. A current index that is
// -1 or not eligible starts from the first (forward) or last (backward) one. -1 when no
// candidate is eligible.
int NextTabStop(const std::vector<TabCandidate>& candidates, int current, bool forward);
