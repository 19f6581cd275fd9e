// The order in which the Tab key walks a window's controls.
#include "window/tab_order.h"

#include <algorithm>

int NextTabStop(const std::vector<TabCandidate>& candidates, int current, bool forward) {
    std::vector<int> order;
    for (int i = 0; i < static_cast<int>(candidates.size()); ++i) {
        if (candidates[i].eligible)
            order.push_back(i);
    }
    if (order.empty())
        return -1;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (candidates[a].tabOrder != candidates[b].tabOrder)
            return candidates[a].tabOrder < candidates[b].tabOrder;
        return candidates[a].creationOrder < candidates[b].creationOrder;
    });
    const auto at = std::find(order.begin(), order.end(), current);
    if (at == order.end())
        return forward ? order.front() : order.back();
    const size_t pos = static_cast<size_t>(at - order.begin());
    const size_t n = order.size();
    return order[forward ? (pos + 1) % n : (pos + n - 1) % n];
}
