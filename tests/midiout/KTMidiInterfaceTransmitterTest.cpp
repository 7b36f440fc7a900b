#include "midiout/KTMidiInterfaceTransmitter.h"

#include "KTRecordingMidiPlatform.h"
#include "midi/KTTimingConversions.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace std::chrono_literals;
using Bytes = KTRecordingMidiPlatform::Bytes;
using Duration = KTClock::Duration;

namespace {

KTMidiEvent sysex(std::size_t size, std::uint64_t delay, std::uint8_t fill = 0x11)
{
    KTMidiEvent event(size, fill);
    event.front() = 0xF0;
    event.back() = 0xF7;
    event.mDelay = delay;
    return event;
}

// A transmitter for the second of two destinations, on the recording platform
// with the product's pacer, in virtual time.
class Transmitter : public ::testing::Test {
protected:
    Transmitter()
    {
        mMidi.mDestinations = {{"Acme", "Port 1"}, {"Tavel", "Orvane In"}};
        mTransmitter = KTMidiInterfaceTransmitter::transmitterWithClientForDestination(mMidi, mClock, 1);
    }
    // Polls the way the transmission worker does; the time of the end.
    Duration waitForEnd()
    {
        while (mTransmitter->isStillTransmitting())
            mClock.sleepFor(1ms);
        return mClock.now();
    }
    // When each message's first piece went out, from the one numbered first.
    std::vector<Duration> starts(std::size_t first = 0) const
    {
        std::vector<Duration> times;
        for (const auto& piece : mMidi.calls("piece"))
            if (piece.bytes.front() == 0xF0)
                times.push_back(piece.time);
        return {times.begin() + long(first), times.end()};
    }

    KTVirtualClock mClock;
    KTRecordingMidiPlatform mMidi{mClock};
    std::shared_ptr<KTMidiInterfaceTransmitter> mTransmitter;
};

TEST_F(Transmitter, CreationSilencesTheDestinationOnItsOwnPort)
{
    EXPECT_EQ(mClock.now(), 900ms);
    const auto calls = mMidi.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "outputPortCreate:OutPort");
    EXPECT_EQ(calls[1].name, "send");
    EXPECT_EQ(calls[1].time, 600ms);
    EXPECT_EQ(calls[1].port, KTRecordingMidiPlatform::kPort);
    EXPECT_EQ(calls[1].endpoint, mMidi.destination(1));
    Bytes allNotesOff;
    for (int channel : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0})
        allNotesOff.insert(allNotesOff.end(), {std::uint8_t(0xB0 + channel), 0x7B, 0x00});
    EXPECT_EQ(calls[1].bytes, allNotesOff);
    mTransmitter.reset();
    EXPECT_EQ(mMidi.calls("outputPortDispose").at(0).port, KTRecordingMidiPlatform::kPort);
}

// Each message starts after its delay, counted from the end of the one before
// on the line plus one byte time after the hand-over; a single message
// ignores its delay and is sent from a copy.
TEST_F(Transmitter, MessagesGoOutWholeAfterTheirPauses)
{
    const struct {
        KTMidiEventList list;
        bool single;
    } cases[] = {
        {{}, false},
        {{sysex(6, 0)}, false},
        {{sysex(6, 0, 1), sysex(262150, 6000, 2)}, false},
        {{sysex(20, 250, 3), sysex(30, 0, 4), sysex(40, 1, 5), sysex(300, 49, 6)}, false},
        {{sysex(300, 5000, 7)}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list.size());
        const Duration begin = mClock.now();
        const std::size_t before = mMidi.wire().size(), startsBefore = starts().size();
        if (c.single)
            mTransmitter->transmitMidiMessage(KTMidiEvent(c.list[0]));
        else
            mTransmitter->transmitMidiEventDump(c.list);
        EXPECT_EQ(mTransmitter->isStillTransmitting(), !c.list.empty());
        const Duration end = waitForEnd();
        Bytes expected;
        std::vector<Duration> expectedStarts;
        Duration at = begin;
        for (const KTMidiEvent& event : c.list) {
            at += c.single ? 0ms : std::chrono::milliseconds(event.mDelay);
            expectedStarts.push_back(at);
            at += kMidiByteTime * static_cast<std::int64_t>(event.size() + 1);
            expected.insert(expected.end(), event.begin(), event.end());
        }
        const Bytes wire = mMidi.wire();
        EXPECT_EQ(Bytes(wire.begin() + long(before), wire.end()), expected);
        EXPECT_EQ(starts(startsBefore), expectedStarts);
        EXPECT_LE(end - (at - kMidiByteTime), 1ms) << "ends with the last message";
    }
}

} // namespace
