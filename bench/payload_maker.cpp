// Lays out the start-up benchmark's payload: about 12 MB in several hundred files, in the layout
// the tool unpacks (devcon, DISM for both hosts, two index files, one package folder per
// controller family and architecture), mostly incompressible binaries plus INF text.
//
// Usage: payload_maker FOLDER. The content depends on nothing but this file: the generator is
// seeded and the engine's output is fixed by the C++ standard. Built and run on the host by
// scripts/bench.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::mt19937 g_random(20250611u);
uint64_t g_bytes = 0;
int g_files = 0;

uint32_t Below(uint32_t n) {
    return static_cast<uint32_t>(g_random() % n);
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "payload_maker: cannot write %s\n", path.string().c_str());
        std::exit(1);
    }
    g_bytes += bytes.size();
    ++g_files;
}

// A program image as far as a compressor sees one: a small header, a stretch of zero padding and
// repeated strings (about a tenth), the rest code and data that do not compress.
std::string Binary(size_t size) {
    std::string bytes = "MZ";
    bytes.resize(64, '\0');
    bytes += "This program cannot be run in DOS mode.\r\r\n$";
    bytes.resize(512, '\0');
    const size_t padding = size / 16;
    const size_t strings = size / 32;
    while (bytes.size() + 4 <= size - padding - strings) {
        const uint32_t word = g_random();
        bytes.append(reinterpret_cast<const char*>(&word), 4);
    }
    bytes.resize(size - padding - strings, '\0');
    static const char* const kStrings[] = {"IoCreateDevice", "KeInitializeSpinLock",  "WdfDriverCreate",
                                           "USBXHCI",        "ExAllocatePoolWithTag", "RtlInitUnicodeString"};
    while (bytes.size() < size - padding)
        bytes += kStrings[Below(6)];
    bytes.resize(size - padding);
    bytes.resize(size, '\0');
    return bytes;
}

std::string Hex4(uint32_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

struct Family {
    const char* folder;
    const char* vendor;  // PCI vendor identifier
    const char* stem;    // file name stem
};

const Family kFamilies[] = {
    {"AMD_HSeries_USB3.0_Win7", "1022", "amdhub3"},
    {"AMD_USB3.1_WinA", "1022", "amdxhc31"},
    {"AMD_Zeppelin_USB3.0_Win7", "1022", "amdzp"},
    {"ASMedia_USB3.A_Win7", "1B21", "asmtxhci"},
    {"ASMedia_USB3.A_Win8", "1B21", "asmthub3"},
    {"ASMedia_USB3.A_Win10", "1B21", "asmtxhci10"},
    {"Etron_USB3.0_WinA", "1B6F", "etxhci"},
    {"Fresco_Logic_USB3.0_WinA", "1B73", "flxhcic"},
    {"Intel_7_USB3.0_Win7", "8086", "iusb3xhc"},
    {"Intel_8A_USB3.A_Win7", "8086", "iusb3hub"},
    {"Intel_8thA_USB3.A_Win7", "8086", "iusb3xhc8"},
    {"Intel_TR_USB3.1_Win7", "8086", "ixhc31"},
    {"Renesas_USB3.0_Gen1_WinA", "1912", "nusb3xhc"},
    {"Renesas_USB3.0_Gen2_WinA", "1912", "rusb3xhc"},
    {"Texas_Instruments_USB3.0_WinA", "104C", "tixhci"},
    {"VIA_USB3.0_WinA", "1106", "viaxhc"},
};

bool InArchitecture(const std::string& folder, bool x64) {
    if (x64)
        return folder.find("Win8") == std::string::npos && folder.find("Win10") == std::string::npos;
    return folder != "AMD_Zeppelin_USB3.0_Win7";
}

// Device identifiers of a family: the same ones in its INF and in the index.
std::vector<std::string> DeviceIds(const Family& family, int count) {
    std::vector<std::string> ids;
    uint32_t seed = 2166136261u;  // FNV-1a of the folder name
    for (const char* c = family.folder; *c; ++c)
        seed = (seed ^ static_cast<uint8_t>(*c)) * 16777619u;
    std::mt19937 own(seed);
    for (int i = 0; i < count; ++i)
        ids.push_back(std::string("PCI\\VEN_") + family.vendor + "&DEV_" + Hex4(own()));
    return ids;
}

std::string Inf(const Family& family, const std::vector<std::string>& ids, bool x64, size_t size) {
    std::string text = "; " + std::string(family.stem) + ".inf\r\n; Copyright (c) vendor. All rights reserved.\r\n\r\n";
    text +=
        "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=USB\r\nClassGUID={36FC9E60-C465-11CF-8056-444553540000}\r\n";
    text += "Provider=%Vendor%\r\nCatalogFile=" + std::string(family.stem) +
            ".cat\r\nDriverVer=06/21/2016,5.0.4.43\r\n\r\n";
    text += std::string("[Manufacturer]\r\n%Vendor%=Devices,NT") + (x64 ? "amd64" : "x86") + "\r\n\r\n";
    text += std::string("[Devices.NT") + (x64 ? "amd64" : "x86") + "]\r\n";
    for (const std::string& id : ids)
        text += "%DeviceDesc%=Install, " + id + "&CC_0C0330\r\n";
    text += "\r\n[SourceDisksFiles]\r\n" + std::string(family.stem) + ".sys=1\r\n\r\n[Strings]\r\n";
    for (int line = 0; text.size() < size; ++line) {
        text += "; registry value " + std::to_string(line) + "\r\nHKR,Parameters\\Ports\\" + std::to_string(line % 8) +
                ",\"Setting" + std::to_string(Below(100000)) + "\",0x00010001," + std::to_string(Below(65536)) + "\r\n";
    }
    return text;
}

void Package(const fs::path& folder, const Family& family, bool x64, std::string& index) {
    const std::vector<std::string> ids = DeviceIds(family, 12 + static_cast<int>(Below(10)));
    const std::string stem = family.stem;
    WriteFile(folder / (stem + ".inf"), Inf(family, ids, x64, 12000 + Below(24000)));
    WriteFile(folder / (stem + ".cat"), Binary(8000 + Below(12000)));
    WriteFile(folder / (stem + ".sys"), Binary(50000 + Below(80000)));
    WriteFile(folder / (stem + "hub.sys"), Binary(30000 + Below(40000)));
    WriteFile(folder / (stem + "co.dll"), Binary(20000 + Below(30000)));
    WriteFile(folder / (stem + "res.dll"), Binary(8000 + Below(20000)));
    WriteFile(folder / "WdfCoInstaller01009.dll", Binary(55000 + Below(10000)));
    WriteFile(folder / "readme.txt", Inf(family, ids, x64, 2000).substr(0, 2000));
    for (int m = 0; m < 3; ++m)
        WriteFile(folder / "lang" / ("strings" + std::to_string(m) + ".mui"), Binary(3000 + Below(5000)));
    const std::string relative = folder.filename().string() + "\\" + stem + ".inf";
    for (const std::string& id : ids)
        index += std::string(family.vendor) + " USB 3.0 eXtensible Host Controller|" + id + "|" + relative + "\r\n";
}

void Dism(const fs::path& folder) {
    static const char* const kFiles[] = {"dism.exe",
                                         "dismapi.dll",
                                         "dismcore.dll",
                                         "dismcoreps.dll",
                                         "dismprov.dll",
                                         "wimgapi.dll",
                                         "wimmount.sys",
                                         "wimserv.exe",
                                         "pkgmgr.exe",
                                         "compatprovider.dll",
                                         "folderprovider.dll",
                                         "imagingprovider.dll",
                                         "logprovider.dll",
                                         "vhdprovider.dll",
                                         "wimprovider.dll",
                                         "ssshim.dll",
                                         "Microsoft.Dism.Powershell.dll"};
    for (const char* name : kFiles) {
        WriteFile(folder / name, Binary(30000 + Below(70000)));
        WriteFile(folder / "en-US" / (std::string(name) + ".mui"), Binary(6000 + Below(14000)));
    }
    for (const char* name : {"Dism.psd1", "Dism.Format.ps1xml", "Dism.Types.ps1xml"}) {
        std::string text;
        while (text.size() < 6000)
            text += "    <Property Name=\"Value" + std::to_string(Below(1000)) + "\" Type=\"System.String\" />\r\n";
        WriteFile(folder / name, text);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: payload_maker FOLDER\n");
        return 2;
    }
    const fs::path root = argv[1];
    std::error_code error;
    fs::remove_all(root, error);

    WriteFile(root / "devcon.exe", Binary(80384));
    WriteFile(root / "devcon_x64.exe", Binary(90112));
    Dism(root / "Dism" / "x86");
    Dism(root / "Dism" / "x64");
    for (bool x64 : {true, false}) {
        const fs::path base = root / (x64 ? "Win7X64" : "Win7X86");
        std::string index;
        for (const Family& family : kFamilies) {
            if (!InArchitecture(family.folder, x64))
                continue;
            if (std::string(family.folder) == "Fresco_Logic_USB3.0_WinA") {
                Package(base / family.folder / "A_Controller", family, x64, index);
                Package(base / family.folder / "B_Hub", family, x64, index);
            } else {
                Package(base / family.folder, family, x64, index);
            }
        }
        WriteFile(root / (x64 ? "Win7X64.index" : "Win7x86.index"), index);
    }
    std::printf("payload_maker: %d files, %.1f MB in %s\n", g_files, static_cast<double>(g_bytes) / (1 << 20),
                root.string().c_str());
    return 0;
}
