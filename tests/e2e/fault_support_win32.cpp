// Support of the fault scenarios.
#include "tests/e2e/fault_support.h"

#include <cstring>
#include <vector>

#include "tests/e2e/driver/window_search.h"
#include "tests/e2e/e2e_session.h"
#include "tests/support/unix_side.h"

namespace {

// A write that the file system refuses: a new entry in a folder, or an open for writing of a file.
bool WriteRefused(const std::string& windowsPath) {
    const DWORD attributes = GetFileAttributesA(windowsPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        const std::string probe = windowsPath + (windowsPath.back() == '\\' ? "" : "\\") + "immutable-probe";
        if (CreateDirectoryA(probe.c_str(), nullptr)) {
            RemoveDirectoryA(probe.c_str());
            return false;
        }
        return true;
    }
    HANDLE file = CreateFileA(windowsPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return true;
    CloseHandle(file);
    return false;
}

}  // namespace

ImmutablePath::ImmutablePath(const std::string& windowsPath)
    : windowsPath_(windowsPath), unixPath_(windowsPath.empty() ? std::string() : UnixPathOf(windowsPath)) {
    if (unixPath_.empty() || !StartUnixProgram("/usr/bin/chattr", "+i " + UnixQuoted(unixPath_)))
        return;
    ok_ = WaitUntil([&] { return WriteRefused(windowsPath_); }, 10000);
}

ImmutablePath::~ImmutablePath() {
    if (unixPath_.empty())
        return;
    // The run's folders must be removable again before the next run clears them.
    if (StartUnixProgram("/usr/bin/chattr", "-i " + UnixQuoted(unixPath_)))
        WaitUntil([&] { return !WriteRefused(windowsPath_); }, 10000);
}

namespace {

uint64_t TotalBytes(const std::string& root) {
    ULARGE_INTEGER total;
    return GetDiskFreeSpaceExA(root.c_str(), nullptr, &total, nullptr) ? total.QuadPart : 0;
}

bool WriteFiller(const std::string& path, uint64_t size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // Written out: a sparse file would take no space on tmpfs.
    const std::vector<char> chunk(1 << 20, 'f');
    bool ok = true;
    for (uint64_t left = size; ok && left > 0;) {
        const DWORD n = static_cast<DWORD>(left < chunk.size() ? left : chunk.size());
        DWORD written = 0;
        ok = WriteFile(file, chunk.data(), n, &written, nullptr) && written == n;
        left -= n;
    }
    return CloseHandle(file) && ok;
}

}  // namespace

SmallDrive::SmallDrive(const std::string& root, uint64_t size, uint64_t fill)
    : root_(root), unixPath_(UnixPathOf(root)), size_(size) {
    if (unixPath_.empty() || !StartUnixProgram("/usr/bin/mount", "-t tmpfs -o size=" + std::to_string(size) +
                                                                     " tovusb-small " + UnixQuoted(unixPath_)))
        return;
    mounted_ = true;
    ok_ = WaitUntil([&] { return TotalBytes(root_) == size_; }, 10000) &&
          (fill == 0 || WriteFiller(root_ + "filler.bin", fill));
}

SmallDrive::~SmallDrive() {
    if (!mounted_)
        return;
    // Lazily: whatever still holds the drive open does not keep it mounted.
    if (StartUnixProgram("/usr/bin/umount", "-l " + UnixQuoted(unixPath_)))
        WaitUntil([&] { return TotalBytes(root_) != size_; }, 10000);
}

std::string SystemText(DWORD code) {
    char text[1024];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                             sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' '))
        --n;
    return std::string(text, n);
}

std::string ErrorReason(DWORD code) {
    char number[16];
    wsprintfA(number, code >= 0x10000 ? "0x%08lX" : "%lu", code);
    const std::string text = SystemText(code);
    return std::string("错误 ") + number + (text.empty() ? "" : ": " + text);
}

HeldOpenFile::HeldOpenFile(const std::string& path, DWORD sharing)
    : file_(CreateFileA(path.c_str(),
                        GENERIC_READ | GENERIC_WRITE,
                        sharing,
                        nullptr,
                        OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL,
                        nullptr)) {}

HeldOpenFile::~HeldOpenFile() {
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
}

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : name_(name) {
    SetEnvironmentVariableA(name, value.c_str());
}

ScopedVariable::~ScopedVariable() {
    SetEnvironmentVariableA(name_.c_str(), nullptr);
}

namespace {

// `count` clicks of the left button at a point of the screen, through the system's input queue.
bool ClickAt(int x, int y, int count) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[1 + 2 * 2] = {};
    if (count < 1 || count > 2)
        return false;
    const int used = 1 + 2 * count;
    for (int i = 0; i < used; ++i) {
        INPUT& input = inputs[i];
        input.type = INPUT_MOUSE;
        input.mi.dx = static_cast<LONG>((x * 65535LL + width / 2) / (width - 1));
        input.mi.dy = static_cast<LONG>((y * 65535LL + height / 2) / (height - 1));
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
        if (i > 0)
            input.mi.dwFlags |= i % 2 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    return SendInput(used, inputs, sizeof(INPUT)) == static_cast<UINT>(used);
}

}  // namespace

bool DoubleClick(HWND window) {
    RECT rect;
    if (!window || !GetWindowRect(window, &rect))
        return false;
    return ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, 2);
}

bool ClickCloseBox(HWND window) {
    RECT rect;
    if (!window || !GetWindowRect(window, &rect))
        return false;
    // The window answers hit tests even while it is disabled.
    for (int y = rect.top; y < rect.top + 40 && y < rect.bottom; ++y) {
        for (int x = rect.right - 1; x > rect.right - 80 && x > rect.left; --x) {
            DWORD_PTR hit = HTNOWHERE;
            if (SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &hit) &&
                hit == HTCLOSE)
                return ClickAt(x, y, 1);
        }
    }
    return false;
}

namespace {

// One entry of the system's handle list (SystemHandleInformation, class 16).
struct SystemHandleEntry {
    ULONG processId;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

// Wine answers GetProcessHandleCount with 0; the system's handle list has every process's handles.
bool CountHandles(HANDLE process, DWORD* count) {
    if (GetProcessHandleCount(process, count) && *count != 0)
        return true;
    auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return false;
    std::vector<char> buffer(1 << 16);
    LONG status = 0;
    for (;;) {
        ULONG needed = 0;
        status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status != static_cast<LONG>(0xC0000004))  // STATUS_INFO_LENGTH_MISMATCH
            break;
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0)
        return false;
    ULONG entries = 0;
    std::memcpy(&entries, buffer.data(), sizeof entries);
    const auto* entry = reinterpret_cast<const SystemHandleEntry*>(buffer.data() + sizeof(void*));
    const DWORD id = GetProcessId(process);
    *count = 0;
    for (ULONG i = 0; i < entries; ++i)
        *count += entry[i].processId == id ? 1 : 0;
    return *count != 0;
}

// Committed private memory, region by region: what the process itself allocated (Wine reports
// no PrivateUsage).
SIZE_T PrivateBytes(HANDLE process) {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    const char* at = nullptr;
    while (VirtualQueryEx(process, at, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
}

}  // namespace

bool ReadProcessCounters(HANDLE process, ProcessCounters* counters) {
    counters->privateBytes = PrivateBytes(process);
    return CountHandles(process, &counters->handles) && counters->privateBytes != 0;
}

std::string FaultToolPath() {
    return E2EBinFolder() + "TovUSB-faults.exe";
}

std::string WrongPasswordToolPath() {
    return E2EBinFolder() + "TovUSB-faults-wrong-password.exe";
}

std::string FaultyDismPath() {
    return E2EBinFolder() + "dism_fault.exe";
}

bool InstallFaultyDism(const std::string& fault) {
    for (const char* build : {"x64", "x86"}) {
        const std::string dism = std::string(tool::kWorkDir) + "\\dism\\" + build + "\\dism.exe";
        DeleteFileA(dism.c_str());
        if (!CopyFileA(FaultyDismPath().c_str(), dism.c_str(), FALSE))
            return false;
    }
    const std::string control = E2EScratchFolder() + "dism-records\\dism-fault.txt";
    return fault.empty() ? (DeleteFileA(control.c_str()), true) : WriteWholeFile(control, fault);
}
