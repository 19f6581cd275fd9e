// tovusb_bench.exe: runs the benchmarks named on its command line (every one when none is named)
// and exits with 1 when a target is missed.
//
//   tovusb_bench [--runs N] [startup] [waiting] [capture] [matching] [log] [store]
//   tovusb_bench --poster HWND COUNT PERIOD_MS     (the waiting benchmark's message poster)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/benchmarks.h"

namespace {

struct Benchmark {
    const char* name;
    bool (*run)(int runs);
};

const Benchmark kBenchmarks[] = {
    {"startup", RunStartupBench},   {"waiting", RunWaitingBench}, {"capture", RunCaptureBench},
    {"matching", RunMatchingBench}, {"log", RunLogBench},         {"store", RunStoreBench},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--poster") == 0) {
        // unsigned long holds 32 bits on 64-bit Windows too; the handle is written as a uintptr_t.
        HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argv[2], nullptr, 0)));
        return RunMessagePoster(window, std::atoi(argv[3]), std::atoi(argv[4]));
    }
    int runs = 5;
    std::vector<const Benchmark*> chosen;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
            continue;
        }
        const Benchmark* found = nullptr;
        for (const Benchmark& b : kBenchmarks) {
            if (std::strcmp(argv[i], b.name) == 0)
                found = &b;
        }
        if (found == nullptr) {
            std::fprintf(stderr, "tovusb_bench: unknown benchmark %s\n", argv[i]);
            return 2;
        }
        chosen.push_back(found);
    }
    if (chosen.empty()) {
        for (const Benchmark& b : kBenchmarks)
            chosen.push_back(&b);
    }
    if (runs < 5) {
        std::fprintf(stderr, "tovusb_bench: medians need at least 5 runs\n");
        return 2;
    }
    bool met = true;
    for (const Benchmark* b : chosen) {
        std::printf("== %s (%d runs after a warm-up)\n", b->name, runs);
        std::fflush(stdout);
        met = b->run(runs) && met;
    }
    return met ? 0 : 1;
}
