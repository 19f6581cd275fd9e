// The index maker and the payload check on a payload of INF files in the shapes vendors ship:
// what the index holds and in which order, and a table of broken payloads with the finding each
// must give.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/payload/payload_test_support.h"
#include "tools/index/index_maker.h"
#include "tools/index/payload_check.h"

namespace {

namespace fs = std::filesystem;

// A copy of the kit payload in a folder of its own, removed again at the end.
class KitCopy {
  public:
    KitCopy() {
        static int count = 0;
        root_ =
            fs::temp_directory_path() / ("tovusb-kit-" + std::to_string(::getpid()) + "-" + std::to_string(++count));
        fs::remove_all(root_);
        fs::copy(TOVUSB_KIT_PAYLOAD_DIR, root_, fs::copy_options::recursive);
    }
    ~KitCopy() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    KitCopy(const KitCopy&) = delete;
    KitCopy& operator=(const KitCopy&) = delete;

    fs::path operator/(const std::string& relative) const { return root_ / relative; }
    std::string Read(const std::string& relative) const {
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile((root_ / relative).string(), bytes)) << relative;
        return bytes;
    }
    void Write(const std::string& relative, const std::string& bytes) const {
        fs::create_directories((root_ / relative).parent_path());
        ASSERT_TRUE(WriteWholeFile((root_ / relative).string(), bytes)) << relative;
    }
    PayloadTree Tree() const {
        std::string error;
        std::optional<PayloadTree> tree = PayloadTree::Scan(root_.string(), error);
        EXPECT_TRUE(tree) << error;
        return tree ? *tree : PayloadTree();
    }
    Findings Make() const {
        Findings findings;
        EXPECT_EQ(MakeIndexFiles(Tree(), 936, 0x0804, findings).size(), 2u);
        return findings;
    }

  private:
    fs::path root_;
};

// Identifier and third field of every line, and the lines' other facts checked on the way.
std::vector<std::string> IdsAndEntries(const std::string& index) {
    std::vector<std::string> out;
    EXPECT_EQ(index.substr(index.size() - 2), "\r\n");
    for (const std::string& line : SplitCrLf(index)) {
        const std::vector<std::string> fields = SplitLikeTheTool(line, "|");
        EXPECT_EQ(fields.size(), 5u) << line;
        if (fields.size() == 5)
            out.push_back(fields[1] + " " + fields[2]);
    }
    return out;
}

TEST(IndexMaker, IndexesWhatTheInfFilesDeclareNewestPackageFirst) {
    const KitCopy kit;
    kit.Write("WIN7X64.INDEX", "stale|PCI\\VEN_0000&DEV_0000|nowhere\\x.inf\r\n");
    const Findings findings = kit.Make();
    // Hub identifiers, class-wide identifiers and the sections of other systems stay out.
    const std::vector<std::string> x64 = {
        "PCI\\VEN_1912&DEV_0014 Renesas_USB3_2016\\rnxhci2.inf",
        "PCI\\VEN_1912&DEV_0014 Renesas_USB3_2013\\rnxhci.inf",
        "PCI\\VEN_1912&DEV_0014&CC_0C0330 Renesas_USB3_2013\\rnxhci.inf",
        "PCI\\VEN_1912&DEV_0014&SUBSYS_00000000&REV_03 Renesas_USB3_2013\\rnxhci.inf",
        "PCI\\VEN_1912&DEV_0015 Renesas_USB3_2016\\rnxhci2.inf",
        "PCI\\VEN_1B73&DEV_1100 Fresco_FL1100\\Controller",
        "PCI\\VEN_1B73&DEV_1100&SUBSYS_11001B73 Fresco_FL1100\\Controller",
        "PCI\\VEN_8086&DEV_A36D Intel_8thA_USB3.A_Win7\\ixhci.inf",
        "PCI\\VEN_8086&DEV_A36D&CC_0C0330 Intel_8thA_USB3.A_Win7\\ixhci.inf",
    };
    // The existing file keeps its spelling; no second file appears beside it.
    const std::string index64 = kit.Read("WIN7X64.INDEX");
    EXPECT_FALSE(fs::exists(kit / "Win7X64.index"));
    EXPECT_EQ(IdsAndEntries(index64), x64);
    std::vector<std::string> x86 = x64;
    x86.erase(x86.begin() + 5, x86.begin() + 7);
    EXPECT_EQ(IdsAndEntries(kit.Read("Win7x86.index")), x86);
    // Descriptions from [Strings.0804] in the index's code page.
    EXPECT_EQ(index64.substr(0, index64.find('|')),
              "Renesas uPD720201 USB 3.0 \xD6\xF7\xBB\xFA\xBF\xD8\xD6\xC6\xC6\xF7");

    ASSERT_EQ(findings.all().size(), 2u);
    for (const Finding& finding : findings.all()) {
        EXPECT_EQ(finding.severity, Severity::kNote);
        EXPECT_EQ(finding.text,
                  "PCI\\VEN_1912&DEV_0014 is served by 2 packages; the tool takes Renesas_USB3_2016 "
                  "(04/15/2016,3.0.40.0), before Renesas_USB3_2013 (09/12/2013,3.0.23.0)");
    }

    // The same packages give the same bytes, and an unchanged file is not written again.
    const auto written = fs::last_write_time(kit / "WIN7X64.INDEX");
    kit.Make();
    EXPECT_EQ(kit.Read("WIN7X64.INDEX"), index64);
    EXPECT_EQ(fs::last_write_time(kit / "WIN7X64.INDEX"), written);
}

TEST(IndexMaker, InformativeFieldsCannotBreakALine) {
    struct FieldCase {
        const char* description;  // UTF-8
        const char* field;        // in code page 936
    } cases[] = {
        {"A|B", "A/B"},
        {"tab\there", "tab here"},
        {"\xE4\xB8\xBB|x", "\xD6\xF7/x"},
        // The euro sign is one byte, 0x80, in code page 936, which the tool reads as a lead byte.
        {"ends \xE2\x82\xAC", "ends ?"},
        {"\xE2\x82\xAC x", "\x80 x"},
    };
    for (const FieldCase& c : cases) {
        PackageInf inf;
        inf.package = "P";
        inf.infPath = inf.entry = "P\\a.inf";
        inf.inf = ReadDriverInf(
            std::string("\xEF\xBB\xBF[Version]\nSignature=$Windows NT$\nClass=USB\n[Manufacturer]\nM=D,NTamd64\n"
                        "[D.NTamd64]\n%N%=i,PCI\\VEN_1106&DEV_3483\n[Strings]\nN=\"") +
                c.description + "\"\n",
            InfTarget());
        Findings findings;
        const std::string index = FormatIndex(PlanIndex({inf}), 936, "x.index", findings);
        EXPECT_EQ(index, std::string(c.field) + "|PCI\\VEN_1106&DEV_3483|P\\a.inf||P\\a.inf\r\n") << c.description;
    }
}

TEST(PayloadCheck, NamesWhatWouldGoWrong) {
    using Change = std::function<void(const KitCopy&)>;
    auto remove = [](const char* path) { return Change([path](const KitCopy& kit) { fs::remove_all(kit / path); }); };
    auto append = [](const char* line) {
        return Change([line](const KitCopy& kit) { kit.Write("Win7X64.index", kit.Read("Win7X64.index") + line); });
    };
    const std::string laterOnly =
        "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=USB\r\nCatalogFile=n.cat\r\n"
        "DriverVer=01/01/2020,1.0\r\n[Manufacturer]\r\nM=D,NTamd64.10.0\r\n[D.NTamd64.10.0]\r\n"
        "d=i,PCI\\VEN_1B21&DEV_3241\r\n";
    struct CheckCase {
        const char* name;
        Change change;
        Severity severity;
        const char* where;
        const char* text;
    } cases[] = {
        {"no 64-bit devcon", remove("devcon_x64.exe"), Severity::kError, "devcon_x64.exe", "missing"},
        {"no 32-bit DISM", remove("Dism/x86"), Severity::kError, "Dism/x86/dism.exe", "missing"},
        {"bare LF line ends",
         [](const KitCopy& kit) {
             std::string index = kit.Read("Win7X64.index");
             for (size_t at; (at = index.find("\r\n")) != std::string::npos;)
                 index.erase(at, 1);
             kit.Write("Win7X64.index", index);
         },
         Severity::kError, "Win7X64.index:1", "not CR LF"},
        {"two fields", append("a|PCI\\VEN_1912&DEV_0014\r\n"), Severity::kError, "Win7X64.index:10",
         "fewer than three"},
        {"a package that is gone", append("a|PCI\\VEN_1912&DEV_0014|Gone\\x.inf\r\n"), Severity::kError,
         "Win7X64.index:10", "names nothing in Win7X64/"},
        {"no folder part", append("a|PCI\\VEN_1912&DEV_0014|x.inf\r\n"), Severity::kError, "Win7X64.index:10",
         "would inject all of Win7X64\\"},
        {"a slash", append("a|PCI\\VEN_1912&DEV_0014|Renesas_USB3_2013/rnxhci.inf\r\n"), Severity::kError,
         "Win7X64.index:10", "holds \"/\""},
        {"an identifier the package does not serve",
         append("a|PCI\\VEN_1912&DEV_0099|Renesas_USB3_2013\\rnxhci.inf\r\n"), Severity::kWarning, "Win7X64.index:10",
         "no INF below Renesas_USB3_2013\\ serves PCI\\VEN_1912&DEV_0099"},
        {"a zero byte",
         [](const KitCopy& kit) { kit.Write("Win7X64.index", kit.Read("Win7X64.index") + '\0' + "a|b|c\r\n"); },
         Severity::kError, "Win7X64.index", "zero byte"},
        {"a package without INF", [](const KitCopy& kit) { kit.Write("Win7X64/Empty/readme.txt", "x"); },
         Severity::kError, "Win7X64/Empty", "no INF file"},
        {"a package for Windows 10 only", [&](const KitCopy& kit) { kit.Write("Win7X64/Later/n.inf", laterOnly); },
         Severity::kError, "Win7X64/Later/n.inf",
         "serves no device on Windows 7 x64 (its models sections are for "
         "NTamd64.10.0 only)"},
        {"a package no line leads to", [](const KitCopy& kit) { kit.Write("Win7X64/Later/n.inf", "x"); },
         Severity::kError, "Win7X64/Later", "no line of Win7X64.index leads to this package folder"},
        {"an INF Windows does not read",
         [](const KitCopy& kit) { kit.Write("Win7X86/Intel_8thA_USB3.A_Win7/ixhci.inf", "[V"); }, Severity::kError,
         "Win7X86/Intel_8thA_USB3.A_Win7/ixhci.inf:1", "Windows will not read this INF"},
        {"an INF directly in the base", [](const KitCopy& kit) { kit.Write("Win7X86/loose.inf", "x"); },
         Severity::kError, "Win7X86/loose.inf", "belongs to no package folder"},
        {"the tool's own package missing", remove("Win7X86/Intel_8thA_USB3.A_Win7"), Severity::kError,
         "Win7X86/Intel_8thA_USB3.A_Win7", "8th- and 9th-generation"},
        {"names in two cases", [](const KitCopy& kit) { kit.Write("Win7X64/renesas_usb3_2013/X.inf", "x"); },
         Severity::kError, "Win7X64/renesas_usb3_2013", "only in letter case"},
        {"a catalog that is not there", remove("Win7X64/Renesas_USB3_2016/rnx64.cat"), Severity::kWarning,
         "Win7X64/Renesas_USB3_2016/rnxhci2.inf", "names the catalog rnx64.cat, which is not beside it"},
        {"an unsigned 64-bit package",
         [](const KitCopy& kit) {
             std::string inf = kit.Read("Win7X64/Fresco_FL1100/Hub/flhub.inf");
             inf.replace(inf.find("CatalogFile"), 1, ";");
             kit.Write("Win7X64/Fresco_FL1100/Hub/flhub.inf", inf);
         },
         Severity::kWarning, "Win7X64/Fresco_FL1100/Hub/flhub.inf", "names no catalog"},
    };
    const KitCopy clean;
    clean.Make();
    Findings none;
    CheckPayload(clean.Tree(), CheckOptions(), none);
    for (const Finding& finding : none.all())
        ADD_FAILURE() << FormatFinding(finding);

    for (const CheckCase& c : cases) {
        const KitCopy kit;
        kit.Make();
        c.change(kit);
        Findings findings;
        CheckPayload(kit.Tree(), CheckOptions(), findings);
        bool found = false;
        for (const Finding& f : findings.all())
            found =
                found || (f.severity == c.severity && f.where == c.where && f.text.find(c.text) != std::string::npos);
        EXPECT_TRUE(found) << c.name << ": no " << c.where << ": ..." << c.text;
    }

    // A payload larger than the scratch space of Windows PE.
    CheckOptions small;
    small.scratchBytes = 64 << 10;
    Findings size;
    CheckPayload(clean.Tree(), small, size);
    ASSERT_EQ(size.all().size(), 1u);
    EXPECT_EQ(size.all()[0].text.rfind("the payload unpacks to 0.1 MB", 0), 0u) << size.all()[0].text;
}

}  // namespace
