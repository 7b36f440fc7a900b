#include "KTRecordingMidiPlatform.h"
#include "midi/KTTimingConversions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <memory>

using namespace std::chrono_literals;
using Bytes = KTRecordingMidiPlatform::Bytes;
using Duration = KTClock::Duration;

namespace {

Bytes message(std::size_t size, std::uint8_t first = 0xF0)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 128);
    bytes.front() = first;
    bytes.back() = 0xF7;
    return bytes;
}

KTMidiSysexSendRequest request(const Bytes& bytes, std::atomic<int>& completions, KTMidiEndpointRef to = 1)
{
    return {to, bytes.data(), std::uint32_t(bytes.size()), false,
            [](KTMidiSysexSendRequest* r) { ++*static_cast<std::atomic<int>*>(r->completionRefCon); }, &completions};
}

TEST(Pacer, PiecesFollowTheLineAsFarAsTheWriterTakesThem)
{
    // Refuses the piece after `at` taken ones `times` times with the result.
    const auto refuse = [](int result, std::size_t at, std::size_t times) {
        return [=, count = std::make_shared<std::size_t>(0)](std::size_t taken) {
            return taken == at && (*count)++ < times ? result : 0;
        };
    };
    const struct {
        std::size_t size;
        std::function<int(std::size_t)> result;
        std::size_t written;  // bytes that reach the wire
        Duration completion;  // after the start
        Duration maxLate;     // how far a piece may fall behind the line
        unsigned speed = 100; // percent of the line rate
    } cases[] = {
        {262150, refuse(0, 0, 0), 262150, midiLineTime(262150), 0ms},          // all taken
        {2560, refuse(-EAGAIN, 1, 5), 2560, midiLineTime(2560), 5ms},          // full for 5 ms
        {2560, refuse(-ENOMEM, 1, ~0u), 256, midiLineTime(256) + 2s, 0ms},     // full until the limit
        {2560, refuse(-EAGAIN, 1, ~0u), 256, midiLineTime(256) + 2s, 0ms},     // the same
        {2560, refuse(-ENOENT, 2, ~0u), 512, midiLineTime(512), 0ms},          // gone: no retry
        // A stall moves the schedule: one piece catches up, the rest keep the line.
        {2560, refuse(-EAGAIN, 2, 1000), 2560, midiLineTime(2560 - 256) + 1s, 1s},
        // Slower than the line: every byte's time stretched, the bytes the same.
        {2560, refuse(0, 0, 0), 2560, 2 * midiLineTime(2560), 0ms, 50},
        {2560, refuse(0, 0, 0), 2560, 4 * midiLineTime(2560), 0ms, 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        KTVirtualClock clock;
        KTRecordingMidiPlatform midi(clock);
        midi.mWriteResult = c.result;
        const Bytes bytes = message(c.size);
        std::atomic<int> completions{0};
        auto sent = request(bytes, completions);
        sent.speed = c.speed;
        EXPECT_TRUE(midi.sendSysex(sent));
        while (completions == 0 && clock.now() < 200s)
            clock.sleepFor(1ms);
        EXPECT_EQ(midi.calls("completion").at(0).time, c.completion);
        EXPECT_EQ(midi.wire(), Bytes(bytes.begin(), bytes.begin() + long(c.written)));
        std::size_t offset = 0;
        for (const auto& piece : midi.calls("piece")) {
            ASSERT_EQ(piece.bytes.size(), std::min<std::size_t>(256, c.size - offset));
            ASSERT_GE(piece.time, midiLineTime(offset, c.speed)) << "never ahead of the line";
            ASSERT_LE(piece.time, midiLineTime(offset, c.speed) + c.maxLate);
            offset += piece.bytes.size();
        }
    }
}

// An abort cuts the message in flight at its next piece and closes it with a
// lone F7, retried while the port is full; the queued ones and those that
// cannot be sent never reach the wire. Every request completes exactly once,
// and the cut one is no failure.
TEST(Pacer, AbortClosesTheMessageInFlightAndDropsTheQueuedOnes)
{
    KTVirtualClock clock;
    KTRecordingMidiPlatform midi(clock);
    const Bytes first = message(100000), queued = message(300), noSysEx = message(10, 0x90);
    const std::size_t kept = (1s / midiLineTime(256) + 1) * 256;
    midi.mWriteResult = [&, full = true](std::size_t pieces) mutable {
        return pieces == kept / 256 && std::exchange(full, false) ? -EAGAIN : 0; // once, as the F7 comes
    };
    std::atomic<int> completions{0};
    // Not sendable: no F0, no destination, no bytes.
    KTMidiSysexSendRequest requests[] = {request(first, completions), request(queued, completions),
                                         request(noSysEx, completions), request(queued, completions, 0),
                                         request(queued, completions)};
    requests[4].bytesToSend = 0;
    for (auto& r : requests)
        EXPECT_EQ(midi.sendSysex(r), &r < requests + 2);
    clock.sleepFor(1s);
    midi.abortSysex();
    while (completions < 5 && clock.now() < 200s)
        clock.sleepFor(1ms);
    Bytes expected(first.begin(), first.begin() + long(kept));
    expected.push_back(0xF7);
    EXPECT_EQ(midi.wire(), expected);
    EXPECT_EQ(midi.calls("piece").back().bytes, Bytes{0xF7});
    EXPECT_EQ(midi.calls("completion").back().time, midiLineTime(kept) + 1ms); // one retry of the F7
    clock.sleepFor(1s);
    EXPECT_EQ(completions, 5);
    EXPECT_FALSE(requests[0].failed);
}

} // namespace
