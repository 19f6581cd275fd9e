// The sample payload's committed index files: their format as the tool reads it, and that every
// line leads to a driver folder of the sample payload whose INF names the line's identifier.
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/text_rules.h"
#include "tests/payload/payload_test_support.h"

namespace {

namespace fs = std::filesystem;

std::string SampleRoot() {
    return HostPath(TOVUSB_SAMPLE_SOURCE_DIR);
}

std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        if (end == std::string::npos) {
            if (start < text.size())
                fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string AsciiUpperText(std::string text) {
    for (char& c : text)
        c = static_cast<char>(AsciiUpper(static_cast<uint8_t>(c)));
    return text;
}

// The folder the tool injects for a third field: its directory part, after one trailing "\".
std::string ParentFolderOf(std::string path) {
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    const size_t last = path.rfind('\\');
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

fs::path Under(const std::string& base, const std::string& relative) {
    fs::path path(base);
    for (const std::string& piece : SplitAt(relative, '\\'))
        path /= piece;
    return path;
}

bool IsUpperPciId(const std::string& id) {
    // PCI\VEN_xxxx&DEV_xxxx with upper-case hexadecimal digits, as devcon prints identifiers.
    const std::string shape = "PCI\\VEN_####&DEV_####";
    if (id.size() != shape.size())
        return false;
    for (size_t i = 0; i < id.size(); ++i) {
        const uint8_t c = static_cast<uint8_t>(id[i]);
        if (shape[i] == '#' ? !(IsAsciiDigit(c) || (c >= 'A' && c <= 'F')) : c != static_cast<uint8_t>(shape[i]))
            return false;
    }
    return true;
}

struct IndexCase {
    const char* indexFile;
    const char* driverBase;
    std::set<std::string> indexedFolders;  // the package folders the index must lead to
};

// The eight controller families by PCI vendor: AMD, ASMedia, Etron, Fresco Logic, Intel,
// Renesas (and NEC before it), Texas Instruments, VIA.
const std::set<std::string> kVendors = {"1022", "1B21", "1B6F", "1B73", "8086", "1033", "1912", "104C", "1106"};

TEST(SampleIndexFiles, ParseAsTheToolReadsThem) {
    const IndexCase cases[] = {
        {"Win7X64.index",
         "Win7X64",
         {"AMD_HSeries_USB3.0_Win7\\", "AMD_USB3.1_WinA\\", "AMD_Zeppelin_USB3.0_Win7\\", "ASMedia_USB3.A_Win7\\",
          "Etron_USB3.0_WinA\\", "Fresco_Logic_USB3.0_WinA\\", "Intel_7_USB3.0_Win7\\", "Intel_8A_USB3.A_Win7\\",
          "Intel_8thA_USB3.A_Win7\\", "Intel_TR_USB3.1_Win7\\", "Renesas_USB3.0_Gen1_WinA\\",
          "Renesas_USB3.0_Gen2_WinA\\", "Texas_Instruments_USB3.0_WinA\\", "VIA_USB3.0_WinA\\"}},
        {"Win7x86.index",
         "Win7X86",
         {"AMD_HSeries_USB3.0_Win7\\", "AMD_USB3.1_WinA\\", "ASMedia_USB3.A_Win7\\", "Etron_USB3.0_WinA\\",
          "Fresco_Logic_USB3.0_WinA\\", "Intel_7_USB3.0_Win7\\", "Intel_8A_USB3.A_Win7\\", "Intel_8thA_USB3.A_Win7\\",
          "Intel_TR_USB3.1_Win7\\", "Renesas_USB3.0_Gen1_WinA\\", "Renesas_USB3.0_Gen2_WinA\\",
          "Texas_Instruments_USB3.0_WinA\\", "VIA_USB3.0_WinA\\"}},
    };
    for (const IndexCase& c : cases) {
        SCOPED_TRACE(c.indexFile);
        std::string text;
        ASSERT_TRUE(ReadWholeFile((fs::path(SampleRoot()) / c.indexFile).string(), text));
        ASSERT_FALSE(text.empty());
        // Every line ends in CR LF: a bare LF would merge lines into one for the tool.
        for (size_t i = 0; i < text.size(); ++i) {
            ASSERT_NE(text[i], '\0') << "byte " << i;
            if (text[i] == '\n') {
                ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;
            }
            if (text[i] == '\r') {
                ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at byte " << i;
            }
        }
        ASSERT_EQ(text.substr(text.size() - 2), "\r\n");

        const std::vector<std::string> lines = SplitCrLf(text);
        const std::string base = (fs::path(SampleRoot()) / c.driverBase).string();
        std::set<std::string> folders;
        std::set<std::string> vendors;
        for (size_t n = 0; n < lines.size(); ++n) {
            const std::string& line = lines[n];
            SCOPED_TRACE("line " + std::to_string(n + 1) + ": " + line);
            const std::vector<std::string> fields = SplitAt(line, '|');
            ASSERT_GE(fields.size(), 3u);
            const std::string& id = fields[1];
            EXPECT_TRUE(IsUpperPciId(id));
            vendors.insert(id.substr(8, 4));

            // The tool takes the first line holding "|id|" (ASCII case ignored): it must be this one.
            const std::string key = AsciiUpperText("|" + id + "|");
            for (size_t earlier = 0; earlier < n; ++earlier)
                EXPECT_EQ(AsciiUpperText(lines[earlier]).find(key), std::string::npos) << "shadowed by " << earlier + 1;

            const std::string& entry = fields[2];
            ASSERT_FALSE(entry.empty());
            EXPECT_NE(entry[0], '\\');
            EXPECT_EQ(entry.find('/'), std::string::npos);
            EXPECT_TRUE(fs::exists(Under(base, entry))) << entry;
            const std::string folder = ParentFolderOf(entry);
            ASSERT_FALSE(folder.empty());
            folders.insert(folder);

            // DISM recurses into the folder: some INF below it must name the identifier.
            bool named = false;
            for (const auto& item : fs::recursive_directory_iterator(Under(base, folder))) {
                if (item.path().extension() != ".inf")
                    continue;
                std::string inf;
                ASSERT_TRUE(ReadWholeFile(item.path().string(), inf));
                named = named || AsciiUpperText(inf).find("," + id + "\r\n") != std::string::npos;
            }
            EXPECT_TRUE(named) << "no INF under " << folder << " names " << id;
        }
        EXPECT_EQ(folders, c.indexedFolders);
        EXPECT_EQ(vendors, kVendors);
    }
}

TEST(SampleIndexFiles, DriverFoldersOfThePayloadLayoutExist) {
    struct LayoutCase {
        const char* driverBase;
        std::vector<std::string> folders;
    } cases[] = {
        {"Win7X64",
         {"AMD_HSeries_USB3.0_Win7", "AMD_USB3.1_WinA", "AMD_Zeppelin_USB3.0_Win7", "ASMedia_USB3.A_Win7",
          "Etron_USB3.0_WinA", "Fresco_Logic_USB3.0_WinA\\A_Controller", "Fresco_Logic_USB3.0_WinA\\B_Hub",
          "Intel_7_USB3.0_Win7", "Intel_8A_USB3.A_Win7", "Intel_8thA_USB3.A_Win7", "Intel_TR_USB3.1_Win7",
          "Renesas_USB3.0_Gen1_WinA", "Renesas_USB3.0_Gen2_WinA", "Texas_Instruments_USB3.0_WinA", "VIA_USB3.0_WinA"}},
        {"Win7X86",
         {"AMD_HSeries_USB3.0_Win7", "AMD_USB3.1_WinA", "ASMedia_USB3.A_Win10", "ASMedia_USB3.A_Win7",
          "ASMedia_USB3.A_Win8", "Etron_USB3.0_WinA", "Fresco_Logic_USB3.0_WinA\\A_Controller",
          "Fresco_Logic_USB3.0_WinA\\B_Hub", "Intel_7_USB3.0_Win7", "Intel_8A_USB3.A_Win7", "Intel_8thA_USB3.A_Win7",
          "Intel_TR_USB3.1_Win7", "Renesas_USB3.0_Gen1_WinA", "Renesas_USB3.0_Gen2_WinA",
          "Texas_Instruments_USB3.0_WinA", "VIA_USB3.0_WinA"}},
    };
    for (const LayoutCase& c : cases) {
        const std::string base = (fs::path(SampleRoot()) / c.driverBase).string();
        for (const std::string& folder : c.folders) {
            int infs = 0;
            std::error_code error;
            for (const auto& item : fs::directory_iterator(Under(base, folder), error))
                infs += item.path().extension() == ".inf" ? 1 : 0;
            EXPECT_EQ(infs, 1) << c.driverBase << "\\" << folder;
        }
    }
}

}  // namespace
