// Collecting a child's output from its pipe until the child has ended: the polling loop of the
// command runner over an abstract pipe and child, and the text it builds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/owned.h"

// A child's output gathered as Text: chunks appended in arrival order, zero bytes dropped (a
// Text ends at its first zero byte, and the bytes behind one are still output). The storage is
// a list of segments, each as large as all before it together (up to kLargestSegment), joined
// into one block at the end: every byte is copied once, however much arrives, and no copy of
// the whole text holds up the reading while the child waits on a full pipe.
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

    static constexpr size_t kFirstSegment = 4096;
    static constexpr size_t kLargestSegment = 8 << 20;

    size_t size() const { return size_; }
    // Bytes held in all segments.
    size_t capacity() const { return capacity_; }
    // The text gathered so far, as a block of exactly length + 1 bytes (null when empty); the
    // accumulator starts empty again.
    OwnedText Finish();

  private:
    struct Segment {
        char* bytes;
        size_t used;
        size_t capacity;
    };
    void Release();

    std::vector<Segment> segments_;
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

// How long the runner sleeps after a poll, in milliseconds: one step while output flows, and
// after a silence a step of an eighth of the silence so far (up to kLongestIdle), so that a
// child that has said nothing for seconds is not polled every millisecond. The child's end and
// window messages still end a sleep at once; the longer sleeps only delay output that a child
// starts writing after a silence, which the pipe's buffer holds meanwhile.
class IdleBackoff {
  public:
    static constexpr uint32_t kLongestIdle = 32;
    static constexpr uint32_t kSilenceShare = 8;
    uint32_t Next(bool gotOutput);

  private:
    // Milliseconds slept since the last poll that brought output.
    uint32_t silence_ = 0;
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
