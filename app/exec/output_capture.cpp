// The command runner's polling loop and the text it gathers.
#include "app/exec/output_capture.h"

#include <algorithm>
#include <cstring>

#include "runtime/memory.h"

OutputAccumulator::~OutputAccumulator() {
    Release();
}

void OutputAccumulator::Release() {
    for (const Segment& segment : segments_)
        RuntimeFree(segment.bytes);
    segments_.clear();
    size_ = capacity_ = 0;
}

uint8_t* OutputAccumulator::Reserve(uint32_t count) {
    // One byte more in a lone segment for the terminator that Finish adds in place.
    if (segments_.empty() || segments_.back().capacity - segments_.back().used < size_t{count} + 1) {
        const size_t grown = std::max(size_t{count} + 1, std::clamp(capacity_, kFirstSegment, kLargestSegment));
        segments_.push_back({static_cast<char*>(RuntimeAlloc(grown)), 0, grown});
        capacity_ += grown;
    }
    Segment& last = segments_.back();
    return reinterpret_cast<uint8_t*>(last.bytes + last.used);
}

void OutputAccumulator::Commit(uint32_t count) {
    if (count == 0)
        return;
    Segment& last = segments_.back();
    char* const fresh = last.bytes + last.used;
    const char* zero = static_cast<const char*>(std::memchr(fresh, 0, count));
    size_t kept = count;
    if (zero != nullptr) {
        // Close the gaps the zero bytes leave; the text before and after them stays.
        char* to = fresh + (zero - fresh);
        for (const char* from = zero; from < fresh + count; ++from) {
            if (*from != '\0')
                *to++ = *from;
        }
        kept = static_cast<size_t>(to - fresh);
    }
    last.used += kept;
    size_ += kept;
}

void OutputAccumulator::Append(const void* bytes, uint32_t count) {
    if (count == 0)
        return;
    std::memcpy(Reserve(count), bytes, count);
    Commit(count);
}

OwnedText OutputAccumulator::Finish() {
    char* text = nullptr;
    if (size_ != 0 && segments_.size() == 1) {
        // Shrinking the lone segment to the text keeps it where it is.
        text = static_cast<char*>(RuntimeRealloc(segments_.front().bytes, size_ + 1));
        segments_.clear();
    } else if (size_ != 0) {
        text = static_cast<char*>(RuntimeAlloc(size_ + 1));
        char* to = text;
        for (const Segment& segment : segments_) {
            std::memcpy(to, segment.bytes, segment.used);
            to += segment.used;
        }
    }
    if (text != nullptr)
        text[size_] = '\0';
    Release();
    return OwnedText(text);
}

uint32_t IdleBackoff::Next(bool gotOutput) {
    if (gotOutput)
        silence_ = 0;
    const uint32_t wait = std::clamp<uint32_t>(silence_ / kSilenceShare, 1, kLongestIdle);
    silence_ += wait;
    return wait;
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
