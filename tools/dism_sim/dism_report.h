// The DISM simulator's console report, in DISM's own layout, and the path rules it uses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// DISM's code when an image cannot be used (ERROR_PATH_NOT_FOUND) and when /Driver: holds no
// driver package (ERROR_FILE_NOT_FOUND).
constexpr uint32_t kDismBadImage = 3;
constexpr uint32_t kDismNoDriver = 2;

// The tool name and version lines that open every report. They say that this is a simulator.
std::string DismBanner();
// "Image Version: <version>" and a blank line; an empty version prints as "unknown".
std::string DismImageVersion(std::string_view version);
std::string DismSearching();
// "Found N driver package(s) to install."
std::string DismFound(size_t count);
// One package's line: installed when error is 0, otherwise DISM's failure wording.
std::string DismInstalling(size_t index, size_t count, std::string_view inf, uint32_t error);
std::string DismSuccess();
// DISM's error block: a blank line, "Error: <code>", a blank line, the message and a blank line.
std::string DismErrorBlock(uint32_t code, std::string_view message);

// "a.b.c.d" from the two version words of a fixed file-version record.
std::string FormatFileVersion(uint32_t mostSignificant, uint32_t leastSignificant);

// Joins with one backslash unless the folder already ends in a separator; an empty folder gives
// the name alone.
std::string JoinPath(std::string_view folder, std::string_view name);
// The last path element (after the last backslash or slash, stepping over GBK pairs).
std::string FileNamePart(std::string_view path);
bool HasInfExtension(std::string_view name);
// Orders paths by bytes with ASCII case ignored, so reports list packages the same way every run.
void SortPathsForReport(std::vector<std::string>& paths);

// Where DISM stages a package in an image:
// <image>\Windows\System32\DriverStore\FileRepository\<inf name>_<x86|amd64>_neutral_<16 hex digits>,
// the name in lower case and the digits a hash of the INF's bytes, so that the same package always
// lands in the same folder and two packages of one name do not meet.
std::string DriverStoreFolder(std::string_view image, std::string_view infName, bool amd64, std::string_view infBytes);
// Where DISM publishes the INF of a staged package: <image>\Windows\inf\oem<number>.inf.
std::string PublishedInfPath(std::string_view image, unsigned number);
