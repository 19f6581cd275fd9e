// The matching benchmark's data: a devcon listing and a driver index as large as a big machine
// and a full payload make them.
#pragma once

#include <string>
#include <vector>

struct MatchingWorkload {
    std::string listing;  // CR LF lines, devcon's layout
    std::string index;    // CR LF lines "description|identifier|folder\file.inf"
    // The package folders the index's third fields name, relative to the driver base.
    std::vector<std::string> folders;
    // What the precise import must find, as the generator laid it out: for every identifier of
    // the listing that the filter keeps, in order, the package folder (relative to the driver
    // base) of the first index line made for it, in whatever letter case; identifiers without
    // one left out.
    std::vector<std::string> expectedFolders;
};

// A listing whose filter keeps at least `identifiers` lines (a device more at most) and an index of `indexLines` lines
// of about `indexBytes` together. About half the identifiers are in the index, some in another letter case and some
// twice; the listing holds GBK device names and lines the filter drops.
MatchingWorkload MakeMatchingWorkload(int identifiers, int indexLines, size_t indexBytes);
