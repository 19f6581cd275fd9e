// A block of memory inside another process, for the messages whose pointers the receiver uses in
// its own address space (status-bar texts, folder-dialog paths, tree-view items).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

class RemoteBlock {
  public:
    // Reserves and commits `size` bytes in the process (which needs PROCESS_VM_OPERATION,
    // PROCESS_VM_READ and PROCESS_VM_WRITE access).
    RemoteBlock(HANDLE process, size_t size);
    ~RemoteBlock();
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool ok() const { return address_ != nullptr; }
    void* address() const { return address_; }
    LPARAM lparam() const { return reinterpret_cast<LPARAM>(address_); }

    bool Write(const void* data, size_t size, size_t offset = 0);
    bool Read(void* into, size_t size, size_t offset = 0) const;
    // The zero-terminated text at the offset, at most the block's size.
    std::string ReadText(size_t offset = 0) const;

  private:
    HANDLE process_;
    void* address_ = nullptr;
    size_t size_ = 0;
};
