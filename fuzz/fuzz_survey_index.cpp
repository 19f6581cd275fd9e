// Fuzz target of the survey filter, the index lookup and the driver folder of a matched line:
// listings and indexes made of the pieces real ones hold, stray lead bytes and bare LF included,
// give what the plain reference versions give.
#include <string>
#include <vector>

#include "app/inject/hardware_ids.h"
#include "app/inject/index_matching.h"
#include "fuzz/fuzz_common.h"
#include "tests/app/index_reference.h"
#include "tests/runtime/text_reference.h"

namespace ref = text_reference;
using fuzz::AsString;
using fuzz::Escaped;
using fuzz::Require;

namespace {

// What listings, indexes and paths are made of.
const char* const kPieces[] = {
    "PCI",
    "USB",
    "pci",
    "usb",
    "\\",
    "\\",
    "|",
    "|",
    "\r\n",
    "\r\n",
    "\n",
    "\r",
    " ",
    "  ",
    "\xA1\xA1",
    "\xA1",
    "VEN_8086",
    "&DEV_A36D",
    "&",
    "_",
    "a",
    "A",
    "\xB0\xA1",
    "\xB0",
    "\x81\x5C",
    "\x81\x7C",
    "\xCC\xE1",
    "x.inf",
    "Intel_7_USB3.0_Win7",
    "Name:",
    "\t",
    "\xFF",
    "ROOT_HUB30",
    "HID",
    ".",
};
constexpr size_t kPieceCount = sizeof kPieces / sizeof kPieces[0];

std::string TakePieces(FuzzedDataProvider& in, size_t maxPieces) {
    const size_t count = in.ConsumeIntegralInRange<size_t>(0, maxPieces);
    std::string out;
    for (size_t i = 0; i < count && in.remaining_bytes() > 0; ++i)
        out += kPieces[in.ConsumeIntegral<uint8_t>() % kPieceCount];
    return out;
}

std::string AsciiLower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The filter as written: trim, then keep what holds a backslash and "USB" or "PCI".
std::vector<std::string> ReferenceHardwareIds(const std::string& listing) {
    std::vector<std::string> ids;
    for (const std::string& line : ref::SplitText(listing, std::string("\r\n"), std::nullopt)) {
        const std::string trimmed = ref::TrimSpaces(line);
        if (ref::FindText(trimmed, "\\", std::nullopt, false) == -1)
            continue;
        if (ref::FindText(trimmed, "USB", std::nullopt, false) != -1 ||
            ref::FindText(trimmed, "PCI", std::nullopt, false) != -1)
            ids.push_back(trimmed);
    }
    return ids;
}

int32_t ReferenceFindIndexLine(const std::string& index, const std::string& key) {
    const std::vector<std::string> lines = ref::SplitText(index, std::string("\r\n"), std::nullopt);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (ref::FindText(lines[i], key, std::nullopt, true) != -1)
            return static_cast<int32_t>(i + 1);
    }
    return 0;
}

// The last character off when it is a separator (not the second byte of a two-byte character),
// then everything up to and including the last separator.
std::string ReferenceParentFolder(const std::string& path) {
    std::string trimmed = path;
    const std::vector<std::string> characters = ref::Characters(path);
    size_t scanned = 0;
    for (const std::string& c : characters)
        scanned += c.size();
    if (!characters.empty() && characters.back() == "\\" && scanned == path.size())
        trimmed.pop_back();
    const int32_t at = ref::FindTextReverse(trimmed, "\\", std::nullopt, false);
    return at == -1 ? std::string() : trimmed.substr(0, static_cast<size_t>(at));
}

OwnedText Unqualified(const char* path) {
    return CopyText(path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string listing = TakePieces(in, 120);
    std::string index = TakePieces(in, 120);
    const std::string base = TakePieces(in, 6);
    const int32_t generations[] = {0, 7, 8, 9};
    const int32_t generation = generations[in.ConsumeIntegral<uint8_t>() % 4];

    const OwnedText listingText = fuzz::HeapText(listing);
    const TextArray lines = SplitListing(listingText.get());
    const std::vector<OwnedText> ids = ExtractHardwareIds(lines);
    const std::vector<std::string> expectedIds = ReferenceHardwareIds(listing);
    Require(ids.size() == expectedIds.size(), "ExtractHardwareIds count", Escaped(listing));
    for (size_t i = 0; i < ids.size(); ++i)
        Require(AsString(ids[i].get()) == expectedIds[i], "ExtractHardwareIds", Escaped(listing));

    // Index lines that serve some of the identifiers, in either case, with more fields or fewer.
    for (const std::string& id : expectedIds) {
        if (in.remaining_bytes() == 0 || !in.ConsumeBool())
            continue;
        const std::string key = in.ConsumeBool() ? AsciiLower(id) : id;
        index += TakePieces(in, 2) + "|" + key + "|" + TakePieces(in, 4) + (in.ConsumeBool() ? "\r\n" : "|x\r\n");
    }

    const OwnedText indexText = fuzz::HeapText(index);
    const TextArray indexLines = SplitText(indexText.get(), "\r\n");
    const std::vector<const char*> matched = MatchIndexLines(ids, indexLines);
    const std::vector<std::string> expectedMatches = ReferenceMatchIndexLines(ids, indexText.get());
    const std::string what = "listing \"" + Escaped(listing) + "\" index \"" + Escaped(index) + "\"";
    Require(matched.size() == expectedMatches.size(), "MatchIndexLines count", what);
    for (size_t i = 0; i < matched.size(); ++i)
        Require(AsString(matched[i]) == expectedMatches[i], "MatchIndexLines", what);
    if (!expectedIds.empty()) {
        const std::string key = "|" + expectedIds.front() + "|";
        Require(FindIndexLine(indexText.get(), key.c_str()) == ReferenceFindIndexLine(index, key), "FindIndexLine",
                what);
    }

    std::vector<std::string> expectedFolders;
    for (const std::string& line : expectedMatches) {
        const OwnedText lineText = fuzz::HeapText(line);
        const OwnedText baseText = fuzz::HeapText(base);
        const std::optional<OwnedText> folder =
            DriverFolderFor(lineText.get(), baseText.get(), generation, Unqualified);
        const std::vector<std::string> fields = ref::SplitText(line, std::string("|"), std::nullopt);
        const std::string detail =
            "line \"" + Escaped(line) + "\" base \"" + Escaped(base) + "\" generation " + std::to_string(generation);
        if (fields.size() < 3) {
            Require(!folder.has_value(), "DriverFolderFor takes a short line", detail);
            continue;
        }
        Require(folder.has_value(), "DriverFolderFor skips a line of three fields", detail);
        const std::string expected = generation == 8 || generation == 9 ? base + "\\Intel_8thA_USB3.A_Win7"
                                                                        : ReferenceParentFolder(base + fields[2]);
        Require(AsString(folder->get()) == expected, "DriverFolderFor", detail);
        expectedFolders.push_back(expected);
    }
    // All matched lines at once, each distinct folder qualified once: the same folders in order.
    const OwnedText baseText = fuzz::HeapText(base);
    const std::vector<OwnedText> folders = DriverFolders(matched, baseText.get(), generation, Unqualified);
    Require(folders.size() == expectedFolders.size(), "DriverFolders count", what);
    for (size_t i = 0; i < folders.size(); ++i)
        Require(AsString(folders[i].get()) == expectedFolders[i], "DriverFolders", what);

    const std::string path = base + listing.substr(0, 40);
    const OwnedText pathText = fuzz::HeapText(path);
    Require(AsString(ParentFolderOf(pathText.get()).get()) == ReferenceParentFolder(path), "ParentFolderOf",
            Escaped(path));
    return 0;
}
