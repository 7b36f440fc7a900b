#include "midiout/KTMidiInterfaceTransmitter.h"

#include "KTRecordingMidiPlatform.h"
#include "midi/KTTimingConversions.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace std::chrono_literals;
using Bytes = KTRecordingMidiPlatform::Bytes;
using Duration = KTClock::Duration;

namespace {

Duration lineTime(std::size_t bytes) { return kMidiByteTime * static_cast<std::int64_t>(bytes); }

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

// A stop mid-message cuts it at its next piece and closes it with F7; a stop
// in a pause ends it within the pause's step; dropping the transmitter stops it
// and disposes of its port; a destination that goes away ends the send. None
// starts another message, and the transmitter takes a new list afterwards.
TEST(TransmitterStop, EndsTheTransmissionPromptlyWithTheWireClosed)
{
    enum How { Abort, Drop, Vanish };
    constexpr std::size_t kAnyPieces = ~std::size_t(0);
    const struct {
        How how;
        Duration after;       // since the start of the list
        std::size_t dataSent; // bytes of the data message on the wire
        bool closed;          // with a closing F7
        Duration within;      // from the stop to the end
    } cases[] = {
        {Abort, 10s, kAnyPieces, true, lineTime(256)},
        {Abort, 3s, 0, false, 50ms},
        {Drop, 10s, kAnyPieces, true, lineTime(256)},
        {Vanish, 7s, 512, false, 0s},
    };
    const KTMidiEventList list{sysex(6, 0, 1), sysex(262150, 6000, 2), sysex(6, 1, 3)};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        KTVirtualClock clock;
        KTRecordingMidiPlatform midi(clock);
        midi.mDestinations = {{"Acme", "Port 1"}};
        if (c.how == Vanish)
            midi.mWriteResult = [](std::size_t taken) { return taken >= 3 ? -ENOENT : 0; };
        auto transmitter = KTMidiInterfaceTransmitter::transmitterWithClientForDestination(midi, clock, 0);
        transmitter->transmitMidiEventDump(list);
        clock.sleepFor(c.after);
        const Duration stoppedAt = clock.now();
        if (c.how == Drop)
            transmitter.reset();
        else if (c.how == Abort)
            transmitter->abortTransmission();
        while (transmitter && transmitter->isStillTransmitting())
            clock.sleepFor(1ms);
        EXPECT_LE(clock.now() - stoppedAt, c.within);
        const Bytes wire = midi.wire();
        const std::size_t data = wire.size() - 6 - (c.closed ? 1 : 0);
        EXPECT_TRUE(c.dataSent == kAnyPieces ? data > 0 && data % 256 == 0 : data == c.dataSent) << data;
        Bytes expected(list[0].begin(), list[0].end());
        expected.insert(expected.end(), list[1].begin(), list[1].begin() + long(data));
        if (c.closed)
            expected.push_back(0xF7);
        EXPECT_EQ(wire, expected);
        EXPECT_EQ(midi.calls("outputPortDispose").size(), c.how == Drop ? 1u : 0u);
        if (c.how != Abort)
            continue;
        transmitter->transmitMidiEventDump(list);
        while (transmitter->isStillTransmitting())
            clock.sleepFor(1ms);
        EXPECT_EQ(midi.wire().size(), wire.size() + 6 + 262150 + 6);
    }
}

TEST_F(Transmitter, NamesTheDestinationsByTheirProperties)
{
    mMidi.mDestinations = {{"Acme", "Port 1"}, {"Tavel", ""}, {"", "Bare Port"}};
    EXPECT_EQ(KTMidiInterfaceTransmitter::DestinationNumber(mMidi), 3);
    const char* names[] = {"Acme: Port 1", "Tavel", "Bare Port", ""};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(KTMidiInterfaceTransmitter::DestinationNameAt(mMidi, i), names[i]);
}

} // namespace
