// What payload staging says when it stops: start-up failure boxes that name their reason.
#pragma once

#include <cstdint>

#include "runtime/error_reason.h"
#include "runtime/owned.h"

// "程序初始化失败,X:盘空间不足,需要 N MB,可用 M MB！" for drive "X:". Megabytes of 1,048,576
// bytes with one decimal; the need is rounded up and the free space down, so the box never reads
// as if the space sufficed.
OwnedText LowSpaceMessage(const char* drive, uint64_t neededBytes, uint64_t freeBytes);

// "程序初始化失败,<file>写入失败(错误 N: <the system's text>)！"
OwnedText WriteFailureMessage(const char* fileName, uint32_t error, ErrorTextLookup lookup);

// "程序初始化失败,7z.exe无法运行(错误 N: <the system's text>)！"
OwnedText ExtractorStartFailureMessage(uint32_t error, ErrorTextLookup lookup);

// "程序初始化失败,USB.7z解压失败,错误代码:N(<what 7-Zip means by it>)！"; codes 7-Zip does not
// define (a crash's exception code, say) stand alone.
OwnedText ExtractionFailureMessage(uint32_t exitCode);
