// Samples of a benchmark, their statistics and the figure lines that scripts/bench collects.
#pragma once

#include <string>
#include <vector>

// The limit of a figure that is shown for what it tells, with no target.
constexpr double kNoTarget = -1;

struct Spread {
    double min = 0;
    double median = 0;
    double max = 0;
};

// Min, median (mean of the middle two for an even count) and max; zeros for no samples.
Spread SpreadOf(std::vector<double> samples);

// A figure compares the tool's work with a baseline run alongside it: one ratio per run, the
// target applying to the median ratio.
struct RatioFigure {
    std::string name;      // "capture 64 MB"
    std::string toolWhat;  // what the tool's samples measure
    std::string baseWhat;  // what the baseline's samples measure
    std::string unit;      // of both sample series: "ms", "MB"...
    std::vector<double> tool;
    std::vector<double> base;
    double limit = 0;  // the median ratio may not exceed it (kNoTarget: shown only)
};

// A figure with an absolute target (no baseline).
struct ValueFigure {
    std::string name;
    std::string what;
    std::string unit;
    std::vector<double> values;
    double limit = 0;  // the median may not exceed it
};

// Prints the figure for a reader and as one "FIGURE|..." line for scripts/bench; true when the
// target is met.
bool Report(const RatioFigure& figure);
bool Report(const ValueFigure& figure);

// The fields of a FIGURE line, in order (scripts/bench reads them by position):
// name | tool what | baseline what | unit | tool min/median/max | baseline min/median/max |
// ratio min/median/max | target | PASS, MISS or INFO (no target)
std::string FigureLine(const RatioFigure& figure);
std::string FigureLine(const ValueFigure& figure);
