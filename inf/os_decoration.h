// TargetOSVersion decorations of [Manufacturer] entries (NTamd64.6.1 and the like), and which of
// them Windows takes for a given system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class InfArchitecture { kX86, kAmd64 };

// The system an INF is read for; by default 64-bit Windows 7 SP1 (a workstation) with the
// Simplified Chinese locale and code page.
struct InfTarget {
    InfArchitecture architecture = InfArchitecture::kAmd64;
    uint32_t major = 6;
    uint32_t minor = 1;
    uint32_t productType = 1;  // VER_NT_WORKSTATION
    uint32_t build = 7601;
    uint16_t language = 0x0804;
    uint32_t ansiCodePage = 936;
};

// "x86" or "amd64", as decorations and folder names spell them.
const char* ArchitectureName(InfArchitecture architecture);

struct OsDecoration {
    std::string text;          // as written after the models section name
    std::string architecture;  // upper-cased; empty for a plain "NT"
    uint32_t major = 0, minor = 0, productType = 0, suiteMask = 0, build = 0;
    bool hasVersion = false;  // a major version was given
};

// nt[Architecture][.[Major][.[Minor][.[ProductType][.[SuiteMask][.[Build]]]]]], "NT" in any case,
// numbers decimal or 0x hexadecimal; no result for anything else.
std::optional<OsDecoration> ParseOsDecoration(std::string_view text);

// Whether Windows of the target may use a models section with this decoration: the architecture
// fits (a plain "NT" only on x86) and the version, product type and build are not beyond it.
bool DecorationFits(const OsDecoration& decoration, const InfTarget& target);

// The decoration Windows picks among those of one [Manufacturer] entry: of those that fit, the
// highest version, then an architecture over plain "NT", then the one with more fields given;
// the first written among equals. No result when none fits.
std::optional<size_t> ChooseDecoration(const std::vector<std::string>& decorations, const InfTarget& target);
