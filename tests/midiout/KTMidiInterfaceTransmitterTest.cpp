#include "midiout/KTMidiInterfaceTransmitter.h"

#include "KTRecordingMidiPlatform.h"
#include "KTVirtualClock.h"
#include "device/TLOrvane.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

KTMidiEvent sysex(std::size_t size, std::uint64_t delay, std::uint8_t fill = 0x11)
{
    KTMidiEvent event(size, fill);
    event.front() = 0xF0;
    event.back() = 0xF7;
    event.mDelay = delay;
    return event;
}

Bytes bytesOf(const KTMidiEvent& event) { return Bytes(event.begin(), event.end()); }

class TransmitterTest : public ::testing::Test {
protected:
    TransmitterTest()
    {
        mPort1 = mPlatform.addDestination("Acme", "Port 1");
        mPort2 = mPlatform.addDestination("Tavel", "Orvane In");
    }

    std::shared_ptr<KTMidiInterfaceTransmitter> create(std::uint16_t index)
    {
        return KTMidiInterfaceTransmitter::transmitterWithClientForDestination(mPlatform, mClock, index);
    }
    // Polls the way the transmission worker does, in virtual time.
    void waitForEnd(const KTMidiInterfaceTransmitter& transmitter)
    {
        while (transmitter.isStillTransmitting())
            mClock.sleepFor(1ms);
    }

    KTVirtualClock mClock;
    KTRecordingMidiPlatform mPlatform{mClock};
    KTMidiEndpointRef mPort1 = 0;
    KTMidiEndpointRef mPort2 = 0;
};

TEST_F(TransmitterTest, CreationSendsAllNotesOffThenAOneMessageListGoesOutAtOnce)
{
    auto transmitter = create(1);
    EXPECT_EQ(mClock.now(), 900ms);
    EXPECT_FALSE(transmitter->isStillTransmitting());

    const auto calls = mPlatform.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "outputPortCreate:OutPort");
    EXPECT_EQ(calls[0].time, 0ms);
    EXPECT_EQ(calls[1].name, "send");
    EXPECT_EQ(calls[1].time, 600ms);
    EXPECT_EQ(calls[1].port, calls[0].port);
    EXPECT_EQ(calls[1].endpoint, mPort2);
    Bytes expected;
    for (std::uint8_t channel = 0; channel < 16; ++channel)
        expected.insert(expected.end(), {std::uint8_t(0xB0 + channel), 0x7B, 0x00});
    expected.insert(expected.end(), {0xB0, 0x7B, 0x00});
    EXPECT_EQ(calls[1].bytes, expected);

    const KTMidiEventList list{sysex(6, 0)};
    transmitter->transmitMidiEventDump(list);
    EXPECT_TRUE(transmitter->isStillTransmitting());
    waitForEnd(*transmitter);
    const auto sent = mPlatform.sysexSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].endpoint, mPort2);
    EXPECT_EQ(sent[0].bytes, bytesOf(list[0]));
    EXPECT_EQ(sent[0].started, 900ms);
    EXPECT_EQ(sent[0].completed, 900ms + 6 * 320us);
}

TEST_F(TransmitterTest, SecondMessageFollowsSixSecondsAfterTheFirstsCompletion)
{
    std::vector<std::int16_t> image(TLOrvane::kFactoryImageBytes / 2);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::int16_t>(i * 7919);
    const KTMidiEventList dump = TLOrvane(image.data()).makeSampleDump(2, 5);
    ASSERT_EQ(dump.size(), 2u);
    ASSERT_EQ(dump[1].size(), 262150u);

    auto transmitter = create(0);
    transmitter->transmitMidiEventDump(dump);
    waitForEnd(*transmitter);

    const auto sent = mPlatform.sysexSent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].endpoint, mPort1);
    EXPECT_EQ(sent[0].bytes, bytesOf(dump[0]));
    EXPECT_EQ(sent[1].bytes, bytesOf(dump[1]));
    EXPECT_EQ(sent[1].completed - sent[1].started, 262150 * 320us);
    // The second hand-over comes 6 s after the first completion, on the
    // completion thread (which then pauses the 320 us before it sends on).
    const auto sends = mPlatform.callsNamed("sendSysex");
    const auto completions = mPlatform.callsNamed("completion");
    ASSERT_EQ(sends.size(), 2u);
    ASSERT_EQ(completions.size(), 2u);
    EXPECT_EQ(sends[1].time - completions[0].time, 6s);
    EXPECT_EQ(sent[1].started - sent[0].completed, 6s + 320us);
    EXPECT_EQ(completions[1].time, sent[1].completed);
}

TEST_F(TransmitterTest, ReadyAgainAfterTheEndAndTakesASecondList)
{
    auto transmitter = create(0);
    transmitter->abortTransmission(); // nothing to abort
    transmitter->transmitMidiEventDump({});
    EXPECT_FALSE(transmitter->isStillTransmitting());
    EXPECT_TRUE(mPlatform.callsNamed("abortSysex").empty());

    const KTMidiEventList first{sysex(6, 0, 0x01), sysex(100, 10, 0x02)};
    transmitter->transmitMidiEventDump(first);
    waitForEnd(*transmitter);
    const auto endOfFirst = mClock.now();

    const KTMidiEventList second{sysex(20, 250, 0x03), sysex(30, 0, 0x04), sysex(40, 1, 0x05)};
    transmitter->transmitMidiEventDump(second);
    EXPECT_TRUE(transmitter->isStillTransmitting());
    waitForEnd(*transmitter);

    const auto sent = mPlatform.sysexSent();
    ASSERT_EQ(sent.size(), 5u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(sent[2 + i].bytes, bytesOf(second[i])) << i;
    const auto sends = mPlatform.callsNamed("sendSysex");
    const auto completions = mPlatform.callsNamed("completion");
    ASSERT_EQ(sends.size(), 5u);
    ASSERT_EQ(completions.size(), 5u);
    EXPECT_EQ(sends[2].time - endOfFirst, 250ms);
    EXPECT_EQ(sends[3].time, completions[2].time);
    EXPECT_EQ(sends[4].time - completions[3].time, 1ms);
}

TEST_F(TransmitterTest, SingleMessageGoesOutAtOnceFromItsOwnCopy)
{
    auto transmitter = create(1);
    {
        const KTMidiEvent message = sysex(300, 5000, 0x2A);
        transmitter->transmitMidiMessage(message);
    }
    EXPECT_TRUE(transmitter->isStillTransmitting());
    waitForEnd(*transmitter);

    const auto sent = mPlatform.sysexSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].started, 900ms);
    EXPECT_EQ(sent[0].bytes, bytesOf(sysex(300, 0, 0x2A)));
    EXPECT_EQ(sent[0].endpoint, mPort2);
}

TEST_F(TransmitterTest, AbortInTheMiddleClosesTheMessageAndSkipsTheRest)
{
    auto transmitter = create(0);
    const KTMidiEventList list{sysex(262150, 0), sysex(6, 6000)};
    transmitter->transmitMidiEventDump(list);
    mClock.sleepFor(10s);
    transmitter->abortTransmission();
    waitForEnd(*transmitter);

    const auto sent = mPlatform.sysexSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(sent[0].aborted);
    EXPECT_GT(sent[0].bytes.size(), 20000u);
    EXPECT_LT(sent[0].bytes.size(), 40000u);
    EXPECT_EQ(sent[0].bytes.back(), 0xF7);
    EXPECT_LT(sent[0].completed - sent[0].started, 11s);
    EXPECT_EQ(mPlatform.callsNamed("sendSysex").size(), 1u);
}

TEST_F(TransmitterTest, AbortDuringThePauseEndsWithoutTheNextMessage)
{
    auto transmitter = create(0);
    const KTMidiEventList list{sysex(6, 0), sysex(1000, 6000)};
    transmitter->transmitMidiEventDump(list);
    mClock.sleepFor(1s);
    const auto abortedAt = mClock.now();
    transmitter->abortTransmission();
    waitForEnd(*transmitter);

    EXPECT_LE(mClock.now() - abortedAt, 100ms);
    EXPECT_EQ(mPlatform.callsNamed("sendSysex").size(), 1u);
    // The transmitter takes another list afterwards.
    transmitter->transmitMidiEventDump(list);
    waitForEnd(*transmitter);
    EXPECT_EQ(mPlatform.sysexSent().size(), 3u);
}

TEST_F(TransmitterTest, DroppingATransmitterMidSendAbortsAndDisposesOfItsPort)
{
    KTMidiPortRef port = 0;
    const KTMidiEventList list{sysex(262150, 0)};
    {
        auto transmitter = create(0);
        port = mPlatform.callsNamed("outputPortCreate:OutPort").at(0).port;
        transmitter->transmitMidiEventDump(list);
        mClock.sleepFor(2s);
    }
    const auto sent = mPlatform.sysexSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(sent[0].aborted);
    const auto disposed = mPlatform.callsNamed("outputPortDispose");
    ASSERT_EQ(disposed.size(), 1u);
    EXPECT_EQ(disposed[0].port, port);
}

// A destination that vanishes mid-send, or one that never existed (index 4),
// still lets the transmission end.
TEST_F(TransmitterTest, VanishedOrMissingDestinationEndsTheTransmission)
{
    auto transmitter = create(0);
    const KTMidiEventList list{sysex(6, 0), sysex(262150, 6000)};
    transmitter->transmitMidiEventDump(list);
    mClock.sleepFor(20s);
    mPlatform.removeDestination(mPort1);
    waitForEnd(*transmitter);
    const auto sent = mPlatform.sysexSent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_FALSE(sent[1].delivered);
    EXPECT_LT(mClock.now(), 22s);

    auto missing = create(4);
    const KTMidiEventList shortList{sysex(6, 0), sysex(100, 6000)};
    missing->transmitMidiEventDump(shortList);
    waitForEnd(*missing);
    EXPECT_EQ(mPlatform.callsNamed("sendSysex").size(), 4u);
}

TEST(TransmitterDestinations, CountsAndNamesDestinations)
{
    KTVirtualClock clock;
    KTRecordingMidiPlatform platform(clock);
    EXPECT_EQ(KTMidiInterfaceTransmitter::DestinationNumber(platform), 0);
    platform.addDestination("Acme", "Port 1");
    platform.addDestination("Tavel", "");
    platform.addDestination("", "Bare Port");
    EXPECT_EQ(KTMidiInterfaceTransmitter::DestinationNumber(platform), 3);
    EXPECT_EQ(KTMidiInterfaceTransmitter::DestinationNameAt(platform, 0), "Acme: Port 1");
    EXPECT_EQ(KTMidiInterfaceTransmitter::DestinationNameAt(platform, 1), "Tavel");
    EXPECT_EQ(KTMidiInterfaceTransmitter::DestinationNameAt(platform, 2), "Bare Port");
    EXPECT_EQ(KTMidiInterfaceTransmitter::DestinationNameAt(platform, 3), "");
}

} // namespace
