// Collecting a child's output from its pipe until the child has ended: the polling loop of the
// command runner over an abstract pipe and child, and the text it builds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/owned.h"

// A child's output gathered as Text: chunks appended in arrival order, zero bytes dropped (a
// Text ends at its first zero byte, and the bytes behind one are still output). The storage
// grows geometrically, so capturing tens of megabytes costs linear time.
class OutputAccumulator {
  public:
    OutputAccumulator() = default;
    ~OutputAccumulator();
    OutputAccumulator(const OutputAccumulator&) = delete;
    OutputAccumulator& operator=(const OutputAccumulator&) = delete;

    // Room for `count` more bytes at the end, valid until the next call; Commit says how many
    // were written there.
    uint8_t* Reserve(uint32_t count);
    void Commit(uint32_t count);
    void Append(const void* bytes, uint32_t count);

    size_t size() const { return size_; }
    size_t capacity() const { return capacity_; }
    // The text gathered so far, as a block of exactly length + 1 bytes (null when empty); the
    // accumulator starts empty again.
    OwnedText Finish();

  private:
    char* block_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

// What the polling loop needs from a started child and the read end of its pipe.
class CaptureSource {
  public:
    virtual ~CaptureSource() = default;
    // Bytes waiting in the pipe; 0 when there are none or the pipe cannot be queried.
    virtual uint32_t Available() = 0;
    // Reads at most `count` bytes; the number read, 0 on failure.
    virtual uint32_t Read(uint8_t* into, uint32_t count) = 0;
    // True once the child has ended or was never started; `exitCode` gets its exit code when it
    // can be queried and keeps its value otherwise.
    virtual bool Ended(uint32_t* exitCode) = 0;
    // Between two polls: keep the windows alive and sleep one step.
    virtual void Idle() = 0;
};

struct CaptureStats {
    uint32_t exitCode = 0;
    // Polls of the pipe before the child was found ended (1 for a child that never started).
    uint32_t polls = 0;
};

// Polls: reads everything available in one read, or, when nothing is waiting, asks whether the
// child has ended; idles after each poll. Once the child has ended, what is still in the pipe
// is read as well.
OwnedText CaptureOutput(CaptureSource& source, CaptureStats* stats = nullptr);
