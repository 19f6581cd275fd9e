// The order in which the Tab key walks a window's controls, on the stored windows and on edge cases.
#include "window/tab_order.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/ui/form_routines.h"
#include "window/form_blob.h"
#include "window/form_description.h"

namespace {

// Candidates as a freshly loaded window sees them: controls are created from the last record to
// the first, and a control takes the focus when it is visible, enabled and a tab stop.
std::vector<TabCandidate> StoredCandidates(const WindowRecord& window) {
    std::vector<TabCandidate> candidates(window.controls.size());
    uint32_t created = 1;
    for (size_t i = window.controls.size(); i-- > 1;) {
        const ControlRecord& c = window.controls[i];
        candidates[i] = {c.Visible() && !c.Disabled() && c.TabStop(), c.tabOrder, created++};
    }
    return candidates;
}

// The names the Tab key visits from the first control until it comes back to it.
std::vector<std::string> TabCycle(const WindowRecord& window, bool forward) {
    const std::vector<TabCandidate> candidates = StoredCandidates(window);
    std::vector<std::string> names;
    const int first = NextTabStop(candidates, -1, forward);
    int at = first;
    while (at >= 0 && names.size() < candidates.size()) {
        names.emplace_back(window.controls[at].name.begin(), window.controls[at].name.end());
        at = NextTabStop(candidates, at, forward);
        if (at == first)
            break;
    }
    return names;
}

TEST(TabOrderTest, StoredWindowsCycleInTheirDesignedOrder) {
    const FormReadResult read = ReadFormDescription(ProgramFormDescription(), kFormRoutineCount);
    ASSERT_TRUE(read.ok) << read.error;
    const WindowRecord* main = FindFormWindow(read.form, 0x52010001);
    const WindowRecord* custom = FindFormWindow(read.form, 0x5201268A);
    ASSERT_NE(main, nullptr);
    ASSERT_NE(custom, nullptr);

    EXPECT_EQ(TabCycle(*main, true), (std::vector<std::string>{"按钮2", "按钮3", "单选框1", "单选框2"}));
    EXPECT_EQ(TabCycle(*main, false), (std::vector<std::string>{"单选框2", "单选框1", "按钮3", "按钮2"}));
    EXPECT_EQ(TabCycle(*custom, true), (std::vector<std::string>{"编辑框1", "按钮1", "编辑框2", "按钮2", "按钮3"}));
}

TEST(TabOrderTest, NumbersComeBeforeCreationOrderAndBothDirectionsWrap) {
    // Index: 0 the window (never eligible), then controls with (eligible, number, creation).
    const std::vector<TabCandidate> candidates = {
        {false, 0, 0}, {true, 2, 1}, {true, 1, 2}, {false, 0, 3}, {true, 1, 4}, {true, 0, 5},
    };
    struct Step {
        int from;
        bool forward;
        int to;
    };
    const Step steps[] = {
        {-1, true, 5},                                               // nothing focused: the first in order
        {-1, false, 1},                                              // ... or the last
        {5, true, 2},   {2, true, 4},  {4, true, 1},  {1, true, 5},  // wraps to the start
        {5, false, 1},  {1, false, 4}, {4, false, 2}, {3, true, 5},  // an ineligible control counts as no focus
        {0, false, 1},
    };
    for (const Step& s : steps)
        EXPECT_EQ(NextTabStop(candidates, s.from, s.forward), s.to) << "from " << s.from << " forward " << s.forward;
}

TEST(TabOrderTest, NoEligibleControlGivesNone) {
    EXPECT_EQ(NextTabStop({}, -1, true), -1);
    EXPECT_EQ(NextTabStop({{false, 0, 0}, {false, 0, 1}}, 1, true), -1);
    // A single eligible control keeps the focus in both directions.
    EXPECT_EQ(NextTabStop({{false, 0, 0}, {true, 0, 1}}, 1, true), 1);
    EXPECT_EQ(NextTabStop({{false, 0, 0}, {true, 0, 1}}, 1, false), 1);
}

}  // namespace
