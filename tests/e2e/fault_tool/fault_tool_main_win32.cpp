// Entry of the test builds of the tool (TovUSB-faults.exe and its variants), never shipped: the
// sandbox tool itself, with one fault injected before it starts, as the environment says.
//   TOVUSB_FAULT_ALLOCATION_SIZE=N   the first allocation of exactly N bytes fails
//   TOVUSB_FAULT_FORM=truncate:N     the stored form description lacks its last N bytes
//   TOVUSB_FAULT_FORM=byte:O:V       byte O of the form description holds V (decimal)
//   TOVUSB_FAULT_ARCHIVE=corrupt     the middle of the payload archive is overwritten
// The stored data lies in the image's read-only section; it is made writable for the change.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/program_entry.h"
#include "app/sandbox/sandbox_override.h"
#include "resources/payload_constants.h"
#include "runtime/memory.h"
#include "window/form_blob.h"

namespace {

std::string Variable(const char* name) {
    char value[256];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

bool Overwrite(const void* at, const void* bytes, size_t n) {
    DWORD old = 0;
    void* target = const_cast<void*>(at);
    if (!VirtualProtect(target, n, PAGE_READWRITE, &old))
        return false;
    std::memcpy(target, bytes, n);
    VirtualProtect(target, n, old, &old);
    return true;
}

bool CorruptForm(const std::string& fault) {
    if (fault.rfind("truncate:", 0) == 0) {
        const uint32_t cut = static_cast<uint32_t>(std::strtoul(fault.c_str() + 9, nullptr, 10));
        const uint32_t length = kFormDescriptionLength > cut ? kFormDescriptionLength - cut : 0;
        return Overwrite(&kFormDescriptionLength, &length, sizeof length);
    }
    if (fault.rfind("byte:", 0) == 0) {
        char* rest = nullptr;
        const unsigned long offset = std::strtoul(fault.c_str() + 5, &rest, 10);
        const auto value = static_cast<uint8_t>(std::strtoul(rest && *rest == ':' ? rest + 1 : "0", nullptr, 10));
        return offset < kFormDescriptionLength && Overwrite(kFormDescription + offset, &value, 1);
    }
    return false;
}

// 7-Zip checks every unpacked stream against its CRC: garbage in the packed data of the middle
// of the archive fails the extraction, while the headers at its ends still read.
bool CorruptArchive() {
    uint32_t length = 0;
    std::memcpy(&length, kPayloadArchive + 4, 4);
    const uint8_t* data = kPayloadArchive + 8;
    uint8_t garbage[256];
    for (size_t i = 0; i < sizeof garbage; ++i)
        garbage[i] = static_cast<uint8_t>(data[length / 2 + i] ^ 0xA5);
    return length > 2 * sizeof garbage && Overwrite(data + length / 2, garbage, sizeof garbage);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InstallSandboxOverride();
    const std::string form = Variable("TOVUSB_FAULT_FORM");
    if (!form.empty() && !CorruptForm(form))
        return 3;
    if (Variable("TOVUSB_FAULT_ARCHIVE") == "corrupt" && !CorruptArchive())
        return 3;
    const std::string size = Variable("TOVUSB_FAULT_ALLOCATION_SIZE");
    if (!size.empty())
        FailNextAllocationOfSize(std::strtoul(size.c_str(), nullptr, 10));
    return RunTovUsb();
}
