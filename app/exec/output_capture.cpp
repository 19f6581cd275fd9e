// The command runner's polling loop and the text it gathers.
#include "app/exec/output_capture.h"

#include <algorithm>
#include <cstring>

#include "runtime/memory.h"

OutputAccumulator::~OutputAccumulator() {
    RuntimeFree(block_);
}

uint8_t* OutputAccumulator::Reserve(uint32_t count) {
    // One byte more for the terminator that Finish adds.
    const size_t needed = size_ + count + 1;
    if (needed > capacity_) {
        const size_t grown = std::max({needed, capacity_ + capacity_ / 2, size_t{4096}});
        block_ = static_cast<char*>(RuntimeRealloc(block_, grown));
        capacity_ = grown;
    }
    return reinterpret_cast<uint8_t*>(block_ + size_);
}

void OutputAccumulator::Commit(uint32_t count) {
    char* const fresh = block_ + size_;
    const char* zero = static_cast<const char*>(std::memchr(fresh, 0, count));
    if (zero == nullptr) {
        size_ += count;
        return;
    }
    // Close the gaps the zero bytes leave; the text before and after them stays.
    char* to = fresh + (zero - fresh);
    for (const char* from = zero; from < fresh + count; ++from) {
        if (*from != '\0')
            *to++ = *from;
    }
    size_ = static_cast<size_t>(to - block_);
}

void OutputAccumulator::Append(const void* bytes, uint32_t count) {
    if (count == 0)
        return;
    std::memcpy(Reserve(count), bytes, count);
    Commit(count);
}

OwnedText OutputAccumulator::Finish() {
    char* text = nullptr;
    if (size_ != 0) {
        text = static_cast<char*>(RuntimeRealloc(block_, size_ + 1));
        text[size_] = '\0';
    } else {
        RuntimeFree(block_);
    }
    block_ = nullptr;
    size_ = capacity_ = 0;
    return OwnedText(text);
}

namespace {

// A child's descendants may still hold the pipe open and write after the child has ended; the
// drain takes what is there now and a few rounds more, never waiting for them.
constexpr int kDrainRounds = 16;

uint32_t ReadAvailable(CaptureSource& source, OutputAccumulator& output, uint32_t available) {
    const uint32_t got = source.Read(output.Reserve(available), available);
    output.Commit(got);
    return got;
}

void Drain(CaptureSource& source, OutputAccumulator& output) {
    for (int round = 0; round < kDrainRounds; ++round) {
        const uint32_t available = source.Available();
        if (available == 0)
            return;
        if (ReadAvailable(source, output, available) == 0)
            return;
    }
}

}  // namespace

OwnedText CaptureOutput(CaptureSource& source, CaptureStats* stats) {
    OutputAccumulator output;
    uint32_t exitCode = 0;
    uint32_t polls = 0;
    for (;;) {
        ++polls;
        const uint32_t available = source.Available();
        // A read that fails although bytes are reported counts as an empty poll, so that the
        // loop still notices the child's end.
        const bool gotBytes = available != 0 && ReadAvailable(source, output, available) != 0;
        if (!gotBytes && source.Ended(&exitCode)) {
            // The child can write its last bytes between the empty poll and the exit query.
            Drain(source, output);
            break;
        }
        source.Idle();
    }
    if (stats) {
        stats->exitCode = exitCode;
        stats->polls = polls;
    }
    return output.Finish();
}
