// Reading driver INF files for Windows 7: models sections chosen by decoration, identifiers,
// encodings, [Version] facts, and input that must never crash or hang the reader.
#include "inf/driver_inf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kHeader[] = "[Version]\r\nSignature=\"$WINDOWS NT$\"\r\nClass=USB\r\n";

InfTarget Target(InfArchitecture architecture, uint16_t language = 0x0804) {
    InfTarget target;
    target.architecture = architecture;
    target.language = language;
    return target;
}

// Every identifier the target takes, upper-cased, in file order, separated by spaces.
std::string IdsFor(const std::string& bytes, InfArchitecture architecture) {
    std::string out;
    for (const InfModel& model : ReadDriverInf(bytes, Target(architecture)).models) {
        for (const HardwareId& id : model.ids)
            out += (out.empty() ? "" : " ") + id.upper;
    }
    return out;
}

TEST(DriverInf, ModelsOfTheSectionsWindows7Takes) {
    struct ModelsCase {
        const char* name;
        const char* body;
        const char* x86;
        const char* amd64;
    } cases[] = {
        {"one 64-bit section", "[Manufacturer]\n%M%=Dev,NTamd64\n[Dev.NTamd64]\n%D%=Inst,PCI\\VEN_8086&DEV_1E31\n", "",
         "PCI\\VEN_8086&DEV_1E31"},
        {"the most specific fitting decoration",
         "[Manufacturer]\n%M%=Dev,NTx86,NTamd64,NTamd64.6.1,NTamd64.10.0\n[Dev.NTx86]\nd=i,A\n"
         "[Dev.NTamd64]\nd=i,B\n[Dev.NTamd64.6.1]\nd=i,C\n[Dev.NTamd64.10.0]\nd=i,D\n",
         "A", "C"},
        {"Windows 10 only",
         "[Manufacturer]\n%M%=Dev,NTamd64.10.0,NTx86.10.0\n[Dev.NTamd64.10.0]\nd=i,A\n"
         "[Dev.NTx86.10.0]\nd=i,B\n",
         "", ""},
        {"undecorated: 32-bit only", "[Manufacturer]\nM=Dev\n[Dev]\nd=i,A\n", "A", ""},
        {"undecorated where no decoration fits",
         "[Manufacturer]\nM=Dev,NTx86.6.2\n[Dev]\nd=i,A\n[Dev.NTx86.6.2]\nd=i,B\n", "A", ""},
        {"architecture over plain NT, workstation over server",
         "[Manufacturer]\nM=Dev,NT.6.1,NTx86.6.1,NTx86.6.1.3,NTamd64.6.1.3,NTamd64.6.0\n[Dev.NT.6.1]\nd=i,A\n"
         "[Dev.NTx86.6.1]\nd=i,B\n[Dev.NTx86.6.1.3]\nd=i,C\n[Dev.NTamd64.6.1.3]\nd=i,D\n[Dev.NTamd64.6.0]\nd=i,E\n",
         "B", "E"},
        {"names in any case, hardware then compatible IDs",
         "[manufacturer]\n%m%=devs,ntamd64\n[DEVS.NTAMD64]\n%d% = inst, pci\\ven_1912&dev_0014&subsys_00141912&rev_03, "
         "PCI\\VEN_1912&DEV_0014&CC_0C0330,,PCI\\CC_0C0330\n",
         "", "PCI\\VEN_1912&DEV_0014&SUBSYS_00141912&REV_03 PCI\\VEN_1912&DEV_0014&CC_0C0330 PCI\\CC_0C0330"},
        {"two manufacturers, identifiers from strings",
         "[Manufacturer]\nA=One,NTamd64\nB=Two,NTamd64,NTx86\n[One.NTamd64]\nd=i,%Id%\n[Two.NTamd64]\nd=i,B\n"
         "[Two.NTx86]\nd=i,C\n[Strings]\nId=PCI\\VEN_1B21&DEV_1042\n",
         "C", "PCI\\VEN_1B21&DEV_1042 B"},
        {"a models section that is missing", "[Manufacturer]\nM=Dev,NTamd64\n", "", ""},
    };
    for (const ModelsCase& c : cases) {
        const std::string inf = kHeader + std::string(c.body);
        EXPECT_EQ(IdsFor(inf, InfArchitecture::kX86), c.x86) << c.name;
        EXPECT_EQ(IdsFor(inf, InfArchitecture::kAmd64), c.amd64) << c.name;
    }
    const DriverInf later = ReadDriverInf(kHeader + std::string(cases[2].body), Target(InfArchitecture::kAmd64));
    EXPECT_EQ(later.otherDecorations, (std::vector<std::string>{"NTamd64.10.0", "NTx86.10.0"}));
    const DriverInf missing = ReadDriverInf(kHeader + std::string(cases[8].body), Target(InfArchitecture::kAmd64));
    ASSERT_EQ(missing.problems.size(), 1u);
    EXPECT_EQ(missing.problems[0].text, "models section [Dev.NTamd64] is missing");
}

// UTF-8 text as UTF-16LE with its byte-order mark (characters of the Basic Multilingual Plane).
std::string Utf16Le(const std::string& utf8) {
    std::string out = "\xFF\xFE";
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<uint8_t>(utf8[i]);
        uint32_t unit = b;
        if (b >= 0xE0) {
            unit = (b & 0x0F) << 12 | (utf8[i + 1] & 0x3F) << 6 | (utf8[i + 2] & 0x3F);
            i += 3;
        } else {
            i += 1;
        }
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

TEST(DriverInf, EncodingsAndLocaleStrings) {
    // 控制器 in UTF-8 and in GBK.
    const std::string utf8Name = "\xE6\x8E\xA7\xE5\x88\xB6\xE5\x99\xA8";
    const std::string gbkName = "\xBF\xD8\xD6\xC6\xC6\xF7";
    auto text = [](const std::string& name) {
        return std::string(kHeader) +
               "[Manufacturer]\n%M%=Dev,NTamd64\n[Dev.NTamd64]\n%D%=Inst,PCI\\VEN_1B73&DEV_1100\n"
               "[Strings]\nD=\"Controller\"\n[Strings.0804]\nD=\"" +
               name + "\"\n";
    };
    struct EncodingCase {
        std::string bytes;
        InfEncoding encoding;
    } cases[] = {
        {Utf16Le(text(utf8Name)), InfEncoding::kUtf16Le},
        {"\xEF\xBB\xBF" + text(utf8Name), InfEncoding::kUtf8},
        {text(gbkName), InfEncoding::kAnsi},
    };
    for (const EncodingCase& c : cases) {
        for (uint16_t language : {0x0804, 0x0409}) {
            const DriverInf inf = ReadDriverInf(c.bytes, Target(InfArchitecture::kAmd64, language));
            EXPECT_EQ(inf.encoding, c.encoding);
            EXPECT_TRUE(inf.problems.empty());
            ASSERT_EQ(inf.models.size(), 1u);
            EXPECT_EQ(inf.models[0].description, language == 0x0804 ? utf8Name : "Controller");
            ASSERT_EQ(inf.models[0].ids.size(), 1u);
            EXPECT_EQ(inf.models[0].ids[0].upper, "PCI\\VEN_1B73&DEV_1100");
        }
    }
}

TEST(DriverInf, VersionClassAndCatalog) {
    struct VersionCase {
        const char* lines;
        bool valid;
        uint32_t date;  // yyyymmdd
        uint32_t version[4];
        const char* catalogX86;
        const char* catalogAmd64;
    } cases[] = {
        {"DriverVer=06/21/2017,1.16.44.3\nCatalogFile=all.cat\n", true, 20170621, {1, 16, 44, 3}, "all.cat", "all.cat"},
        {"DriverVer = 6-1-2024\nCatalogFile.NTamd64=a64.cat\nCatalogFile=all.cat\n",
         true,
         20240601,
         {},
         "all.cat",
         "a64.cat"},
        {"DriverVer=13/01/2024,1.0\nCatalogFile.NTx86=x86.cat\n", false, 0, {}, "x86.cat", ""},
        {"DriverVer=2024/06/01,1.0.0.0\n", false, 0, {}, "", ""},
        {"DriverVer=%Date%,%Ver%\nCatalogFile.NT=nt.cat\n", true, 20191105, {10, 0, 1, 7}, "nt.cat", "nt.cat"},
    };
    for (const VersionCase& c : cases) {
        const std::string inf = kHeader + std::string(c.lines) + "[Strings]\nDate=11/05/2019\nVer=10.0.1.7\n";
        for (InfArchitecture architecture : {InfArchitecture::kX86, InfArchitecture::kAmd64}) {
            const DriverInf read = ReadDriverInf(inf, Target(architecture));
            EXPECT_TRUE(read.opened);
            EXPECT_TRUE(IsUsbControllerClass(read));
            EXPECT_EQ(read.catalogFile, architecture == InfArchitecture::kX86 ? c.catalogX86 : c.catalogAmd64)
                << c.lines;
            const DriverVersion& v = read.driverVer;
            EXPECT_EQ(v.valid, c.valid) << c.lines;
            if (c.valid) {
                EXPECT_EQ(v.year * 10000 + v.month * 100 + v.day, c.date) << c.lines;
                EXPECT_EQ(std::vector<uint32_t>(v.version, v.version + 4),
                          std::vector<uint32_t>(c.version, c.version + 4));
            }
        }
    }
    // Newer dates win before versions; any readable DriverVer wins over none.
    auto version = [](const char* text) {
        return ReadDriverInf(kHeader + std::string("DriverVer=") + text + "\n", InfTarget()).driverVer;
    };
    const char* ascending[] = {"", "01/01/2015,9.9.9.9", "01/02/2015,1.0", "01/02/2015,1.0.0.1", "12/31/2016,0.1"};
    for (size_t i = 0; i + 1 < std::size(ascending); ++i) {
        EXPECT_EQ(CompareDriverVersions(version(ascending[i]), version(ascending[i + 1])), -1) << ascending[i];
        EXPECT_EQ(CompareDriverVersions(version(ascending[i + 1]), version(ascending[i])), 1) << ascending[i];
    }
    EXPECT_FALSE(IsUsbControllerClass(ReadDriverInf("[Version]\nSignature=$Chicago$\nClass=Net\n", InfTarget())));
    EXPECT_TRUE(IsUsbControllerClass(ReadDriverInf(
        "[Version]\nSignature=$Chicago$\nClassGuid={36fc9e60-c465-11cf-8056-444553540000}\n", InfTarget())));
}

TEST(DriverInf, NastyInputNeitherCrashesNorHangs) {
    const std::string models = "[Manufacturer]\nM=Dev,NTamd64\n[Dev.NTamd64]\n";
    const std::string good = kHeader + models + "%D%=Inst,PCI\\VEN_8086&DEV_1E31\n";
    std::string megabyteLine = kHeader + models + "%D%=Inst";
    size_t megabyteIds = 0;
    for (; megabyteLine.size() < (1u << 20); ++megabyteIds)
        megabyteLine += ",PCI\\VEN_1106&DEV_3483";
    static const char kZeroInside[] = "d=i,PCI\\VEN_8086\0&DEV_1E31\n";
    std::string noise(1 << 16, '\0');
    for (size_t i = 0, x = 12345; i < noise.size(); ++i, x = x * 1103515245 + 12345)
        noise[i] = static_cast<char>(x >> 16);
    struct NastyCase {
        const char* name;
        std::string bytes;
        bool opened;
        const char* ids;      // as IdsFor gives them, or null to only count them
        size_t idCount;       // when ids is null
        const char* problem;  // a problem text that must be reported, or null
    } cases[] = {
        {"truncated inside an identifier", good.substr(0, good.size() - 6), true, "PCI\\VEN_8086&DEV", 0, nullptr},
        {"unbalanced quote swallows the rest", kHeader + models + "%D%=\"Inst,A\nE=i,B\n", true, "", 0,
         "quotation mark without its closing one"},
        {"a string that refers to itself", kHeader + models + "%S%=Inst,%S%\n[Strings]\nS=\"x%S%x\"\n", true, "X%S%X",
         0, nullptr},
        {"a line of 1 MB", megabyteLine, true, nullptr, megabyteIds, nullptr},
        {"zero bytes", kHeader + models + std::string(kZeroInside, sizeof kZeroInside - 1), true,
         "PCI\\VEN_8086\xEF\xBF\xBD&DEV_1E31", 0, "could not be decoded"},
        {"UTF-16 of odd length", Utf16Le(good) + "\x41", true, "PCI\\VEN_8086&DEV_1E31", 0, "could not be decoded"},
        {"random bytes", noise, false, "", 0, nullptr},
        {"a lone bracket", "[", false, "", 0, "without its closing"},
        {"nothing at all", "", false, "", 0, "no [Version] Signature"},
        {"only a byte-order mark", "\xFF\xFE", false, "", 0, nullptr},
    };
    for (const NastyCase& c : cases) {
        const DriverInf inf = ReadDriverInf(c.bytes, Target(InfArchitecture::kAmd64));
        EXPECT_EQ(inf.opened, c.opened) << c.name;
        if (c.ids) {
            EXPECT_EQ(IdsFor(c.bytes, InfArchitecture::kAmd64), c.ids) << c.name;
        } else {
            ASSERT_EQ(inf.models.size(), 1u) << c.name;
            EXPECT_EQ(inf.models[0].ids.size(), c.idCount) << c.name;
        }
        if (c.problem) {
            bool reported = false;
            for (const InfProblem& problem : inf.problems)
                reported = reported || problem.text.find(c.problem) != std::string::npos;
            EXPECT_TRUE(reported) << c.name;
        }
    }
}

}  // namespace
