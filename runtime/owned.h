// Move-only owners of the runtime's heap blocks: Text, ByteSet and arrays of Text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "runtime/memory.h"

// A Text block (zero-terminated GBK bytes, null = empty) owned by the holder.
class OwnedText {
  public:
    OwnedText() = default;
    explicit OwnedText(char* block) : block_(block) {}
    OwnedText(OwnedText&& other) noexcept : block_(other.Detach()) {}
    OwnedText& operator=(OwnedText&& other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    OwnedText(const OwnedText&) = delete;
    OwnedText& operator=(const OwnedText&) = delete;
    ~OwnedText() { RuntimeFree(block_); }

    // The block itself: null for the empty text.
    char* get() const { return block_; }
    // Never null: what a command argument needs.
    const char* c_str() const { return block_ ? block_ : ""; }
    size_t size() const { return block_ ? std::strlen(block_) : 0; }
    bool empty() const { return block_ == nullptr || block_[0] == '\0'; }
    std::string_view view() const { return {c_str(), size()}; }

    void Attach(char* block) {
        RuntimeFree(block_);
        block_ = block;
    }
    char* Detach() {
        char* b = block_;
        block_ = nullptr;
        return b;
    }

  private:
    char* block_ = nullptr;
};

// A ByteSet block (words 1 and n, then n bytes; null = empty) owned by the holder.
class OwnedByteSet {
  public:
    OwnedByteSet() = default;
    explicit OwnedByteSet(uint8_t* block) : block_(block) {}
    OwnedByteSet(OwnedByteSet&& other) noexcept : block_(other.Detach()) {}
    OwnedByteSet& operator=(OwnedByteSet&& other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    OwnedByteSet(const OwnedByteSet&) = delete;
    OwnedByteSet& operator=(const OwnedByteSet&) = delete;
    ~OwnedByteSet() { RuntimeFree(block_); }

    uint8_t* get() const { return block_; }
    size_t size() const;
    const uint8_t* data() const { return block_ ? block_ + 8 : nullptr; }

    void Attach(uint8_t* block) {
        RuntimeFree(block_);
        block_ = block;
    }
    uint8_t* Detach() {
        uint8_t* b = block_;
        block_ = nullptr;
        return b;
    }

  private:
    uint8_t* block_ = nullptr;
};

// A one-dimensional array block of Text (words 1 and n, then n text pointers). The owner frees
// every element, then the block. Members are read by 1-based index with the range checks that
// raise runtime errors 4 (below 1) and 1 (past the end).
class TextArray {
  public:
    TextArray() = default;
    explicit TextArray(void* block) : block_(block) {}
    TextArray(TextArray&& other) noexcept : block_(other.Detach()) {}
    TextArray& operator=(TextArray&& other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    TextArray(const TextArray&) = delete;
    TextArray& operator=(const TextArray&) = delete;
    ~TextArray() { Attach(nullptr); }

    void* get() const { return block_; }
    // Member count: the product of the dimension sizes.
    uint32_t size() const;
    // Member by 0-based slot, unchecked; null for an empty member.
    const char* operator[](size_t slot) const;
    // Member by 1-based index; an index out of range is a fatal runtime error reported for the
    // check site (unit, position).
    const char* Member(int32_t index, uint32_t unit, int32_t position) const;

    void Attach(void* block);
    void* Detach() {
        void* b = block_;
        block_ = nullptr;
        return b;
    }

  private:
    void* block_ = nullptr;
};
