// DISM's report layout and the simulator's path rules; no Win32 calls.
#include "tools/dism_sim/dism_report.h"

#include <algorithm>
#include <cstdio>

#include "runtime/text_rules.h"

namespace {

constexpr const char* kCrLf = "\r\n";

// Index just after the last separator, stepping over GBK pairs: their second byte may be 0x5C,
// which is no separator there.
size_t AfterLastSeparator(std::string_view path) {
    size_t start = 0;
    for (size_t i = 0; i < path.size();) {
        const uint8_t b = static_cast<uint8_t>(path[i]);
        if (IsLeadByte(b) && i + 1 < path.size()) {
            i += 2;
            continue;
        }
        if (b == '\\' || b == '/')
            start = i + 1;
        ++i;
    }
    return start;
}

}  // namespace

std::string DismBanner() {
    return std::string(kCrLf) +
           "Deployment Image Servicing and Management tool - TovUSB sample simulator\r\n"
           "Version: 1.0 (simulator: records driver packages, installs nothing)\r\n"
           "\r\n";
}

std::string DismImageVersion(std::string_view version) {
    return "Image Version: " + std::string(version.empty() ? "unknown" : version) + kCrLf + kCrLf;
}

std::string DismSearching() {
    return std::string("Searching for driver packages to install...") + kCrLf;
}

std::string DismFound(size_t count) {
    return "Found " + std::to_string(count) + " driver package(s) to install." + kCrLf;
}

std::string DismInstalling(size_t index, size_t count, std::string_view inf, uint32_t error) {
    std::string line =
        "Installing " + std::to_string(index) + " of " + std::to_string(count) + " - " + std::string(inf) + ": ";
    if (error == 0)
        line += "The driver package was successfully installed.";
    else
        line += "Error - The driver package could not be installed (error " + std::to_string(error) + ").";
    return line + kCrLf;
}

std::string DismSuccess() {
    return std::string("The operation completed successfully.") + kCrLf;
}

std::string DismErrorBlock(uint32_t code, std::string_view message) {
    return std::string(kCrLf) + "Error: " + std::to_string(code) + kCrLf + kCrLf + std::string(message) + kCrLf + kCrLf;
}

std::string FormatFileVersion(uint32_t mostSignificant, uint32_t leastSignificant) {
    char text[48];
    std::snprintf(text, sizeof(text), "%u.%u.%u.%u", static_cast<unsigned>(mostSignificant >> 16),
                  static_cast<unsigned>(mostSignificant & 0xFFFF), static_cast<unsigned>(leastSignificant >> 16),
                  static_cast<unsigned>(leastSignificant & 0xFFFF));
    return text;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && AfterLastSeparator(path) != path.size())
        path += '\\';
    path += name;
    return path;
}

std::string FileNamePart(std::string_view path) {
    return std::string(path.substr(AfterLastSeparator(path)));
}

bool HasInfExtension(std::string_view name) {
    return EndsWithIgnoringAsciiCase(name, ".inf");
}

void SortPathsForReport(std::vector<std::string>& paths) {
    std::sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return AsciiLower(static_cast<uint8_t>(x)) < AsciiLower(static_cast<uint8_t>(y));
        });
    });
}

std::string DriverStoreFolder(std::string_view image, std::string_view infName, bool amd64, std::string_view infBytes) {
    // FNV-1a, 64 bits: deterministic across runs and builds, which is all the folder name needs.
    uint64_t hash = 0xCBF29CE484222325ull;
    for (char c : infBytes) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 0x100000001B3ull;
    }
    char digits[17];
    std::snprintf(digits, sizeof(digits), "%016llx", static_cast<unsigned long long>(hash));
    std::string name;
    for (size_t i = 0; i < infName.size(); ++i) {
        const auto b = static_cast<uint8_t>(infName[i]);
        // The trail byte of a GBK pair may look like a capital letter; it stays as it is.
        if (IsLeadByte(b) && i + 1 < infName.size()) {
            name += infName.substr(i, 2);
            ++i;
            continue;
        }
        name += static_cast<char>(AsciiLower(b));
    }
    name += amd64 ? "_amd64_neutral_" : "_x86_neutral_";
    name += digits;
    return JoinPath(JoinPath(image, "Windows\\System32\\DriverStore\\FileRepository"), name);
}

std::string PublishedInfPath(std::string_view image, unsigned number) {
    return JoinPath(JoinPath(image, "Windows\\inf"), "oem" + std::to_string(number) + ".inf");
}
