// The quick reading of what an INF serves against the full reading, on the layouts where a cut by
// section lines could go wrong.
#include <gtest/gtest.h>

#include "inf/section_lines.h"
#include "inf/served_ids.h"

namespace {

constexpr char kHead[] =
    "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=USB\r\n[Manufacturer]\r\n%M%=Dev,NTamd64\r\n";

std::string Utf16(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

TEST(ReadServedIds, AgreesWithTheFullReading) {
    const std::string head = kHead;
    const struct {
        const char* name;
        std::string inf;
        std::vector<std::string> ids;
    } cases[] = {
        {"plain",
         head + "[Dev.NTamd64]\r\n%D%=I,pci\\ven_1&dev_2, PCI\\CC_0C0330\r\n[Strings]\r\nD=\"x\"\r\n",
         {"PCI\\VEN_1&DEV_2", "PCI\\CC_0C0330"}},
        {"decorations chosen",
         head + "[Dev]\r\nx=I,A\r\n[Dev.NTamd64]\r\nx=I,B\r\n[Dev.NTamd64.10.0]\r\nx=I,C\r\n",
         {"B"}},
        {"only for Windows 10",
         std::string(kHead).replace(std::string(kHead).find("NTamd64"), 7, "NTamd64.10.0") +
             "[Dev.NTamd64.10.0]\r\nx=I,C\r\n",
         {}},
        {"sections merged",
         head + "[Dev.NTamd64]\r\nx=I,A\r\n[Other]\r\ny=1\r\n[dev.ntamd64]\r\nx=I,B\r\n",
         {"A", "B"}},
        {"models lines read in place",
         head + "[Dev.NTamd64]\r\n x = I ,\tpci\\a b , B \r\nI,C\r\nx,y=I,D\r\nx=I,,E,;F\r\nx=%I%,H\r\n",
         {"PCI\\A B", "B", "E", "H"}},
        {"quotation in a models line", head + "[Dev.NTamd64]\r\nx=I,A\r\n\"D\"=I,\"B,C\"\r\n", {"A", "B,C"}},
        {"identifier from a string",
         head + "[Dev.NTamd64]\r\nx=I,%Id%\r\n[Strings]\r\nId=\"USB\\ROOT_HUB30\"\r\n",
         {"USB\\ROOT_HUB30"}},
        {"models section from a string",
         "[Version]\r\nSignature=\"$Windows NT$\"\r\n[Manufacturer]\r\n%M%=%S%,NTamd64\r\n[Dev.NTamd64]\r\nx=I,A\r\n"
         "[Strings]\r\nS=Dev\r\n",
         {"A"}},
        {"quotation over a section line",
         head + "[Dev.NTamd64]\r\nx=I,A,\"B\r\n[Strings]\r\nC\"\r\n",
         {"A", "B\r\n[STRINGS]\r\nC"}},
        {"quotation in a comment",
         head + "[Dev.NTamd64]\r\n; \"a\r\nx=I,\"A\r\n[Strings]\r\n\"\r\n",
         {"A\r\n[STRINGS]\r\n"}},
        {"continuation into a section line",
         head + "[Dev.NTamd64]\r\nx=I,A, \\ ; more\r\n[Other]\r\n",
         {"A", "[OTHER]"}},
        {"continuation with nothing after it",
         head + "[Dev.NTamd64]\r\nx=I,A, \\\r\n[Other]\r\n\\\n[]=I,B\r\n",
         {"A", "[OTHER]", "B"}},
        {"continuation at the end", head + "[Dev.NTamd64]\r\nx=I,A\\", {"A"}},
        {"entry before the first section", "x=1\r\n" + head + "[Dev.NTamd64]\r\nx=I,A\r\n", {}},
        {"no closing bracket", head + "[Dev.NTamd64\r\nx=I,A\r\n", {}},
        {"Ctrl+Z ends the file", head + "[Dev.NTamd64]\r\nx=I,A\r\n\x1A[Dev.NTamd64]\r\nx=I,B\r\n", {"A"}},
        {"bracket inside a line", head + "[Dev.NTamd64]\r\nx=I,A[1]\r\n  [Other] tail \"\r\nx=I,B\r\n", {"A[1]"}},
        {"CR line ends", std::string("[Version]\rSignature=$Chicago$\r[Manufacturer]\rM=Dev\r[Dev]\rx=I,A\r"), {}},
        {"head sections written twice",
         head + "[Dev.NTamd64]\r\nx=I,A\r\n[Version]\r\nDriverVer=01/01/2020\r\n[Manufacturer]\r\n%N%=Dev,NTamd64\r\n",
         {"A", "A"}},
        {"no signature", "[Version]\r\n[Manufacturer]\r\nM=Dev,NTamd64\r\n[Dev.NTamd64]\r\nx=I,A\r\n", {}},
    };
    InfTarget target;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string& bytes : {c.inf, Utf16(c.inf), "\xEF\xBB\xBF" + c.inf}) {
            const ServedIds full = ServedIdsOf(ReadDriverInf(bytes, target));
            const ServedIds quick = ReadServedIds(bytes, target);
            EXPECT_EQ(quick.ids, full.ids);
            EXPECT_EQ(quick.opened, full.opened);
            EXPECT_EQ(full.ids, c.ids);
            // The block scan and the unit-by-unit one find the same section lines.
            const size_t width = bytes[0] == '\xFF' ? 2 : 1;
            const size_t bom = bytes[0] == '\xFF' ? 2 : (bytes[0] == '\xEF' ? 3 : 0);
            const std::string_view body = std::string_view(bytes).substr(bom);
            const auto fast = FindSectionLines(body, width), plain = FindSectionLines(body, width, UnitScan::kOneByOne);
            ASSERT_EQ(fast.has_value(), plain.has_value());
            if (fast) {
                EXPECT_EQ(fast->end, plain->end);
                ASSERT_EQ(fast->lines.size(), plain->lines.size());
                for (size_t i = 0; i < fast->lines.size(); ++i)
                    EXPECT_EQ(fast->lines[i].start, plain->lines[i].start);
            }
        }
    }
    // The 32-bit reading takes the plain section of the old form.
    InfTarget x86;
    x86.architecture = InfArchitecture::kX86;
    const struct {
        std::string inf;
        std::vector<std::string> ids;
    } oldForms[] = {
        {"[Version]\r\nSignature=$Chicago$\r\n[Manufacturer]\r\nM=Dev\r\n[Dev]\r\nx=I,A\r\n", {"A"}},
        // [Version] and [Manufacturer] read as models sections: the quick reading parses them once
        // for both uses.
        {"[Version]\r\nSignature=$Chicago$\r\nx=I,V\r\n[Manufacturer]\r\nM=Version\r\nN=Dev\r\nO=Manufacturer\r\n"
         "[Dev]\r\nx=I,A\r\n",
         {"V", "A"}},
    };
    for (const auto& c : oldForms) {
        SCOPED_TRACE(c.inf);
        EXPECT_EQ(ReadServedIds(c.inf, x86).ids, c.ids);
        EXPECT_EQ(ServedIdsOf(ReadDriverInf(c.inf, x86)).ids, c.ids);
    }
}

}  // namespace
