// Directory levels of CreateDirectoryPath, the extractor command line, the space staging needs
// and the boxes it stops with.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/startup/staging_messages.h"
#include "app/startup/staging_paths.h"
#include "runtime/text_commands.h"

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

TEST(StagingBytesNeeded, WrittenFilesTakeWholeClusters) {
    EXPECT_EQ(StagingBytesNeeded({}, 0, 4096), 0u);
    EXPECT_EQ(StagingBytesNeeded({0, 1, 4096, 4097}, 0, 4096), 0u + 4096 + 4096 + 8192);
    // The unpacked size comes counted in clusters already.
    EXPECT_EQ(StagingBytesNeeded({224718, 358912, 1317376}, 1105920, 4096),
              uint64_t{225280} + 360448 + 1318912 + 1105920);
    // A payload past 4 GB is counted whole.
    EXPECT_EQ(StagingBytesNeeded({0xFFFFFFFFull}, 0x100000000ull, 4096), 0x100000000ull * 2);
}

OwnedText AccessDenied(uint32_t code) {
    return code == 5 ? CopyText("拒绝访问。") : OwnedText();
}

TEST(StagingMessages, NameTheirReason) {
    const std::pair<OwnedText, const char*> cases[] = {
        // The need rounds up and the free space down, to a tenth of a megabyte.
        {LowSpaceMessage("X:", 3 * 1048576 + 1, 2 * 1048576 + 104857),
         "程序初始化失败,X:盘空间不足,需要 3.1 MB,可用 2.0 MB！"},
        {LowSpaceMessage("X:", 314572800, 33554431), "程序初始化失败,X:盘空间不足,需要 300.0 MB,可用 31.9 MB！"},
        {LowSpaceMessage("C:", 104858, 104857), "程序初始化失败,C:盘空间不足,需要 0.2 MB,可用 0.0 MB！"},
        {WriteFailureMessage("7z.exe", 5, AccessDenied), "程序初始化失败,7z.exe写入失败(错误 5: 拒绝访问。)！"},
        {WriteFailureMessage("7z.dll", 32, AccessDenied), "程序初始化失败,7z.dll写入失败(错误 32)！"},
        {ExtractorStartFailureMessage(5, AccessDenied), "程序初始化失败,7z.exe无法运行(错误 5: 拒绝访问。)！"},
        {ExtractionFailureMessage(2), "程序初始化失败,USB.7z解压失败,错误代码:2(数据错误或无法写入)！"},
        {ExtractionFailureMessage(8), "程序初始化失败,USB.7z解压失败,错误代码:8(内存不足)！"},
        {ExtractionFailureMessage(3), "程序初始化失败,USB.7z解压失败,错误代码:3！"},
        {ExtractionFailureMessage(0xC0000005), "程序初始化失败,USB.7z解压失败,错误代码:0xC0000005！"},
    };
    for (const auto& [message, expected] : cases)
        EXPECT_STREQ(message.c_str(), expected);
}

}  // namespace
