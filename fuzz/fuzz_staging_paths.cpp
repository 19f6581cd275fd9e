// Fuzz target of the directory levels that payload staging creates: for any path, the plan that
// the rules give (derived over the path's characters, not the code's steps transliterated), and
// levels that are prefixes of the rewritten path.
#include <string>
#include <vector>

#include "app/startup/staging_paths.h"
#include "fuzz/fuzz_common.h"

using fuzz::AsString;
using fuzz::Escaped;
using fuzz::Require;

namespace {

struct Plan {
    std::string path;
    std::vector<std::string> levels;
};

// The plan derived from the rules, over the path's characters (a byte of 0x80 or more and the
// byte after it are one character; a lead byte that ends the text is one of its own here, which
// the rules never let reach a level):
// - the path ends in a backslash byte; one is added when its last byte is none;
// - its pieces are the stretches between backslash characters, the empty one after a final
//   backslash not counted;
// - with fewer than three pieces, the path is the one level;
// - otherwise each run of backslash characters becomes one, and the levels, one fewer than the
//   pieces, are the path up to (not including) each backslash character after the first, in
//   order; when those run out, the next level is empty and the count starts again from the
//   first backslash.
Plan PlanFromRules(std::string path) {
    Plan plan;
    if (path.empty() || path.back() != '\\')
        path += '\\';
    std::vector<std::string> characters;
    for (size_t i = 0; i < path.size(); ++i) {
        if (static_cast<uint8_t>(path[i]) >= 0x80 && i + 1 < path.size()) {
            characters.push_back(path.substr(i, 2));
            ++i;
        } else {
            characters.push_back(path.substr(i, 1));
        }
    }
    size_t pieces = 0;
    for (const std::string& c : characters)
        pieces += c == "\\";
    if (characters.back() != "\\")
        ++pieces;
    if (pieces < 3) {
        plan.path = path;
        plan.levels.push_back(path);
        return plan;
    }
    std::vector<size_t> separators;  // byte offsets in the collapsed path
    for (size_t i = 0; i < characters.size(); ++i) {
        if (characters[i] == "\\" && i > 0 && characters[i - 1] == "\\")
            continue;
        if (characters[i] == "\\")
            separators.push_back(plan.path.size());
        plan.path += characters[i];
    }
    // Positions in the cycle: separators 1, 2, ... then "none" (an empty level), then 0, 1, ...
    size_t next = 1;
    for (size_t level = 0; level + 1 < pieces; ++level) {
        if (next < separators.size()) {
            plan.levels.push_back(plan.path.substr(0, separators[next]));
            ++next;
        } else {
            plan.levels.push_back(std::string());
            next = 0;
        }
    }
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
    const Plan expected = PlanFromRules(path);
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
