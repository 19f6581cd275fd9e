// Directory levels of CreateDirectoryPath and the extractor command line.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/startup/staging_paths.h"

namespace {

std::vector<std::string> Levels(const DirectoryLevels& plan) {
    std::vector<std::string> out;
    for (const OwnedText& level : plan.levels)
        out.emplace_back(level.c_str());
    return out;
}

TEST(PlanDirectoryLevels, CollapsesSeparatorsAndListsLevels) {
    struct Case {
        const char* path;
        std::string rewritten;
        std::vector<std::string> levels;
    };
    const Case cases[] = {
        // The work directory as staging builds it: drive root + "\TovUSB\".
        {"X:\\\\TovUSB\\", "X:\\TovUSB\\", {"X:\\TovUSB", ""}},
        // Three separators after the drive collapse to one before any level is created. Once the
        // search runs out it starts again from the front; creation stops at the empty level.
        {"X:\\\\\\TovUSB\\", "X:\\TovUSB\\", {"X:\\TovUSB", "", "X:"}},
        {"C:\\a\\b\\c", "C:\\a\\b\\c\\", {"C:\\a", "C:\\a\\b", "C:\\a\\b\\c"}},
        // Fewer than three pieces: the path itself is the only level, not rewritten.
        {"X:\\TovUSB", "X:\\TovUSB\\", {"X:\\TovUSB\\"}},
        {"single", "single\\", {"single\\"}},
        // A run of four collapses only with one pass per piece.
        {"C:\\a\\\\\\\\b\\", "C:\\a\\b\\", {"C:\\a", "C:\\a\\b", "", "C:", "C:\\a"}},
    };
    for (const Case& c : cases) {
        const DirectoryLevels plan = PlanDirectoryLevels(c.path);
        EXPECT_EQ(std::string(plan.path.c_str()), c.rewritten) << c.path;
        EXPECT_EQ(Levels(plan), c.levels) << c.path;
    }
}

TEST(ExtractorArguments, ExactSpacingAndQuotes) {
    OwnedText args = ExtractorArguments("X:\\TovUSB\\\\USB.7z", "X:\\TovUSB\\");
    EXPECT_STREQ(args.c_str(), " x  \"X:\\TovUSB\\\\USB.7z\"  -y -aos -pk537204968  -oX:\\TovUSB\\");
}

}  // namespace
