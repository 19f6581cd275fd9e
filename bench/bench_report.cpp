// Statistics of benchmark samples and the lines they are reported in.
#include "bench/bench_report.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string Number(double value) {
    char text[32];
    if (value != 0 && value < 0.1 && value > -0.1)
        std::snprintf(text, sizeof text, "%.4f", value);
    else if (value < 10 && value > -10)
        std::snprintf(text, sizeof text, "%.3f", value);
    else
        std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string Triple(const Spread& s) {
    return Number(s.min) + " / " + Number(s.median) + " / " + Number(s.max);
}

std::vector<double> Ratios(const RatioFigure& figure) {
    std::vector<double> ratios;
    for (size_t i = 0; i < figure.tool.size() && i < figure.base.size(); ++i) {
        if (figure.base[i] > 0)
            ratios.push_back(figure.tool[i] / figure.base[i]);
    }
    return ratios;
}

bool Met(double median, double limit, size_t samples) {
    return limit == kNoTarget || (samples > 0 && median <= limit);
}

std::string Target(double limit) {
    return limit == kNoTarget ? "-" : "<= " + Number(limit);
}

std::string Verdict(bool met, double limit) {
    return limit == kNoTarget ? "INFO" : met ? "PASS" : "MISS";
}

}  // namespace

Spread SpreadOf(std::vector<double> samples) {
    Spread s;
    if (samples.empty())
        return s;
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    s.min = samples.front();
    s.max = samples.back();
    s.median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    return s;
}

std::string FigureLine(const RatioFigure& figure) {
    const std::vector<double> ratios = Ratios(figure);
    const Spread ratio = SpreadOf(ratios);
    return "FIGURE|" + figure.name + "|" + figure.toolWhat + "|" + figure.baseWhat + "|" + figure.unit + "|" +
           Triple(SpreadOf(figure.tool)) + "|" + Triple(SpreadOf(figure.base)) + "|" + Triple(ratio) + "|" +
           Target(figure.limit) + "|" + Verdict(Met(ratio.median, figure.limit, ratios.size()), figure.limit);
}

std::string FigureLine(const ValueFigure& figure) {
    const Spread value = SpreadOf(figure.values);
    return "FIGURE|" + figure.name + "|" + figure.what + "|-|" + figure.unit + "|" + Triple(value) +
           "|-|-|<= " + Number(figure.limit) + " " + figure.unit + "|" +
           (Met(value.median, figure.limit, figure.values.size()) ? "PASS" : "MISS");
}

bool Report(const RatioFigure& figure) {
    const std::vector<double> ratios = Ratios(figure);
    const Spread ratio = SpreadOf(ratios);
    const bool met = Met(ratio.median, figure.limit, ratios.size());
    std::printf("%s: %s / %s (min / median / max)\n", figure.name.c_str(), figure.toolWhat.c_str(),
                figure.baseWhat.c_str());
    std::printf("    tool      %s %s\n", Triple(SpreadOf(figure.tool)).c_str(), figure.unit.c_str());
    std::printf("    baseline  %s %s\n", Triple(SpreadOf(figure.base)).c_str(), figure.unit.c_str());
    if (figure.limit == kNoTarget)
        std::printf("    ratio     %s, no target\n", Triple(ratio).c_str());
    else
        std::printf("    ratio     %s, target <= %s: %s\n", Triple(ratio).c_str(), Number(figure.limit).c_str(),
                    met ? "met" : "MISSED");
    std::printf("%s\n", FigureLine(figure).c_str());
    std::fflush(stdout);
    return met;
}

bool Report(const ValueFigure& figure) {
    const Spread value = SpreadOf(figure.values);
    const bool met = Met(value.median, figure.limit, figure.values.size());
    std::printf("%s: %s (min / median / max)\n", figure.name.c_str(), figure.what.c_str());
    std::printf("    %s %s, target <= %s: %s\n", Triple(value).c_str(), figure.unit.c_str(),
                Number(figure.limit).c_str(), met ? "met" : "MISSED");
    std::printf("%s\n", FigureLine(figure).c_str());
    std::fflush(stdout);
    return met;
}
