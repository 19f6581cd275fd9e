// The command runner's polling loop against a scripted pipe and child: order, zero bytes, the
// last words of a child, failures, and the growth of the gathered text.
#include "app/exec/output_capture.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

// A pipe and child driven by a script: before each poll's pipe query the next step runs.
class ScriptedSource : public CaptureSource {
  public:
    // What happens to the pipe and the child at a moment of the run.
    using Step = std::function<void(ScriptedSource&)>;

    void Write(const std::string& bytes) { pipe_.push_back(bytes); }
    void End(uint32_t code) {
        ended_ = true;
        code_ = code;
    }

    // Runs before the pipe is queried in poll number n (from 1).
    std::vector<Step> beforePoll;
    // Runs when the child's state is asked, before it answers (the race of a child that writes
    // and exits between the empty poll and the exit query).
    Step onEndedQuery;
    bool failReads = false;
    bool exitCodeKnown = true;

    uint32_t Available() override {
        if (!stepped_) {
            stepped_ = true;
            if (poll_ < beforePoll.size() && beforePoll[poll_])
                beforePoll[poll_](*this);
            ++poll_;
        }
        // A byte-mode pipe reports every byte waiting, across writes.
        uint32_t n = 0;
        for (const std::string& w : pipe_)
            n += static_cast<uint32_t>(w.size());
        return n;
    }

    uint32_t Read(uint8_t* into, uint32_t count) override {
        ++reads;
        if (failReads)
            return 0;
        uint32_t got = 0;
        while (got < count && !pipe_.empty()) {
            std::string& front = pipe_.front();
            const uint32_t take = std::min<uint32_t>(count - got, static_cast<uint32_t>(front.size()));
            std::memcpy(into + got, front.data(), take);
            got += take;
            front.erase(0, take);
            if (front.empty())
                pipe_.pop_front();
        }
        return got;
    }

    bool Ended(uint32_t* exitCode) override {
        ++endedQueries;
        if (onEndedQuery) {
            Step step = std::move(onEndedQuery);
            onEndedQuery = nullptr;
            step(*this);
        }
        if (ended_ && exitCodeKnown)
            *exitCode = code_;
        return ended_;
    }

    void Idle() override {
        ++idles;
        stepped_ = false;
    }

    int reads = 0;
    int endedQueries = 0;
    int idles = 0;

  private:
    std::deque<std::string> pipe_;
    bool ended_ = false;
    uint32_t code_ = 0;
    size_t poll_ = 0;
    bool stepped_ = false;
};

std::string Captured(ScriptedSource& source, CaptureStats* stats = nullptr) {
    OwnedText text = CaptureOutput(source, stats);
    return std::string(text.view());
}

ScriptedSource::Step Writes(std::string bytes) {
    return [bytes](ScriptedSource& s) { s.Write(bytes); };
}

ScriptedSource::Step Ends(uint32_t code) {
    return [code](ScriptedSource& s) { s.End(code); };
}

TEST(OutputCapture, ChunksArriveInOrderAndTheExitCodeIsKept) {
    ScriptedSource source;
    source.beforePoll = {Writes("first "), nullptr, Writes("second "), [](ScriptedSource& s) {
                             s.Write("third");
                             s.End(42);
                         }};
    CaptureStats stats;
    EXPECT_EQ(Captured(source, &stats), "first second third");
    EXPECT_EQ(stats.exitCode, 42u);
    // Polls 1 and 3 and 4 read; 2 and 5 found nothing and asked about the child.
    EXPECT_EQ(stats.polls, 5u);
    EXPECT_EQ(source.endedQueries, 2);
}

TEST(OutputCapture, EverythingAvailableIsTakenInOneRead) {
    ScriptedSource source;
    source.beforePoll = {[](ScriptedSource& s) {
                             s.Write("one");
                             s.Write("two");
                             s.Write("three");
                         },
                         Ends(0)};
    EXPECT_EQ(Captured(source), "onetwothree");
    EXPECT_EQ(source.reads, 1);
}

TEST(OutputCapture, LastWordsBetweenTheEmptyPollAndTheExitQueryAreKept) {
    ScriptedSource source;
    source.beforePoll = {Writes("early ")};
    // The poll after the first read finds the pipe empty; then the child writes and ends before
    // the exit query answers.
    source.beforePoll.push_back([](ScriptedSource& s) {
        s.onEndedQuery = [](ScriptedSource& t) {
            t.Write("last words");
            t.End(5);
        };
    });
    CaptureStats stats;
    EXPECT_EQ(Captured(source, &stats), "early last words");
    EXPECT_EQ(stats.exitCode, 5u);
}

TEST(OutputCapture, ZeroBytesAreDroppedAndTheTextAroundThemKept) {
    struct Case {
        const char* name;
        std::vector<std::string> chunks;
        std::string expected;
    };
    const Case cases[] = {
        {"inside one chunk", {"ab\0cd\0\0ef"s}, "abcdef"},
        {"leading and trailing", {"\0\0x\0"s}, "x"},
        {"a chunk of zeros only", {"one"s, "\0\0\0"s, "two"s}, "onetwo"},
        {"nothing but zeros", {"\0"s, "\0\0"s}, ""},
        {"GBK text around a zero", {"\xD6\xD0\0\xCE\xC4"s}, "\xD6\xD0\xCE\xC4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSource source;
        for (const std::string& chunk : c.chunks)
            source.beforePoll.push_back(Writes(chunk));
        source.beforePoll.push_back(Ends(0));
        OwnedText text = CaptureOutput(source);
        EXPECT_EQ(std::string(text.view()), c.expected);
        if (c.expected.empty()) {
            EXPECT_EQ(text.get(), nullptr);
        }
    }
}

TEST(OutputCapture, AChildThatNeverStartedEndsTheLoopAtTheFirstPoll) {
    ScriptedSource source;
    source.exitCodeKnown = false;
    source.beforePoll = {Ends(0)};
    CaptureStats stats;
    OwnedText text = CaptureOutput(source, &stats);
    EXPECT_EQ(text.get(), nullptr);
    EXPECT_EQ(stats.polls, 1u);
    EXPECT_EQ(stats.exitCode, 0u);
}

TEST(OutputCapture, FailingReadsDoNotKeepTheLoopFromNoticingTheEnd) {
    ScriptedSource source;
    source.failReads = true;
    source.beforePoll = {Writes("stuck"), nullptr, Ends(9)};
    CaptureStats stats;
    EXPECT_EQ(Captured(source, &stats), "");
    EXPECT_EQ(stats.exitCode, 9u);
    EXPECT_EQ(stats.polls, 3u);
}

TEST(OutputCapture, EveryPollIsFollowedByIdling) {
    ScriptedSource source;
    source.beforePoll = {nullptr, nullptr, Writes("x"), nullptr, Ends(0)};
    CaptureStats stats;
    Captured(source, &stats);
    EXPECT_EQ(source.idles, static_cast<int>(stats.polls) - 1);
}

TEST(IdleBackoff, PromptWhileOutputFlowsAndSparingInASilence) {
    IdleBackoff backoff;
    // While output flows, every sleep is one step.
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(backoff.Next(true), 1u);
    // In a silence the steps never shrink and never exceed an eighth of the silence so far (or
    // one step): output that starts after a silence of s waits at most s / 8 longer than it
    // would have. A 5 s silence takes a few hundred polls, not thousands.
    uint32_t silence = 1;  // the step slept after the last poll that brought output
    uint32_t previous = 1;
    int polls = 0;
    while (silence < 5000) {
        const uint32_t wait = backoff.Next(false);
        EXPECT_GE(wait, previous);
        EXPECT_LE(wait, std::max<uint32_t>(1, silence / 8)) << "after " << silence << " ms";
        EXPECT_LE(wait, IdleBackoff::kLongestIdle);
        previous = wait;
        silence += wait;
        ++polls;
    }
    EXPECT_LT(polls, 250);
    EXPECT_EQ(previous, IdleBackoff::kLongestIdle);
    // Output ends the silence: back to one step at once.
    EXPECT_EQ(backoff.Next(true), 1u);
    EXPECT_EQ(backoff.Next(false), 1u);
}

TEST(OutputAccumulator, GrowsGeometrically) {
    OutputAccumulator output;
    std::set<size_t> capacities;
    std::string expected;
    for (int i = 0; i < 200000; ++i) {
        const char byte = static_cast<char>('a' + i % 26);
        output.Append(&byte, 1);
        expected += byte;
        capacities.insert(output.capacity());
    }
    // Growing by a constant step would take thousands of copies of the whole text.
    EXPECT_LT(capacities.size(), 30u);
    OwnedText text = output.Finish();
    EXPECT_EQ(std::string(text.view()), expected);
    EXPECT_EQ(output.size(), 0u);
}

TEST(OutputAccumulator, ChunksAcrossSegmentsJoinInOrder) {
    // Chunks of many sizes, some larger than any segment so far and some holding zero bytes,
    // against the same chunks appended to a plain string.
    std::mt19937 rng(77);
    for (int round = 0; round < 20; ++round) {
        OutputAccumulator output;
        std::string expected;
        for (int chunk = 0; chunk < 40; ++chunk) {
            const uint32_t size = rng() % 3 == 0 ? rng() % 300000 : rng() % 5000;
            std::string bytes(size, '\0');
            for (char& b : bytes)
                b = static_cast<char>(rng() % 16 == 0 ? 0 : 'a' + rng() % 26);
            uint8_t* room = output.Reserve(size);
            std::memcpy(room, bytes.data(), size);
            // A read may bring fewer bytes than there was room for.
            const uint32_t got = size / 2 + (size % 2);
            output.Commit(got);
            for (uint32_t i = 0; i < got; ++i) {
                if (bytes[i] != '\0')
                    expected += bytes[i];
            }
        }
        EXPECT_EQ(output.size(), expected.size());
        OwnedText text = output.Finish();
        ASSERT_EQ(std::string(text.view()), expected) << "round " << round;
        EXPECT_EQ(text.get() == nullptr, expected.empty());
    }
}

TEST(OutputAccumulator, ReserveAndCommitTakeOnlyTheBytesWritten) {
    OutputAccumulator output;
    output.Append("head:", 5);
    uint8_t* room = output.Reserve(100);
    std::memcpy(room, "a\0b", 3);
    output.Commit(3);
    output.Append("!", 1);
    EXPECT_EQ(output.size(), 8u);
    OwnedText text = output.Finish();
    EXPECT_STREQ(text.c_str(), "head:ab!");
}

}  // namespace
