// Store: the full reading of a driver store of 700 packages and 100 MB of INF text, for what each
// serves on 64-bit Windows 7, against a plain read of the same files found the same way.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/inject/driver_store.h"
#include "bench/bench_clock_win32.h"
#include "bench/bench_report.h"
#include "bench/benchmarks.h"
#include "bench/store_workload.h"
#include "runtime/byte_set.h"
#include "runtime/file_commands.h"

namespace {

constexpr size_t kPackages = 700;
constexpr size_t kStoreBytes = 100u * 1024 * 1024;

bool WriteStore(const StoreWorkload& work, const std::string& root) {
    const std::string store = root + "Windows\\System32\\DriverStore\\FileRepository\\";
    for (const char* level : {"", "Windows", "Windows\\System32", "Windows\\System32\\DriverStore",
                              "Windows\\System32\\DriverStore\\FileRepository", "Windows\\inf"})
        CreateDirectoryA((root + level).c_str(), nullptr);
    for (const StoreInf& inf : work.infs) {
        CreateDirectoryA((store + inf.folder).c_str(), nullptr);
        OwnedByteSet bytes = MakeByteSet(inf.bytes.data(), inf.bytes.size());
        if (!WriteFileBytes((store + inf.folder + "\\" + inf.name).c_str(), {bytes.get()}))
            return false;
    }
    return true;
}

// The baseline: the same folder listings and every INF's bytes, nothing made of them.
size_t PlainRead(const std::string& root) {
    const std::string store = root + "Windows\\System32\\DriverStore\\FileRepository\\";
    size_t bytes = 0;
    WIN32_FIND_DATAA folder;
    HANDLE folders = FindFirstFileA((store + "*").c_str(), &folder);
    if (folders == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (!(folder.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || folder.cFileName[0] == '.')
            continue;
        const std::string path = store + folder.cFileName + "\\";
        WIN32_FIND_DATAA file;
        HANDLE files = FindFirstFileA((path + "*.inf").c_str(), &file);
        if (files == INVALID_HANDLE_VALUE)
            continue;
        do {
            OwnedByteSet read = ReadFileBytes((path + file.cFileName).c_str());
            bytes += read.get() ? ByteSetLength(read.get()) : 0;
        } while (FindNextFileA(files, &file));
        FindClose(files);
    } while (FindNextFileA(folders, &folder));
    FindClose(folders);
    return bytes;
}

}  // namespace

bool RunStoreBench(int runs) {
    const StoreWorkload work = MakeStoreWorkload(kPackages, kStoreBytes);
    const std::string root = ScratchFolder() + "store\\";
    if (!WriteStore(work, root)) {
        std::printf("store: cannot write the store below %s\n", root.c_str());
        return false;
    }
    std::vector<double> tool, base;
    size_t served = 0, read = 0, packages = 0;
    for (int round = 0; round <= runs; ++round) {
        // Alternating which goes first, so that neither always finds the files warmer.
        for (int turn = 0; turn < 2; ++turn) {
            const double start = NowMs();
            if ((turn == 0) == (round % 2 == 0)) {
                const std::vector<StoredPackage> store = ReadDriverStore(root.c_str(), true);
                const double elapsed = NowMs() - start;
                served = 0;
                for (const StoredPackage& package : store)
                    served += package.ids.size();
                packages = store.size();
                if (round > 0)
                    tool.push_back(elapsed);
            } else {
                read = PlainRead(root);
                if (round > 0)
                    base.push_back(NowMs() - start);
            }
        }
    }
    const bool same = served == work.servedIds && read == work.totalBytes && packages == kPackages;
    std::printf("store: %u packages, %u INF bytes, %u identifiers served (the generator wrote %u); %s\n",
                static_cast<unsigned>(packages), static_cast<unsigned>(read), static_cast<unsigned>(served),
                static_cast<unsigned>(work.servedIds), same ? "as generated" : "NOT WHAT THE GENERATOR WROTE");
    if (!same)
        std::printf("FIGURE|store results|what the generator wrote|-|-|-|-|-|-|MISS\n");
    return Report(RatioFigure{"store 700 packages, 100 MB", "read what each package serves",
                              "plain read of the same INF files", "ms", tool, base, 1.5}) &&
           same;
}
