// Fuzz target of the command runner's polling loop over a scripted child: output arriving in any
// pieces and at any time before the child ends, zero bytes anywhere, failing reads and late
// writes of descendants. Nothing that arrived before the end is lost and nothing is invented.
#include <map>
#include <string>

#include "app/exec/output_capture.h"
#include "fuzz/fuzz_common.h"

using fuzz::Require;

namespace {

class ScriptedChild : public CaptureSource {
  public:
    explicit ScriptedChild(FuzzedDataProvider& in) {
        endTime_ = in.ConsumeIntegralInRange<uint32_t>(0, 40);
        exitCode_ = in.ConsumeIntegral<uint32_t>();
        if (exitCode_ == 259)
            exitCode_ = 0;  // STILL_ACTIVE itself is never read as a child's exit code
        const size_t pieces = in.ConsumeIntegralInRange<size_t>(0, 24);
        for (size_t i = 0; i < pieces && in.remaining_bytes() > 0; ++i) {
            const uint32_t at = in.ConsumeIntegralInRange<uint32_t>(0, 48);
            std::string bytes = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(1, 64));
            // Now and then a big piece, to make the text grow through several blocks.
            const size_t repeat = in.ConsumeBool() ? in.ConsumeIntegralInRange<size_t>(1, 3000) : 1;
            std::string piece;
            for (size_t r = 0; r < repeat; ++r)
                piece += bytes;
            arrivals_.emplace(at, std::move(piece));
        }
        failReads_ = in.ConsumeBool() ? in.ConsumeIntegral<uint32_t>() : 0;
        Arrive();
    }

    uint32_t Available() override { return static_cast<uint32_t>(pipe_.size()); }

    uint32_t Read(uint8_t* into, uint32_t count) override {
        Require(count <= pipe_.size(), "read of more than was reported");
        if (failReads_ & 1u) {
            failReads_ >>= 1;
            failed_ = true;
            return 0;
        }
        failReads_ >>= 1;
        std::copy(pipe_.begin(), pipe_.begin() + count, into);
        delivered_.append(pipe_, 0, count);
        pipe_.erase(0, count);
        return count;
    }

    bool Ended(uint32_t* exitCode) override {
        if (clock_ < endTime_)
            return false;
        *exitCode = exitCode_;
        return true;
    }

    void Idle() override {
        ++clock_;
        Require(clock_ < 100000, "the loop does not end");
        Arrive();
    }

    const std::string& arrived() const { return arrived_; }
    const std::string& delivered() const { return delivered_; }
    const std::string& pipe() const { return pipe_; }
    bool failed() const { return failed_; }
    uint32_t exitCode() const { return exitCode_; }

  private:
    void Arrive() {
        auto last = arrivals_.upper_bound(clock_);
        for (auto it = arrivals_.begin(); it != last; ++it) {
            pipe_ += it->second;
            arrived_ += it->second;
        }
        arrivals_.erase(arrivals_.begin(), last);
    }

    std::multimap<uint32_t, std::string> arrivals_;
    std::string pipe_;
    std::string arrived_;
    std::string delivered_;
    uint32_t clock_ = 0;
    uint32_t endTime_ = 0;
    uint32_t exitCode_ = 0;
    uint32_t failReads_ = 0;
    bool failed_ = false;
};

std::string WithoutZeros(const std::string& bytes) {
    std::string out;
    for (char c : bytes) {
        if (c != '\0')
            out += c;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    ScriptedChild child(in);
    CaptureStats stats;
    const OwnedText output = CaptureOutput(child, &stats);
    const std::string got = fuzz::AsString(output.get());

    Require(got == WithoutZeros(child.delivered()), "the text is not what was read");
    Require(output.get() == nullptr || !got.empty(), "an empty text is a block");
    Require(stats.exitCode == child.exitCode(), "exit code");
    if (!child.failed()) {
        Require(child.pipe().empty(), "bytes left in the pipe at the end");
        Require(child.delivered() == child.arrived(), "bytes that arrived before the end are lost");
    }
    return 0;
}
