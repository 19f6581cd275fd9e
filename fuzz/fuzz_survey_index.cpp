// Fuzz target of the survey filter, the index lookup and the driver folder of a matched line:
// listings and indexes made of the pieces real ones hold, stray lead bytes and bare LF included,
// give what the oracle written from the rules gives (tests/support/index_oracle.h).
#include <string>
#include <vector>

#include "app/inject/hardware_ids.h"
#include "app/inject/index_matching.h"
#include "fuzz/fuzz_common.h"
#include "tests/support/index_oracle.h"

namespace oracle = index_oracle;
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
    const std::vector<std::string> expectedIds = oracle::HardwareIds(listing);
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
    const std::vector<std::string> expectedMatches = oracle::MatchIndexLines(expectedIds, index);
    const std::string what = "listing \"" + Escaped(listing) + "\" index \"" + Escaped(index) + "\"";
    Require(matched.size() == expectedMatches.size(), "MatchIndexLines count", what);
    for (size_t i = 0; i < matched.size(); ++i)
        Require(AsString(matched[i]) == expectedMatches[i], "MatchIndexLines", what);

    std::vector<std::string> expectedFolders;
    for (const std::string& line : expectedMatches) {
        const OwnedText lineText = fuzz::HeapText(line);
        const OwnedText baseText = fuzz::HeapText(base);
        const std::optional<OwnedText> folder = DriverFolderPath(lineText.get(), baseText.get(), generation);
        const std::optional<std::string> expected = oracle::DriverFolder(line, base, generation);
        const std::string detail =
            "line \"" + Escaped(line) + "\" base \"" + Escaped(base) + "\" generation " + std::to_string(generation);
        if (!expected) {
            Require(!folder.has_value(), "DriverFolderPath takes a short line", detail);
            continue;
        }
        Require(folder.has_value(), "DriverFolderPath skips a line of three fields", detail);
        Require(AsString(folder->get()) == *expected, "DriverFolderPath", detail);
        expectedFolders.push_back(*expected);
    }
    // All matched lines at once, each distinct folder qualified once: the same folders in order.
    const OwnedText baseText = fuzz::HeapText(base);
    const std::vector<OwnedText> folders = DriverFolders(matched, baseText.get(), generation, Unqualified);
    Require(folders.size() == expectedFolders.size(), "DriverFolders count", what);
    for (size_t i = 0; i < folders.size(); ++i)
        Require(AsString(folders[i].get()) == expectedFolders[i], "DriverFolders", what);

    const std::string path = base + listing.substr(0, 40);
    const OwnedText pathText = fuzz::HeapText(path);
    Require(AsString(ParentFolderOf(pathText.get()).get()) == oracle::ParentFolder(path), "ParentFolderOf",
            Escaped(path));
    return 0;
}
