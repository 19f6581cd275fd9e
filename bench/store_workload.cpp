// Generating the driver store workload.
#include "bench/store_workload.h"

#include <cstdio>

namespace {

std::string Utf16Le(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    out.reserve(2 + 2 * ascii.size());
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

std::string Hex(unsigned value, int digits) {
    char text[20];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

// One package's INF text; `size` is what its bulk sections should come to.
std::string MakeInf(size_t index, size_t size, size_t& served) {
    const std::string n = std::to_string(index);
    std::string t;
    t.reserve(size + 4096);
    t += "; Generated package " + n + " of the store benchmark.\r\n;\r\n; Copyright (c) the benchmark.\r\n\r\n";
    t += "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=" + std::string(index % 5 == 0 ? "USB" : "System") +
         "\r\nClassGuid={4D36E97D-E325-11CE-BFC1-08002BE10318}\r\nProvider=%Vendor%\r\n"
         "DriverVer=06/21/2006,6.1.7600." +
         n + "\r\nCatalogFile=pkg" + n + ".cat\r\n\r\n";
    t += "[SourceDisksNames]\r\n1=%Disk%,,,\\x64\r\n\r\n[DestinationDirs]\r\nDefaultDestDir=12\r\n\r\n";
    t += "[ControlFlags]\r\nExcludeFromSelect=*\r\n\r\n";
    t += "[Manufacturer]\r\n%Vendor%=Models,NTamd64,NTx86,NTamd64.6.2\r\n\r\n";
    const size_t models = 4 + index % 12;
    for (const char* decoration : {"NTamd64", "NTx86", "NTamd64.6.2"}) {
        t += std::string("[Models.") + decoration + "]\r\n";
        for (size_t m = 0; m < models; ++m) {
            const std::string dev = Hex(static_cast<unsigned>((index * 31 + m) & 0xFFFF), 4);
            t += "%Device" + std::to_string(m) + ".Desc%=Install_" + std::to_string(m % 3) + ", PCI\\VEN_" +
                 Hex(static_cast<unsigned>(0x1000 + index % 0x800), 4) + "&DEV_" + dev + "&SUBSYS_0000" + dev +
                 ", PCI\\VEN_" + Hex(static_cast<unsigned>(0x1000 + index % 0x800), 4) + "&DEV_" + dev + "\r\n";
        }
        t += "\r\n";
    }
    served += 2 * models;
    // The bulk: install sections, their file lists and registry lines, and the strings.
    size_t part = 0;
    while (t.size() < size) {
        const std::string p = std::to_string(part);
        t += "[Install_" + p + ".NT]\r\nCopyFiles=Files_" + p + "\r\nAddReg=Reg_" + p +
             "\r\nInclude=machine.inf\r\n"
             "Needs=PCI.Install\r\n\r\n";
        t += "[Files_" + p + "]\r\n";
        for (int f = 0; f < 40; ++f)
            t += "drv" + n + "_" + p + "_" + std::to_string(f) + ".sys,,,0x00004000 ; kernel component\r\n";
        t += "\r\n[Reg_" + p + "]\r\n";
        for (int r = 0; r < 40; ++r)
            t += "HKR,\"Parameters\\\\Device" + std::to_string(r) + "\",\"Setting" + std::to_string(r) +
                 "\",0x00010001,0x" + Hex(static_cast<unsigned>(r * 2654435761u), 8) + "\r\n";
        t += "\r\n[Install_" + p + ".NT.Services]\r\nAddService=svc" + n + ",0x00000002,Service_" + p + ",EventLog_" +
             p + "\r\n\r\n";
        t += "[Service_" + p +
             "]\r\nDisplayName=%Service.Desc%\r\nServiceType=1\r\nStartType=3\r\n"
             "ErrorControl=1\r\nServiceBinary=%12%\\drv" +
             n + ".sys\r\nLoadOrderGroup=Base\r\n\r\n";
        ++part;
        if (t.size() > size / 2)
            break;
    }
    t += "[Strings]\r\nVendor=\"Benchmark Vendor " + n +
         "\"\r\nDisk=\"Benchmark disk\"\r\n"
         "Service.Desc=\"Benchmark service\"\r\n";
    for (size_t m = 0; m < models; ++m)
        t += "Device" + std::to_string(m) + ".Desc=\"Benchmark device " + std::to_string(m) + " of package " + n +
             "\"\r\n";
    for (size_t s = 0; t.size() < size; ++s)
        t += "Message" + std::to_string(s) + "=\"A localizable message text number " + std::to_string(s) +
             ", long as the texts of real packages are, with punctuation; and more words.\"\r\n";
    return t;
}

}  // namespace

StoreWorkload MakeStoreWorkload(size_t packages, size_t totalBytes) {
    StoreWorkload work;
    const size_t average = totalBytes / packages;
    for (size_t i = 0; i < packages; ++i) {
        // Sizes from a fifth to nearly twice the average; every third INF UTF-16, at twice the bytes
        // for its text.
        const size_t factor = 20 + (i * 37) % 161;  // 20..180, averaging about 100
        const bool utf16 = i % 3 == 0;
        const size_t bytes = average * factor / 100;
        std::string text = MakeInf(i, utf16 ? bytes / 2 : bytes, work.servedIds);
        StoreInf inf;
        inf.name = "pkg" + std::to_string(i) + ".inf";
        inf.folder = inf.name + "_amd64_neutral_" + Hex(static_cast<unsigned>(i * 2654435761u), 8) + "00000000";
        inf.bytes = utf16 ? Utf16Le(text) : std::move(text);
        work.totalBytes += inf.bytes.size();
        work.infs.push_back(std::move(inf));
    }
    return work;
}
