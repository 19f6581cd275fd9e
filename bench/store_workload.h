// A driver store as large as a real Windows 7's: generated INF files of realistic layout, most
// of their bytes in install, file, registry and string sections, some of them UTF-16LE.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct StoreInf {
    std::string folder;  // <name>.inf_amd64_neutral_<16 hex digits>
    std::string name;    // <name>.inf
    std::string bytes;
};

struct StoreWorkload {
    std::vector<StoreInf> infs;
    size_t totalBytes = 0;
    // The identifiers a 64-bit Windows 7 takes from the whole store, as the generator wrote them
    // (upper case), counted with repeats.
    size_t servedIds = 0;
};

// `packages` INFs of about `totalBytes` together, the same every time.
StoreWorkload MakeStoreWorkload(size_t packages, size_t totalBytes);
