// Index lookup, folder derivation and the equivalence of the fast matching with the plain one.
#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/inject/hardware_ids.h"
#include "app/inject/index_matching.h"
#include "runtime/text_commands.h"
#include "tests/support/index_oracle.h"

namespace {

std::vector<OwnedText> IdList(std::initializer_list<const char*> ids) {
    std::vector<OwnedText> out;
    for (const char* id : ids)
        out.push_back(CopyText(id));
    return out;
}

std::vector<std::string> Strings(const std::vector<OwnedText>& texts) {
    std::vector<std::string> out;
    for (const OwnedText& text : texts)
        out.emplace_back(text.c_str());
    return out;
}

std::vector<std::string> Match(const std::vector<OwnedText>& ids, const char* indexText) {
    TextArray lines = SplitText(indexText, "\r\n");
    std::vector<std::string> out;
    for (const char* line : MatchIndexLines(ids, lines))
        out.emplace_back(line ? line : "");
    return out;
}

// The plain lookup of the oracle and the tool's matching against fixed answers.
TEST(FindIndexLine, FirstLineHoldingTheKeyIgnoringCase) {
    const char* index = "a|pci\\ven_8086&dev_a36d|b\\c.inf\r\nx|PCI\\VEN_8086&DEV_A36D|y\\z.inf\r\n";
    EXPECT_EQ(index_oracle::FindIndexLine(index, "|PCI\\VEN_8086&DEV_A36D|"), 1);
    EXPECT_EQ(index_oracle::FindIndexLine(index, "|PCI\\VEN_8086&DEV_A36D&CC_0C0330|"), 0);
    EXPECT_EQ(index_oracle::FindIndexLine("", "|A|"), 0);
    EXPECT_EQ(index_oracle::FindIndexLine("\r\n\r\n|a|", "|A|"), 3);
    EXPECT_EQ(Match(IdList({"PCI\\VEN_8086&DEV_A36D"}), index),
              std::vector<std::string>{"a|pci\\ven_8086&dev_a36d|b\\c.inf"});
    EXPECT_TRUE(Match(IdList({"PCI\\VEN_8086&DEV_A36D&CC_0C0330"}), index).empty());
    EXPECT_TRUE(Match(IdList({"A"}), "").empty());
    EXPECT_EQ(Match(IdList({"A"}), "\r\n\r\n|a|"), std::vector<std::string>{"|a|"});
}

TEST(MatchIndexLines, RulesOfTheLookup) {
    const char* index =
        "Intel|PCI\\VEN_8086&DEV_A36D|Intel_7_USB3.0_Win7\\iusb3xhc.inf\r\n"
        "Intel2|PCI\\VEN_8086&DEV_A36D|other\\x.inf\r\n"
        "Renesas|PCI\\VEN_1912&DEV_0014|Renesas_USB3.0_Gen1_WinA\\nusb3xhc.inf\r\n"
        "AMD| PCI\\VEN_1022&DEV_145C|AMD\\amd.inf\r\n";
    // Case ignored, first line wins, duplicates kept, order of the identifiers kept, no trimming
    // of fields, the "|" must follow the identifier directly.
    EXPECT_EQ(Match(IdList({"pci\\ven_1912&dev_0014", "PCI\\VEN_8086&DEV_A36D", "PCI\\VEN_8086&DEV_A36D",
                            "PCI\\VEN_1022&DEV_145C", "PCI\\VEN_8086&DEV_A36D&CC_0C0330", "PCI\\VEN_8086"}),
                    index),
              (std::vector<std::string>{"Renesas|PCI\\VEN_1912&DEV_0014|Renesas_USB3.0_Gen1_WinA\\nusb3xhc.inf",
                                        "Intel|PCI\\VEN_8086&DEV_A36D|Intel_7_USB3.0_Win7\\iusb3xhc.inf",
                                        "Intel|PCI\\VEN_8086&DEV_A36D|Intel_7_USB3.0_Win7\\iusb3xhc.inf"}));
    // Bare LF line ends: the whole file is one line, selected by any identifier in it.
    const char* lfIndex = "a|ID1|f1\\x.inf\nb|ID2|f2\\y.inf\n";
    EXPECT_EQ(Match(IdList({"id2"}), lfIndex), std::vector<std::string>{lfIndex});
    EXPECT_TRUE(Match(IdList({"ID1"}), "").empty());
    EXPECT_TRUE(Match({}, index).empty());
}

TEST(MatchIndexLines, SeparatorsInsideGbkCharactersAreNoSeparators) {
    // "\x81\x7C" is one GBK character whose second byte is "|": a key cannot start on it.
    EXPECT_TRUE(Match(IdList({"ID"}), "x\x81|ID|y").empty());
    EXPECT_EQ(Match(IdList({"ID"}), "x\x81\x81|ID|y"), std::vector<std::string>{"x\x81\x81|ID|y"});
    // The closing "|" may be any byte, even one inside a character.
    EXPECT_EQ(Match(IdList({"ID\x81"}), "a|ID\x81|b|c"), std::vector<std::string>{"a|ID\x81|b|c"});
    // A two-byte character compares exactly even where its second byte is a letter.
    EXPECT_TRUE(Match(IdList({"x\x81"
                              "A"}),
                      "a|X\x81"
                      "a|b")
                    .empty());
    EXPECT_EQ(Match(IdList({"x\x81"
                            "A"}),
                    "a|X\x81"
                    "A|b"),
              std::vector<std::string>{"a|X\x81"
                                       "A|b"});
    // Identifiers holding "|" are keys like any other.
    EXPECT_EQ(Match(IdList({"A|B"}), "q|a|b|z\r\nr|A|B|"), std::vector<std::string>{"q|a|b|z"});
}

// Random indexes and identifiers from a small alphabet with GBK bytes, separators, case
// differences and line ends, so that keys collide, repeat and straddle characters.
std::string RandomText(std::mt19937& rng, size_t maxLength) {
    static const char* const kPieces[] = {"|",    "|",        "|",        "\r\n", "\n",  "A", "a", "B", "b",   "\\",
                                          "\x81", "\x81\x7C", "\xA1\xA1", "PCI",  "pci", "7", "&", " ", "\xC1"};
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
    std::string out;
    for (size_t n = length(rng); n > 0; --n)
        out += kPieces[piece(rng)];
    return out;
}

TEST(MatchIndexLines, SameResultsAsThePlainSearch) {
    std::mt19937 rng(20261207);
    for (int round = 0; round < 20000; ++round) {
        const std::string index = RandomText(rng, 60);
        std::vector<OwnedText> ids;
        const int idCount = static_cast<int>(rng() % 6);
        for (int i = 0; i < idCount; ++i) {
            std::string id = RandomText(rng, 4);
            ids.push_back(CopyText(id.c_str()));
        }
        ASSERT_EQ(Match(ids, index.c_str()), index_oracle::MatchIndexLines(Strings(ids), index)) << "round " << round;
    }
}

TEST(MatchIndexLines, LinesCrowdedWithSeparatorsStillMatch) {
    std::string crowded = "head";
    for (int i = 0; i < 200; ++i)
        crowded += "|f" + std::to_string(i);
    crowded += "|ID|tail";
    const std::string index = "x|other|y\r\n" + crowded + "\r\nz|ID|later";
    const std::vector<OwnedText> ids = IdList({"id", "f150", "OTHER", "missing"});
    EXPECT_EQ(Match(ids, index.c_str()), index_oracle::MatchIndexLines(Strings(ids), index));
    EXPECT_EQ(Match(IdList({"id"}), index.c_str()), std::vector<std::string>{crowded});
}

OwnedText Unqualified(const char* path) {
    return ConcatText("Q:", path);
}

// A qualifier that counts its calls and gives the empty text (null) for paths holding "n", as the
// shell's answer may be.
int g_qualifications = 0;
OwnedText CountedQualifier(const char* path) {
    ++g_qualifications;
    if (FindText(path, "n") != -1)
        return OwnedText();
    return ConcatText("Q:", path);
}

// The same qualification for the oracle.
std::optional<std::string> OracleQualifier(const std::string& path) {
    if (path.find('n') != std::string::npos)
        return std::nullopt;
    return "Q:" + path;
}

const char* const kIdentifiers[] = {
    "PCI\\VEN_8086&DEV_A36D", "pci\\ven_8086&dev_a36d",  "PCI\\VEN_8086",     "USB\\VID_8087&PID_0024",
    "usb\\VID_8087&pid_0024", "USB\\ROOT_HUB30\\4&1B9A", "PCI\\VEN_\xD6\xD0", "PCI\\A|B",
    "HID\\VID_046D"};

template <size_t N>
const char* Pick(std::mt19937& rng, const char* const (&pieces)[N]) {
    return pieces[rng() % N];
}

// Lines joined by CR LF, or now and then by a bare LF, with or without a final line end.
std::string Joined(std::mt19937& rng, const std::vector<std::string>& lines) {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (i + 1 < lines.size() || rng() % 2)
            out += rng() % 6 ? "\r\n" : "\n";
    }
    return out;
}

// A devcon listing: identifiers of several letter cases and bus kinds, indented and trailed by
// half- and full-width spaces, among device names, GBK text and empty lines.
std::string RandomListing(std::mt19937& rng) {
    static const char* const kPads[] = {"", "", " ", "        ", "\xA1\xA1", " \xA1\xA1 ", "\t"};
    static const char* const kOthers[] = {"",
                                          "    Name: USB Root Hub",
                                          "    Hardware IDs:",
                                          "\xCD\xA8\xD3\xC3 USB",
                                          "ACPI\\PNP0A08",
                                          "3 matching device(s) found."};
    std::vector<std::string> lines;
    for (size_t n = rng() % 12; n > 0; --n) {
        if (rng() % 3)
            lines.push_back(std::string(Pick(rng, kPads)) + Pick(rng, kIdentifiers) + Pick(rng, kPads));
        else
            lines.push_back(Pick(rng, kOthers));
    }
    return Joined(rng, lines);
}

// An index: "description|identifier|folder" lines (identifiers as the listing writes them, in
// other cases, twice, or with more beside them), folders with and without a subfolder or GBK,
// lines of two fields, and lines that serve nothing.
std::string RandomIndex(std::mt19937& rng) {
    static const char* const kFolders[] = {"Intel_7\\iusb3xhc.inf", "n_pkg\\x.inf", "file.inf", "",
                                           "\xD6\xD0\\y.inf",       "a\\b\\c.inf",  "\x95\x5C"};
    static const char* const kDescriptions[] = {"Intel", "", " ", "\xD6\xD0\xCE\xC4", "x|y"};
    std::vector<std::string> lines;
    for (size_t n = rng() % 12; n > 0; --n) {
        std::string line = std::string(Pick(rng, kDescriptions)) + "|" + Pick(rng, kIdentifiers);
        if (rng() % 4 == 0)
            line += "&CC_0C0330";
        if (rng() % 5)
            line += std::string("|") + Pick(rng, kFolders);
        if (rng() % 4 == 0)
            line += "|extra";
        lines.push_back(line);
    }
    return Joined(rng, lines);
}

TEST(PreciseImportWork, SameFoldersInTheSameOrderAsThePlainSteps) {
    std::mt19937 rng(20250611);
    const int32_t generations[] = {0, 7, 8, 9};
    for (int round = 0; round < 6000; ++round) {
        const std::string listing = RandomListing(rng);
        const std::string index = RandomIndex(rng);
        const int32_t generation = generations[rng() % 4];
        const char* base = rng() % 2 ? "X:\\TovUSB\\\\Win7X64\\" : "";

        TextArray lines = SplitListing(listing.c_str());
        TextArray indexLines = SplitText(index.c_str(), "\r\n");
        const std::vector<const char*> matched = MatchIndexLines(ExtractHardwareIds(lines), indexLines);
        g_qualifications = 0;
        std::vector<std::optional<std::string>> folders;
        for (const OwnedText& folder : DriverFolders(matched, base, generation, CountedQualifier))
            folders.push_back(folder.get() ? std::optional<std::string>(folder.c_str()) : std::nullopt);
        const int qualifications = g_qualifications;

        ASSERT_EQ(folders, index_oracle::ImportFolders(listing, index, base, generation, OracleQualifier))
            << "round " << round;
        // The shell is asked once for each distinct folder, however many lines name it.
        std::vector<std::string> distinct;
        for (const char* line : matched) {
            std::optional<OwnedText> path = DriverFolderPath(line, base, generation);
            if (path && std::find(distinct.begin(), distinct.end(), path->view()) == distinct.end())
                distinct.emplace_back(path->view());
        }
        ASSERT_EQ(qualifications, static_cast<int>(distinct.size())) << "round " << round;
    }
}

TEST(ParentFolderOf, DirectoryPartWithTrailingSeparator) {
    EXPECT_STREQ(ParentFolderOf("X:\\a\\b\\").c_str(), "X:\\a\\");
    EXPECT_STREQ(ParentFolderOf("X:\\a\\b").c_str(), "X:\\a\\");
    EXPECT_EQ(ParentFolderOf("nothing").get(), nullptr);
    EXPECT_EQ(ParentFolderOf("").get(), nullptr);
    EXPECT_STREQ(ParentFolderOf("\\").c_str(), "");
    EXPECT_STREQ(ParentFolderOf("X:\\TovUSB\\\\Win7X64\\Intel_7_USB3.0_Win7\\iusb3xhc.inf").c_str(),
                 "X:\\TovUSB\\\\Win7X64\\Intel_7_USB3.0_Win7\\");
    // The trailing separator is cut by bytes, the last one searched by characters: a GBK
    // character ending in 0x5C loses that byte and its lead byte no longer hides the next one.
    EXPECT_STREQ(ParentFolderOf("X:\\dir\\\x95\x5C").c_str(), "X:\\dir\\");
    EXPECT_STREQ(ParentFolderOf("X:\\dir\\\x95\x5Cname").c_str(), "X:\\dir\\");
    // The oracle's rule gives the same.
    for (const char* path :
         {"X:\\a\\b\\", "X:\\a\\b", "nothing", "", "\\", "X:\\dir\\\x95\x5C", "X:\\dir\\\x95\x5Cname"}) {
        OwnedText folder = ParentFolderOf(path);
        EXPECT_EQ(index_oracle::ParentFolder(path), folder.c_str()) << path;
    }
}

// The tool's folders and the oracle's against fixed answers.
TEST(DriverFolderFor, ThirdFieldOrTheIntelPackage) {
    const char* base = "X:\\TovUSB\\\\Win7X64\\";
    struct Case {
        const char* line;
        int32_t generation;
        const char* expected;  // null: skipped
    };
    const Case cases[] = {
        {"a|b|Intel_7_USB3.0_Win7\\iusb3xhc.inf", 7, "Q:X:\\TovUSB\\\\Win7X64\\Intel_7_USB3.0_Win7\\"},
        {"a|b|Intel_7_USB3.0_Win7\\iusb3xhc.inf", 0, "Q:X:\\TovUSB\\\\Win7X64\\Intel_7_USB3.0_Win7\\"},
        {"a|b|Intel_7_USB3.0_Win7\\iusb3xhc.inf", 8, "Q:X:\\TovUSB\\\\Win7X64\\\\Intel_8thA_USB3.A_Win7"},
        {"a|b|whatever", 9, "Q:X:\\TovUSB\\\\Win7X64\\\\Intel_8thA_USB3.A_Win7"},
        {"a||c\\d.inf", 7, "Q:X:\\TovUSB\\\\Win7X64\\c\\"},
        {"a|b|file.inf", 7, "Q:X:\\TovUSB\\\\Win7X64\\"},
        {"a|b", 8, nullptr},
        {"a|b|", 7, nullptr},  // a trailing separator adds no field
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const std::vector<std::string> folders = Strings(DriverFolders({c.line}, base, c.generation, Unqualified));
        const std::optional<std::string> oracle = index_oracle::DriverFolder(c.line, base, c.generation);
        if (c.expected == nullptr) {
            EXPECT_TRUE(folders.empty());
            EXPECT_FALSE(oracle.has_value());
        } else {
            EXPECT_EQ(folders, std::vector<std::string>{c.expected});
            ASSERT_TRUE(oracle.has_value());
            EXPECT_EQ("Q:" + *oracle, c.expected);
        }
    }
}

}  // namespace
