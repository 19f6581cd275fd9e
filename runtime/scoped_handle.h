// The one owner of system handles: kernel objects, find searches, GDI objects and file numbers,
// each kind told apart by a traits type that knows its empty value and how it is closed.
// Movable, never copied: a copy would close the handle twice. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

#include "runtime/file_numbers.h"

template <typename Traits>
class ScopedHandle {
  public:
    using Handle = typename Traits::Handle;

    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Detach()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() { Close(); }

    Handle get() const { return handle_; }
    bool IsOpen() const { return Traits::IsValid(handle_); }
    explicit operator bool() const { return IsOpen(); }

    // False when the system refused to close it: for a file, written data may not have reached
    // the disk. The holder is empty afterwards either way.
    bool Close() {
        if (!IsOpen())
            return true;
        const bool closed = Traits::Close(handle_);
        handle_ = Traits::Empty();
        return closed;
    }
    // Takes the handle over, closing the one held before.
    void Attach(Handle handle) {
        Close();
        handle_ = handle;
    }
    Handle Detach() { return std::exchange(handle_, Traits::Empty()); }
    // For the out-parameter of a call that opens one: closes the one held before.
    Handle* Receive() {
        Close();
        return &handle_;
    }

  private:
    Handle handle_ = Traits::Empty();
};

// Kernel objects whose failed opening is null: processes, threads, pipes, events, timers.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(Handle h) { return ::CloseHandle(h) != FALSE; }
};
using KernelHandle = ScopedHandle<KernelHandleTraits>;

// Files, whose failed opening is INVALID_HANDLE_VALUE.
struct FileHandleTraits : KernelHandleTraits {
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
};
using FileHandle = ScopedHandle<FileHandleTraits>;

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static bool Close(Handle h) { return ::FindClose(h) != FALSE; }
};
using FindHandle = ScopedHandle<FindHandleTraits>;

template <typename Object>
struct GdiObjectTraits {
    using Handle = Object;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static bool Close(Handle h) { return ::DeleteObject(h) != FALSE; }
};
using GdiBrush = ScopedHandle<GdiObjectTraits<HBRUSH>>;
using GdiFont = ScopedHandle<GdiObjectTraits<HFONT>>;

// The runtime's file numbers, whose failed opening is 0.
struct FileNumberTraits {
    using Handle = int32_t;
    static Handle Empty() { return 0; }
    static bool IsValid(Handle n) { return n != 0; }
    static bool Close(Handle n) {
        CloseFileNumber(n);
        return true;
    }
};
using FileNumber = ScopedHandle<FileNumberTraits>;
