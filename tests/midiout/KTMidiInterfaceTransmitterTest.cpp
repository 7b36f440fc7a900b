#include "midiout/KTMidiInterfaceTransmitter.h"

#include "KTRecordingMidiPlatform.h"
#include "midi/KTTimingConversions.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace std::chrono_literals;
using Bytes = KTRecordingMidiPlatform::Bytes;
using Duration = KTClock::Duration;

namespace {


KTMidiEvent sysex(std::size_t size, std::uint64_t delay, std::uint8_t fill)
{
    KTMidiEvent event(size, fill);
    event.front() = 0xF0;
    event.back() = 0xF7;
    event.mDelay = delay;
    return event;
}

// A transmitter for the second of two destinations on the recording platform
// (the product's pacer) in virtual time.
struct Rig {
    Rig()
    {
        midi.mDestinations = {{"Acme", "Port 1"}, {"Tavel", "Orvane In"}};
        transmitter = KTMidiInterfaceTransmitter::transmitterWithClientForDestination(midi, clock, 1);
    }
    // Polls the way the transmission worker does (for 1000 s at most); the time of the end.
    Duration waitForEnd()
    {
        while (transmitter && transmitter->isStillTransmitting() && clock.now() < 1000s)
            clock.sleepFor(1ms);
        return clock.now();
    }
    KTVirtualClock clock;
    KTRecordingMidiPlatform midi{clock};
    std::shared_ptr<KTMidiInterfaceTransmitter> transmitter;
};

// Creation silences the destination on the transmitter's own port; the
// destinations are counted and named by their properties.
TEST(Transmitter, CreationSilencesTheDestinationAndDroppingDisposesOfThePort)
{
    Rig rig;
    EXPECT_EQ(rig.clock.now(), 900ms);
    EXPECT_EQ(KTMidiInterfaceTransmitter::DestinationNumber(rig.midi), 2);
    Bytes allNotesOff;
    for (int channel : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0})
        allNotesOff.insert(allNotesOff.end(), {std::uint8_t(0xB0 + channel), 0x7B, 0x00});
    const auto calls = rig.midi.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "outputPortCreate:OutPort");
    EXPECT_EQ((std::tuple{calls[1].name, calls[1].time, calls[1].port, calls[1].endpoint, calls[1].bytes}),
              (std::tuple{"send", 600ms, KTRecordingMidiPlatform::kPort, 2u, allNotesOff}));
    rig.transmitter.reset();
    EXPECT_EQ(rig.midi.calls("outputPortDispose").at(0).port, KTRecordingMidiPlatform::kPort);
    rig.midi.mDestinations = {{"Acme", "Port 1"}, {"Tavel", ""}, {"", "Bare Port"}};
    const char* names[] = {"Acme: Port 1", "Tavel", "Bare Port", ""};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(KTMidiInterfaceTransmitter::DestinationNameAt(rig.midi, i), names[i]);
}

// Each message of a list starts after its delay, counted from the end of the
// one before on the line, plus a byte time after the hand-over; a single
// message goes out at once from a copy. The wire carries them whole.
TEST(Transmitter, MessagesGoOutWholeAfterTheirPauses)
{
    const struct {
        KTMidiEventList list;
        bool single;
    } cases[] = {
        {{}, false},
        {{sysex(6, 0, 1), sysex(262150, 6000, 2)}, false},
        {{sysex(20, 250, 3), sysex(30, 0, 4), sysex(40, 1, 5), sysex(300, 49, 6)}, false},
        {{sysex(300, 5000, 7)}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Rig rig;
        if (c.single)
            rig.transmitter->transmitMidiMessage(KTMidiEvent(c.list[0]));
        else
            rig.transmitter->transmitMidiEventDump(c.list);
        EXPECT_EQ(rig.transmitter->isStillTransmitting(), !c.list.empty());
        const Duration end = rig.waitForEnd();
        Bytes expected;
        std::vector<Duration> starts, expectedStarts;
        Duration at = 900ms;
        for (const KTMidiEvent& event : c.list) {
            expectedStarts.push_back(at += std::chrono::milliseconds(c.single ? 0 : event.mDelay));
            at += midiLineTime(event.size() + 1);
            expected.insert(expected.end(), event.begin(), event.end());
        }
        for (const auto& piece : rig.midi.calls("piece"))
            if (piece.bytes.front() == 0xF0)
                starts.push_back(piece.time);
        EXPECT_EQ(rig.midi.wire(), expected);
        EXPECT_EQ(starts, expectedStarts);
        EXPECT_LE(end - (at - kMidiByteTime), 1ms) << "ends with the last message";
    }
}

// A stop mid-message cuts it at its next piece and closes it with F7; one in
// a pause ends within the pause's step; dropping the transmitter stops it too.
// Nothing after starts, and the transmitter takes a new list afterwards.
TEST(Transmitter, StopsEndTheTransmissionPromptlyWithTheWireClosed)
{
    const struct {
        bool drop;
        Duration after; // since the start of the list
        Duration within; // from the stop to the end
    } cases[] = {{false, 10s, midiLineTime(256)}, {false, 3s, 50ms}, {true, 10s, midiLineTime(256)}};
    const KTMidiEventList list{sysex(6, 0, 1), sysex(262150, 6000, 2), sysex(6, 1, 3)};
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Rig rig;
        rig.transmitter->transmitMidiEventDump(list);
        rig.clock.sleepFor(c.after);
        const Duration stoppedAt = rig.clock.now();
        c.drop ? rig.transmitter.reset() : rig.transmitter->abortTransmission();
        EXPECT_LE(rig.waitForEnd() - stoppedAt, c.within);
        // Where the pacer cuts a message is pinned in its own test.
        const Bytes wire = rig.midi.wire();
        EXPECT_TRUE(c.after > 6s ? wire.size() > 6 && wire.size() < 6 + 262150 && wire.back() == 0xF7
                                 : wire == Bytes(list[0].begin(), list[0].end()))
            << wire.size();
        EXPECT_EQ(rig.midi.calls("outputPortDispose").size(), c.drop ? 1u : 0u);
        if (c.drop)
            continue;
        rig.transmitter->transmitMidiEventDump(list);
        rig.waitForEnd();
        EXPECT_EQ(rig.midi.wire().size(), wire.size() + 6 + 262150 + 6);
    }
}

} // namespace
