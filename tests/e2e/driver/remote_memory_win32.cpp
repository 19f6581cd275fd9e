// Memory blocks in another process.
#include "tests/e2e/driver/remote_memory.h"

#include <vector>

RemoteBlock::RemoteBlock(HANDLE process, size_t size) : process_(process), size_(size) {
    address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBlock::~RemoteBlock() {
    if (address_)
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBlock::Write(const void* data, size_t size, size_t offset) {
    if (!address_ || offset + size > size_)
        return false;
    SIZE_T written = 0;
    return WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &written) && written == size;
}

bool RemoteBlock::Read(void* into, size_t size, size_t offset) const {
    if (!address_ || offset + size > size_)
        return false;
    SIZE_T got = 0;
    return ReadProcessMemory(process_, static_cast<char*>(address_) + offset, into, size, &got) && got == size;
}

std::string RemoteBlock::ReadText(size_t offset) const {
    if (offset >= size_)
        return std::string();
    std::vector<char> bytes(size_ - offset);
    if (!Read(bytes.data(), bytes.size(), offset))
        return std::string();
    size_t n = 0;
    while (n < bytes.size() && bytes[n] != '\0')
        ++n;
    return std::string(bytes.data(), n);
}
