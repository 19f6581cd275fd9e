// The offline target's driver store as Windows 7 of its architecture will read it. Windows only.
#pragma once

#include <string>
#include <vector>

#include "app/inject/driver_coverage.h"
#include "runtime/owned.h"

// The packages of <root>\Windows\System32\DriverStore\FileRepository (every .inf in every
// subfolder, whatever the folders are called) and the published <root>\Windows\inf\oem*.inf.
// A store INF with the bytes of a published one carries its published name; a published INF
// without such a twin stands for its own package. With `infNames`, only the store INFs of those
// file names (ASCII case ignored) are read; the published INFs always are. Packages come in
// order: the published ones first, by oem number.
std::vector<StoredPackage> ReadDriverStore(const char* targetRoot,
                                           bool target64Bit,
                                           const std::vector<std::string>* infNames = nullptr);

// The .inf file names in the folders and below them, as a recursive DISM run finds them.
std::vector<std::string> InfNamesBelow(const std::vector<OwnedText>& folders);
