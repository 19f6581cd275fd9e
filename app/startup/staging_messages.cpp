// Start-up failure boxes of payload staging.
#include "app/startup/staging_messages.h"

#include <cinttypes>
#include <cstdio>

#include "runtime/text_commands.h"

namespace {

constexpr uint64_t kMegabyte = 1024 * 1024;

// Tenths of a megabyte as "N.N".
OwnedText Megabytes(uint64_t tenths) {
    char text[32];
    std::snprintf(text, sizeof text, "%" PRIu64 ".%" PRIu64, tenths / 10, tenths % 10);
    return CopyText(text);
}

// The codes 7-Zip's console extractor ends with when it fails.
const char* ExtractorExitMeaning(uint32_t code) {
    switch (code) {
        case 2:
            return "数据错误或无法写入";
        case 7:
            return "命令行错误";
        case 8:
            return "内存不足";
        case 255:
            return "用户中止";
        default:
            return nullptr;
    }
}

}  // namespace

OwnedText LowSpaceMessage(const char* drive, uint64_t neededBytes, uint64_t freeBytes) {
    OwnedText needed = Megabytes((neededBytes * 10 + kMegabyte - 1) / kMegabyte);
    OwnedText available = Megabytes(freeBytes * 10 / kMegabyte);
    return ConcatText("程序初始化失败,", drive, "盘空间不足,需要 ", needed.get(), " MB,可用 ", available.get(),
                      " MB！");
}

OwnedText WriteFailureMessage(const char* fileName, uint32_t error, ErrorTextLookup lookup) {
    OwnedText reason = ErrorReasonText(error, lookup);
    return ConcatText("程序初始化失败,", fileName, "写入失败(", reason.get(), ")！");
}

OwnedText ExtractorStartFailureMessage(uint32_t error, ErrorTextLookup lookup) {
    OwnedText reason = ErrorReasonText(error, lookup);
    return ConcatText("程序初始化失败,7z.exe无法运行(", reason.get(), ")！");
}

OwnedText ExtractionFailureMessage(uint32_t exitCode) {
    OwnedText code = ErrorCodeText(exitCode);
    const char* meaning = ExtractorExitMeaning(exitCode);
    if (meaning == nullptr)
        return ConcatText("程序初始化失败,USB.7z解压失败,错误代码:", code.get(), "！");
    return ConcatText("程序初始化失败,USB.7z解压失败,错误代码:", code.get(), "(", meaning, ")！");
}
