// The sample payload's devcon: "hwids" lists the present devices through SetupAPI, or prints the
// listing file named by TOVUSB_DEVCON_LISTING byte for byte so tests decide what the survey sees.
#include <windows.h>

#include <setupapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tools/common/std_output_win32.h"
#include "tools/devcon/devcon_listing.h"

namespace {

constexpr const char* kListingVariable = "TOVUSB_DEVCON_LISTING";

// The raw bytes of a registry property; empty when the device has none.
std::vector<char> DeviceProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
    std::vector<char> buffer(256);
    for (;;) {
        DWORD needed = 0;
        if (SetupDiGetDeviceRegistryPropertyA(devices, &device, property, nullptr,
                                              reinterpret_cast<BYTE*>(buffer.data()), static_cast<DWORD>(buffer.size()),
                                              &needed)) {
            buffer.resize(needed < buffer.size() ? needed : buffer.size());
            return buffer;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size())
            return {};
        buffer.resize(needed);
    }
}

std::string TextProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
    const std::vector<char> bytes = DeviceProperty(devices, device, property);
    return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), '\0'));
}

// A REG_MULTI_SZ property: zero-terminated strings, the list ended by an empty one.
std::vector<std::string> ListProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
    const std::vector<char> bytes = DeviceProperty(devices, device, property);
    std::vector<std::string> list;
    size_t i = 0;
    while (i < bytes.size() && bytes[i] != '\0') {
        const auto end = std::find(bytes.begin() + i, bytes.end(), '\0');
        list.emplace_back(bytes.begin() + i, end);
        i = static_cast<size_t>(end - bytes.begin()) + 1;
    }
    return list;
}

bool PresentDevices(std::vector<DeviceRecord>& out) {
    HDEVINFO devices = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        DeviceRecord record;
        char id[1024];
        if (!SetupDiGetDeviceInstanceIdA(devices, &device, id, sizeof(id), nullptr))
            continue;
        record.instanceId = id;
        record.name = TextProperty(devices, device, SPDRP_FRIENDLYNAME);
        if (record.name.empty())
            record.name = TextProperty(devices, device, SPDRP_DEVICEDESC);
        record.hardwareIds = ListProperty(devices, device, SPDRP_HARDWAREID);
        record.compatibleIds = ListProperty(devices, device, SPDRP_COMPATIBLEIDS);
        out.push_back(std::move(record));
    }
    SetupDiDestroyDeviceInfoList(devices);
    return true;
}

// Prints the named file unchanged; false when it cannot be read whole.
bool PrintListingFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof(chunk), &got, nullptr) != FALSE) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return ok && WriteStd(STD_OUTPUT_HANDLE, bytes);
}

std::string ListingFileFromEnvironment() {
    char value[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableA(kListingVariable, value, sizeof(value));
    if (length == 0 || length >= sizeof(value))
        return std::string();
    return std::string(value, length);
}

bool SameAsciiCase(const char* a, const char* b) {
    return lstrcmpiA(a, b) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || !SameAsciiCase(argv[1], "hwids")) {
        WriteStd(STD_OUTPUT_HANDLE, DevconUsage());
        return kDevconUsage;
    }
    const std::string listing = ListingFileFromEnvironment();
    if (!listing.empty()) {
        if (PrintListingFile(listing))
            return kDevconOk;
        const DWORD error = GetLastError();
        WriteStd(STD_ERROR_HANDLE, "devcon failed: cannot print the listing file " + listing + " named by " +
                                       kListingVariable + " (error " + std::to_string(error) + ").\r\n");
        return kDevconFailed;
    }
    const std::vector<std::string> patterns(argv + 2, argv + argc);
    std::vector<DeviceRecord> present;
    if (!PresentDevices(present)) {
        const DWORD error = GetLastError();
        WriteStd(STD_ERROR_HANDLE,
                 "devcon failed: SetupAPI lists no devices (error " + std::to_string(error) + ").\r\n");
        return kDevconFailed;
    }
    std::vector<DeviceRecord> selected;
    for (DeviceRecord& device : present) {
        if (DeviceSelected(device, patterns))
            selected.push_back(std::move(device));
    }
    WriteStd(STD_OUTPUT_HANDLE, FormatHwidsListing(selected));
    return kDevconOk;
}
