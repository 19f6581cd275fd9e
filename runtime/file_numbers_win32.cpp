// File numbers over Windows file handles, the registry of open file objects, and line insertion.
#include "runtime/file_numbers.h"

#include <windows.h>

#include <cstring>

#include "runtime/display_text.h"
#include "runtime/memory.h"

namespace {

// The runtime's file object, behind the number the logic holds.
struct DiskFile {
    HANDLE handle;
};

struct RegistryEntry {
    const void* file;
    uint8_t kind;
    // The number the logic holds for a file this runtime opened; 0 for an object that another
    // library registered. A number rather than the object's address: the logic keeps it in a
    // 32-bit integer, which holds no 64-bit address.
    int32_t number;
};

RegistryEntry* g_registry = nullptr;
size_t g_registryCount = 0;
size_t g_registryCapacity = 0;
int32_t g_lastNumber = 0;

RegistryEntry* FindEntry(const void* file) {
    for (size_t i = 0; i < g_registryCount; ++i) {
        if (g_registry[i].file == file)
            return &g_registry[i];
    }
    return nullptr;
}

RegistryEntry* FindNumber(int32_t number) {
    if (number == 0)
        return nullptr;
    for (size_t i = 0; i < g_registryCount; ++i) {
        if (g_registry[i].number == number)
            return &g_registry[i];
    }
    return nullptr;
}

// Counts up and hands each number out once until the count wraps: a number kept after its file
// was closed then names no file, where a reused one would name somebody else's.
int32_t NextFileNumber() {
    do {
        g_lastNumber = g_lastNumber == INT32_MAX ? 1 : g_lastNumber + 1;
    } while (FindNumber(g_lastNumber) != nullptr);
    return g_lastNumber;
}

DiskFile* RegisteredDiskFile(int32_t number) {
    const RegistryEntry* entry = FindNumber(number);
    if (entry == nullptr || entry->kind != kDiskFileKind)
        return nullptr;
    return static_cast<DiskFile*>(const_cast<void*>(entry->file));
}

// The bytes of the lines to insert, grown in the runtime heap.
class LineBuffer {
  public:
    LineBuffer() = default;
    LineBuffer(const LineBuffer&) = delete;
    LineBuffer& operator=(const LineBuffer&) = delete;
    ~LineBuffer() { RuntimeFree(bytes_); }
    void Append(const char* bytes, size_t n) {
        if (size_ + n > capacity_) {
            capacity_ = (size_ + n) * 2;
            bytes_ = static_cast<char*>(RuntimeRealloc(bytes_, capacity_));
        }
        std::memcpy(bytes_ + size_, bytes, n);
        size_ += n;
    }
    const char* data() const { return bytes_; }
    size_t size() const { return size_; }

  private:
    char* bytes_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

bool SeekTo(HANDLE file, int64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != FALSE;
}

bool ReadExactly(HANDLE file, void* buffer, DWORD n) {
    DWORD got = 0;
    return ReadFile(file, buffer, n, &got, nullptr) && got == n;
}

bool WriteExactly(HANDLE file, const void* bytes, DWORD n) {
    DWORD written = 0;
    return WriteFile(file, bytes, n, &written, nullptr) && written == n;
}

// The buffer the tail of a file moves through: up to kLargeChunk bytes from the process heap, so
// that a log of a hundred megabytes takes sixteen hundred reads and writes rather than twenty-five
// thousand (a larger block would be fresh pages for the heap to map on every call); the fixed
// small one when the heap cannot spare that much. Only the number of steps depends on the size:
// the bytes that end up in the file are the same.
class ChunkBuffer {
  public:
    static constexpr int64_t kSmallChunk = 4096;
    static constexpr int64_t kLargeChunk = 1 << 16;

    explicit ChunkBuffer(int64_t wanted) {
        if (wanted > kSmallChunk) {
            const int64_t size = wanted < kLargeChunk ? wanted : kLargeChunk;
            large_ = static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(size)));
            if (large_ != nullptr)
                size_ = size;
        }
    }
    ~ChunkBuffer() {
        if (large_ != nullptr)
            HeapFree(GetProcessHeap(), 0, large_);
    }
    ChunkBuffer(const ChunkBuffer&) = delete;
    ChunkBuffer& operator=(const ChunkBuffer&) = delete;

    uint8_t* data() { return large_ != nullptr ? large_ : small_; }
    int64_t size() const { return size_; }

  private:
    uint8_t small_[kSmallChunk];
    uint8_t* large_ = nullptr;
    int64_t size_ = kSmallChunk;
};

// Moves the bytes from `from` to `end` towards the end of the file by `distance`, last chunk
// first so that no byte is overwritten before it has been read.
bool ShiftTail(HANDLE file, int64_t from, int64_t end, int64_t distance) {
    ChunkBuffer buffer(end - from);
    while (end > from) {
        const int64_t chunk = end - from < buffer.size() ? end - from : buffer.size();
        const int64_t start = end - chunk;
        if (!SeekTo(file, start) || !ReadExactly(file, buffer.data(), static_cast<DWORD>(chunk)) ||
            !SeekTo(file, start + distance) || !WriteExactly(file, buffer.data(), static_cast<DWORD>(chunk)))
            return false;
        end = start;
    }
    return true;
}

}  // namespace

int32_t FileObjectKind(const void* file) {
    const RegistryEntry* entry = FindEntry(file);
    return entry ? entry->kind : -1;
}

void RegisterFileObject(const void* file, uint8_t kind) {
    if (FindEntry(file) != nullptr)
        return;
    if (g_registryCount == g_registryCapacity) {
        g_registryCapacity = g_registryCapacity ? g_registryCapacity * 2 : 8;
        g_registry =
            static_cast<RegistryEntry*>(RuntimeRealloc(g_registry, g_registryCapacity * sizeof(RegistryEntry)));
    }
    g_registry[g_registryCount++] = {file, kind, 0};
}

int32_t UnregisterFileObject(const void* file) {
    RegistryEntry* entry = FindEntry(file);
    if (entry == nullptr)
        return 0;
    *entry = g_registry[--g_registryCount];
    return 1;
}

int32_t OpenFileNumber(const char* path, std::optional<int32_t> mode, std::optional<int32_t> sharing) {
    const int32_t m = mode.value_or(3);
    const int32_t s = sharing.value_or(1);
    if (path == nullptr || path[0] == '\0' || m < 1 || m > 6 || s < 1 || s > 4)
        return 0;
    static constexpr DWORD kAccess[] = {GENERIC_READ,  GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE,
                                        GENERIC_WRITE, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    static constexpr DWORD kDisposition[] = {OPEN_EXISTING, OPEN_EXISTING, OPEN_EXISTING,
                                             CREATE_ALWAYS, OPEN_ALWAYS,   OPEN_ALWAYS};
    // What the other openers may do: the sharing value names what is denied to them.
    static constexpr DWORD kShare[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_SHARE_WRITE, FILE_SHARE_READ, 0};
    const HANDLE handle =
        CreateFileA(path, kAccess[m - 1], kShare[s - 1], nullptr, kDisposition[m - 1], FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    auto* file = static_cast<DiskFile*>(RuntimeAlloc(sizeof(DiskFile)));
    file->handle = handle;
    RegisterFileObject(file, kDiskFileKind);
    const int32_t number = NextFileNumber();
    FindEntry(file)->number = number;
    return number;
}

void CloseFileNumber(int32_t number) {
    DiskFile* file = RegisteredDiskFile(number);
    if (file == nullptr)
        return;
    UnregisterFileObject(file);
    CloseHandle(file->handle);
    RuntimeFree(file);
}

void* FileNumberHandle(int32_t number) {
    const DiskFile* file = RegisteredDiskFile(number);
    return file ? file->handle : nullptr;
}

bool InsertTextLines(int32_t number, std::initializer_list<TaggedValue> values) {
    const DiskFile* file = RegisteredDiskFile(number);
    if (file == nullptr)
        return false;
    const HANDLE handle = file->handle;
    LARGE_INTEGER zero = {};
    LARGE_INTEGER position;
    if (!SetFilePointerEx(handle, zero, &position, FILE_CURRENT))
        return false;
    const int64_t p = position.QuadPart;

    LineBuffer data;
    for (const TaggedValue& value : values) {
        if (!HasDisplayText(value.tag))
            continue;
        const OwnedText line = DisplayText(value);
        data.Append(line.c_str(), line.size());
        data.Append("\r\n", 2);
    }

    LARGE_INTEGER length;
    bool ok = GetFileSizeEx(handle, &length) != FALSE;
    if (ok && data.size() > 0 && length.QuadPart > p)
        ok = ShiftTail(handle, p, length.QuadPart, static_cast<int64_t>(data.size()));
    ok = ok && SeekTo(handle, p) &&
         (data.size() == 0 || WriteExactly(handle, data.data(), static_cast<DWORD>(data.size())));
    if (!ok)
        SeekTo(handle, p);
    return ok;
}
