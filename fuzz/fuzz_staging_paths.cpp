// Fuzz target of the directory levels that payload staging creates: for any path, what the plain
// reference of the algorithm gives, and levels that are prefixes of the rewritten path.
#include <string>
#include <vector>

#include "app/startup/staging_paths.h"
#include "fuzz/fuzz_common.h"
#include "tests/runtime/text_reference.h"

namespace ref = text_reference;
using fuzz::AsString;
using fuzz::Escaped;
using fuzz::Require;

namespace {

struct Plan {
    std::string path;
    std::vector<std::string> levels;
};

// The algorithm step by step over std::string: a separator appended where missing, the pieces
// counted, runs of separators collapsed once per piece, then one level per separator after the
// first.
Plan ReferencePlan(std::string path) {
    Plan plan;
    if (path.empty() || path.back() != '\\')
        path += '\\';
    const std::vector<std::string> pieces = ref::SplitText(path, std::string("\\"), std::nullopt);
    if (pieces.size() < 3) {
        plan.path = path;
        plan.levels.push_back(path);
        return plan;
    }
    for (size_t i = 0; i < pieces.size(); ++i)
        path = ref::ReplaceText(path, "\\\\", "\\", std::nullopt, std::nullopt, true);
    int32_t start = ref::FindText(path, "\\", std::nullopt, false) + 1;
    for (size_t i = 0; i + 1 < pieces.size(); ++i) {
        const int32_t at = ref::FindText(path, "\\", start, false);
        plan.levels.push_back(at > 0 ? path.substr(0, static_cast<size_t>(at - 1)) : std::string());
        start = at + 1;
    }
    plan.path = path;
    return plan;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const bool small = in.ConsumeBool();
    const bool nullWhenEmpty = in.ConsumeBool();
    const std::string path = fuzz::TakeText(in, 300, small);
    const OwnedText text = fuzz::HeapText(path, nullWhenEmpty);

    const DirectoryLevels plan = PlanDirectoryLevels(text.get());
    const Plan expected = ReferencePlan(path);
    const std::string what = Escaped(path);
    Require(AsString(plan.path.get()) == expected.path, "rewritten path", what);
    Require(plan.levels.size() == expected.levels.size(), "level count", what);
    for (size_t i = 0; i < plan.levels.size(); ++i)
        Require(AsString(plan.levels[i].get()) == expected.levels[i], "level", what);

    // Creation stops at the first level that cannot be made, and an empty level never can. Up
    // to there every level is the rewritten path up to one of its separators, and the levels run
    // from the outermost inwards. (After an empty level the search starts again from the front.)
    size_t previous = 0;
    for (const OwnedText& level : plan.levels) {
        const std::string l = AsString(level.get());
        if (l.empty())
            break;
        Require(expected.path.compare(0, l.size(), l) == 0, "level is no prefix of the path", what);
        if (plan.levels.size() > 1) {
            Require(l.size() < expected.path.size() && expected.path[l.size()] == '\\',
                    "level does not end before a separator", what);
            Require(l.size() > previous, "levels out of order", what);
            previous = l.size();
        }
    }
    return 0;
}
