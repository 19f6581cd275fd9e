// The identifiers a driver INF serves on one target: all a coverage check asks of a package, read
// without building what it does not ask for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "inf/driver_inf.h"

struct ServedIds {
    // Windows would open the file as a driver INF (DriverInf::opened).
    bool opened = false;
    // The identifiers of every model Windows of the target takes, upper-cased, in file order,
    // duplicates kept.
    std::vector<std::string> ids;
};

ServedIds ServedIdsOf(const DriverInf& inf);
// The same, taking the identifiers over instead of copying them.
ServedIds ServedIdsOf(DriverInf&& inf);

// What ServedIdsOf(ReadDriverInf(bytes, target)) gives, reading only [Version], [Manufacturer],
// the models sections it chooses and, where a value needs one of their strings, the string
// sections; a file whose layout could hide a section line falls back to the full reading.
ServedIds ReadServedIds(std::string_view bytes, const InfTarget& target);
