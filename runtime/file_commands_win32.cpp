// File and directory commands over the ANSI file functions of Windows.
#include "runtime/file_commands.h"

#include <windows.h>

#include <cstring>

#include "runtime/byte_set.h"
#include "runtime/memory.h"
#include "runtime/path_rules.h"
#include "runtime/scoped_handle.h"
#include "runtime/text_commands.h"

namespace {

OwnedText JoinPath(const char* directory, const char* name) {
    const size_t a = std::strlen(directory);
    const size_t b = std::strlen(name);
    auto* text = static_cast<char*>(RuntimeAlloc(a + 1 + b + 1));
    std::memcpy(text, directory, a);
    text[a] = '\\';
    std::memcpy(text + a + 1, name, b + 1);
    return OwnedText(text);
}

// The entries of one directory level, in enumeration order, with their full paths.
class EntryList {
  public:
    EntryList() = default;
    EntryList(const EntryList&) = delete;
    EntryList& operator=(const EntryList&) = delete;
    ~EntryList() {
        for (size_t i = 0; i < count_; ++i)
            RuntimeFree(entries_[i].path);
        RuntimeFree(entries_);
    }
    void Add(OwnedText path, bool isDirectory, bool isLink) {
        if (count_ == capacity_) {
            capacity_ = capacity_ ? capacity_ * 2 : 16;
            entries_ = static_cast<Entry*>(RuntimeRealloc(entries_, capacity_ * sizeof(Entry)));
        }
        entries_[count_++] = {path.Detach(), isDirectory, isLink};
    }
    size_t size() const { return count_; }
    const char* path(size_t i) const { return entries_[i].path; }
    bool isDirectory(size_t i) const { return entries_[i].isDirectory; }
    bool isLink(size_t i) const { return entries_[i].isLink; }

  private:
    struct Entry {
        char* path;
        bool isDirectory;
        bool isLink;  // a junction or symbolic link: the folder it names is someone else's
    };
    Entry* entries_ = nullptr;
    size_t count_ = 0;
    size_t capacity_ = 0;
};

// Removes what lies in the directory, ignoring every failure. Names beginning with "." are not
// touched: besides "." and "..", that keeps marker files such as ".keep" and the folder with them.
void RemoveContents(const char* directory) {
    EntryList entries;
    {
        OwnedText pattern = JoinPath(directory, "*.*");
        WIN32_FIND_DATAA found;
        FindHandle search(FindFirstFileA(pattern.c_str(), &found));
        if (!search.IsOpen())
            return;
        do {
            if (found.cFileName[0] == '.')
                continue;
            entries.Add(JoinPath(directory, found.cFileName), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                        (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
        } while (FindNextFileA(search.get(), &found));
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries.isDirectory(i)) {
            // A linked folder loses its link only; what it leads to may be the target system.
            if (!entries.isLink(i))
                RemoveContents(entries.path(i));
            RemoveDirectoryA(entries.path(i));
        } else {
            DeleteFileA(entries.path(i));
        }
    }
}

// Whether the directory is itself a junction or symbolic link. Asked without its trailing
// separators, since with one the answer is that of the folder the link leads to.
bool IsLinkedFolder(const char* directory) {
    size_t n = std::strlen(directory);
    while (n > 0 && EndsWithSeparator(directory, n))
        --n;
    OwnedText bare = MakeText(directory, n);
    const DWORD attributes = GetFileAttributesA(bare.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

Result LastFailure() {
    return Result::Failure(GetLastError());
}

Result WriteAll(HANDLE file, const uint8_t* bytes, uint32_t n) {
    while (n > 0) {
        DWORD written = 0;
        if (!WriteFile(file, bytes, n, &written, nullptr))
            return LastFailure();
        // A write that makes no progress and names no error would loop for ever; a full disk is
        // the likely cause.
        if (written == 0)
            return Result::Failure(ERROR_DISK_FULL);
        bytes += written;
        n -= written;
    }
    return Result::Success();
}

// The full form of the path, as the file system will read it; empty when the system cannot
// make one.
OwnedText FullPath(const char* path) {
    char buffer[MAX_PATH];
    DWORD n = GetFullPathNameA(path, sizeof buffer, buffer, nullptr);
    if (n == 0)
        return OwnedText();
    if (n < sizeof buffer)
        return MakeText(buffer, n);
    // Too long for the buffer: n is the size it needs, terminator included.
    auto* longer = static_cast<char*>(RuntimeAlloc(n));
    const DWORD again = GetFullPathNameA(path, n, longer, nullptr);
    if (again == 0 || again >= n) {
        RuntimeFree(longer);
        return OwnedText();
    }
    return OwnedText(longer);
}

}  // namespace

Result MakeDirectory(const char* path) {
    if (!CreateDirectoryA(path ? path : "", nullptr))
        return LastFailure();
    return Result::Success();
}

bool RemoveDirectoryTree(const char* path) {
    const char* directory = RemovableDirectoryPath(path);
    if (directory == nullptr)
        return false;
    // Windows reads "C:\\", "C:\.", "\" and the like as the root of a drive: the tree below
    // would be emptied before the last step, removing the root, failed. Only the full form tells.
    OwnedText full = FullPath(directory);
    if (full.empty() || NamesWholeVolume(full.c_str()))
        return false;
    if (!IsLinkedFolder(directory))
        RemoveContents(directory);
    return RemoveDirectoryA(directory) != FALSE;
}

bool FileExists(const char* path) {
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA(path ? path : "", &found));
    return search.IsOpen();
}

Result ChangeFileAttributes(const char* path, int32_t attributes) {
    const DWORD kSettable =
        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    if (!SetFileAttributesA(path ? path : "", static_cast<DWORD>(attributes) & kSettable))
        return LastFailure();
    return Result::Success();
}

OwnedByteSet ReadFileBytes(const char* path) {
    if (path == nullptr || path[0] == '\0')
        return OwnedByteSet();
    // Other readers may share the file; a writer could change it under the single read.
    FileHandle file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return OwnedByteSet();
    LARGE_INTEGER size;
    // The length is a signed 32-bit count: files of 2 GB and more read as empty, like empty ones.
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > 0x7FFFFFFF)
        return OwnedByteSet();
    const auto length = static_cast<DWORD>(size.QuadPart);
    OwnedByteSet result(static_cast<uint8_t*>(RuntimeAlloc(8 + static_cast<size_t>(length))));
    DWORD got = 0;
    if (!ReadFile(file.get(), result.get() + 8, length, &got, nullptr) || got == 0)
        return OwnedByteSet();
    const uint32_t header[2] = {1, got};
    std::memcpy(result.get(), header, sizeof header);
    return result;
}

Result WriteFileBytes(const char* path, std::initializer_list<const uint8_t*> byteSets) {
    // What CreateFileA says of an empty path on Windows.
    if (path == nullptr || path[0] == '\0')
        return Result::Failure(ERROR_PATH_NOT_FOUND);
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return LastFailure();
    for (const uint8_t* block : byteSets) {
        const uint32_t n = ByteSetLength(block);
        if (n == 0)
            continue;
        const Result written = WriteAll(file.get(), ByteSetBytes(block), n);
        if (!written)
            return written;
    }
    if (!file.Close())
        return LastFailure();
    return Result::Success();
}

Result DriveFreeSpace(const char* path, uint64_t* freeBytes) {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(path ? path : "", &available, nullptr, nullptr))
        return LastFailure();
    *freeBytes = available.QuadPart;
    return Result::Success();
}
