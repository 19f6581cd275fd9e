// What the index maker and the payload check report: one line per finding, naming the file (and
// line) at fault.
#pragma once

#include <string>
#include <vector>

enum class Severity { kNote, kWarning, kError };

struct Finding {
    Severity severity = Severity::kError;
    std::string where;  // a path relative to the payload folder, with ":line" where one is known
    std::string text;
};

class Findings {
  public:
    void Error(std::string where, std::string text) { Add(Severity::kError, std::move(where), std::move(text)); }
    void Warning(std::string where, std::string text) { Add(Severity::kWarning, std::move(where), std::move(text)); }
    void Note(std::string where, std::string text) { Add(Severity::kNote, std::move(where), std::move(text)); }
    void Add(Severity severity, std::string where, std::string text) {
        all_.push_back({severity, std::move(where), std::move(text)});
    }

    size_t Count(Severity severity) const;
    const std::vector<Finding>& all() const { return all_; }

  private:
    std::vector<Finding> all_;
};

// "error: Win7X64.index:3: text" (the place is left out when there is none). With
// `allAsWarnings`, errors are printed as warnings.
std::string FormatFinding(const Finding& finding, bool allAsWarnings = false);
