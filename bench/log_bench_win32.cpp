// Log insertion: a log entry added at the top of logs of 1, 10 and 100 MB, against a plain copy
// of the same log.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/inject/survey.h"
#include "bench/bench_clock_win32.h"
#include "bench/bench_report.h"
#include "bench/benchmarks.h"

namespace {

constexpr int kSizesMb[] = {1, 10, 100};
constexpr size_t kBlock = 1 << 20;

// One megabyte of what DISM logs: English and GBK lines ending in CR LF.
std::string LogBlock() {
    std::string block;
    for (int line = 0; block.size() < kBlock; ++line) {
        block += "[" + std::to_string(1000 + line % 9000) + "] 正在处理第 " + std::to_string(line % 100) +
                 " 个驱动程序包，共 100 个 - Installing driver package 'usb3xhc.inf'...\r\n";
    }
    block.resize(kBlock);
    return block;
}

// What one DISM run prints, as the precise import logs it.
std::string DismOutput() {
    std::string text = "\r\n部署映像服务和管理工具\r\n版本: 10.0.19041.1\r\n\r\n映像版本: 6.1.7601.17514\r\n\r\n";
    for (int i = 1; i <= 12; ++i)
        text += "正在搜索要安装的驱动程序包...\r\n已找到 " + std::to_string(i) + " 个驱动程序包。\r\n";
    return text + "操作成功完成。\r\n";
}

bool WriteLog(const std::string& path, const std::string& block, int megabytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    for (int i = 0; ok && i < megabytes; ++i) {
        DWORD written = 0;
        ok = WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
             written == block.size();
    }
    CloseHandle(file);
    return ok;
}

// True when the log holds the entry (text, CR LF, CR LF) and then the old content whole.
bool HoldsEntryThenLog(const std::string& path, const std::string& entry, const std::string& block, int megabytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::string head = entry + "\r\n\r\n";
    std::string buffer(head.size(), '\0');
    DWORD got = 0;
    bool ok = ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && buffer == head;
    buffer.resize(block.size());
    for (int i = 0; ok && i < megabytes; ++i)
        ok = ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got == buffer.size() &&
             buffer == block;
    ok = ok && ReadFile(file, buffer.data(), 1, &got, nullptr) && got == 0;
    CloseHandle(file);
    return ok;
}

}  // namespace

bool RunLogBench(int runs) {
    const std::string block = LogBlock();
    const std::string entry = DismOutput();
    const std::string log = ScratchFolder() + "bench_USB.log";
    const std::string copy = ScratchFolder() + "bench_USB.copy";
    constexpr size_t kCount = std::size(kSizesMb);
    std::vector<double> insert[kCount], copied[kCount];
    bool intact = true;
    for (int round = 0; round <= runs; ++round) {
        for (size_t i = 0; i < kCount; ++i) {
            double t = 0, c = 0;
            auto addEntry = [&] {
                const double start = NowMs();
                AddLogEntry(entry.c_str(), log.c_str());
                t = NowMs() - start;
            };
            auto copyLog = [&] {
                const double start = NowMs();
                intact = CopyFileA(log.c_str(), copy.c_str(), FALSE) && intact;
                c = NowMs() - start;
                DeleteFileA(copy.c_str());
            };
            intact = WriteLog(log, block, kSizesMb[i]) && intact;
            if (round % 2) {
                addEntry();
                intact = HoldsEntryThenLog(log, entry, block, kSizesMb[i]) && intact;
                copyLog();
            } else {
                copyLog();
                addEntry();
                intact = HoldsEntryThenLog(log, entry, block, kSizesMb[i]) && intact;
            }
            std::printf("    %s %d, %d MB: entry %.2f ms, copy %.2f ms\n", round > 0 ? "run" : "warm-up", round,
                        kSizesMb[i], t, c);
            if (round > 0) {
                insert[i].push_back(t);
                copied[i].push_back(c);
            }
        }
    }
    DeleteFileA(log.c_str());
    bool met = intact;
    if (!intact)
        std::printf("log: an entry was not inserted byte for byte\nFIGURE|log output|intact|-|-|-|-|-|-|MISS\n");
    for (size_t i = 0; i < kCount; ++i) {
        const std::string size = std::to_string(kSizesMb[i]) + " MB";
        met = Report(RatioFigure{"log entry " + size, "AddLogEntry at the top of " + size, "plain copy of the log",
                                 "ms", insert[i], copied[i], 2.0}) &&
              met;
    }
    met = Report(RatioFigure{"log growth", "AddLogEntry, 100 MB", "AddLogEntry, 10 MB", "ms", insert[2], insert[1],
                             11.0}) &&
          met;
    return met;
}
