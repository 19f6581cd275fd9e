// What a driver INF says about itself for one target system: its version, class and catalog,
// and the models (devices with their identifiers) that Windows of that system would take from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "inf/inf_syntax.h"
#include "inf/inf_text.h"
#include "inf/os_decoration.h"

struct HardwareId {
    std::string written;  // as the INF writes it, trimmed
    std::string upper;    // ASCII upper-cased, the form identifiers compare in
};

struct InfModel {
    uint32_t line = 0;
    std::string section;  // the models section, as [Manufacturer] names it with its decoration
    std::string description;
    std::string installSection;
    std::vector<HardwareId> ids;  // the hardware ID first, then the compatible IDs
};

// DriverVer=mm/dd/yyyy[,w.x.y.z] of [Version].
struct DriverVersion {
    std::string text;    // as written, tokens substituted; empty when the INF has none
    bool valid = false;  // a date of the form above (month and day of one or two digits)
    uint32_t year = 0, month = 0, day = 0;
    uint32_t version[4] = {0, 0, 0, 0};
};

// -1, 0 or 1 as `a` is older than, as new as or newer than `b`: by date, then by version; a
// DriverVer that is missing or unreadable is older than any readable one.
int CompareDriverVersions(const DriverVersion& a, const DriverVersion& b);

struct DriverInf {
    InfEncoding encoding = InfEncoding::kAnsi;
    // Windows would open the file as a driver INF: readable syntax and a [Version] Signature of
    // "$Windows NT$", "$Chicago$" or "$Windows 95$".
    bool opened = false;
    std::vector<InfProblem> problems;
    std::string className;  // Class of [Version]
    std::string classGuid;  // ClassGuid of [Version], as written
    DriverVersion driverVer;
    // The catalog for the target's architecture (CatalogFile.NTamd64, .NTx86 or .NT before plain
    // CatalogFile); empty when the INF names none.
    std::string catalogFile;
    std::vector<InfModel> models;  // the models Windows of the target takes, in file order
    // Decorations of [Manufacturer] entries that the target does not take (NTamd64.10.0, say).
    std::vector<std::string> otherDecorations;
};

DriverInf ReadDriverInf(std::string_view bytes, const InfTarget& target);
// The same from text already parsed (the encoding and decoding problems are the caller's).
DriverInf ReadDriverInfSyntax(const InfSyntax& syntax, const InfTarget& target);

// The first line of `key` (ASCII case ignored) in `section`, the line a directive such as
// [Version] Signature is read from; null when there is none.
const InfLine* DirectiveLine(const InfSection* section, std::string_view key);

// A [Version] Signature under which Windows opens the file as a driver INF: "$Windows NT$",
// "$Chicago$" or "$Windows 95$", ASCII case ignored.
bool IsDriverInfSignature(std::string_view signature);

// The models section that one [Manufacturer] entry (its values, tokens substituted) gives Windows
// of the target; nothing when it gives none. The decorations it passes over are added to `others`.
std::optional<std::string> ChooseModelsSection(const std::vector<std::string>& values,
                                               bool hasKey,
                                               const InfTarget& target,
                                               std::vector<std::string>* others);

// Class USB (by name or by its class GUID): host controllers and hubs, never their peripherals.
bool IsUsbControllerClass(const DriverInf& inf);
