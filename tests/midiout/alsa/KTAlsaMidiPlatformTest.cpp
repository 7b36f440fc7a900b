#include "midiout/alsa/KTAlsaMidiPlatform.h"

#include "midiout/KTMidiInterfaceTransmitter.h"
#include "midiout/KTSteadyClock.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

KTMidiEvent sysex(std::size_t size)
{
    KTMidiEvent event(size, 0x01);
    event.front() = 0xF0;
    event.back() = 0xF7;
    return event;
}

// Without a sequencer the editor must still run: no client, no destinations,
// and a transmission that ends instead of hanging.
void expectGracefulWithoutSequencer(const std::string& device)
{
    KTSteadyClock clock;
    KTAlsaMidiPlatform platform(clock, device);
    int notified = 0;
    EXPECT_FALSE(platform.clientCreate("MidiInterfaceTest", [&](std::int32_t) { ++notified; }));
    EXPECT_EQ(platform.clientId(), -1);
    EXPECT_EQ(platform.numberOfDestinations(), 0u);
    EXPECT_EQ(platform.destination(0), 0u);
    EXPECT_EQ(platform.stringProperty(0, KTMidiStringProperty::DisplayName), "");
    EXPECT_EQ(platform.outputPortCreate("OutPort"), 0u);
    EXPECT_EQ(KTMidiInterfaceTransmitter::DestinationNumber(platform), 0);

    auto transmitter = KTMidiInterfaceTransmitter::transmitterWithClientForDestination(platform, clock, 0);
    const KTMidiEventList list{sysex(6), sysex(5000)};
    transmitter->transmitMidiEventDump(list);
    for (int i = 0; i < 200 && transmitter->isStillTransmitting(); ++i)
        clock.sleepFor(std::chrono::milliseconds(10));
    EXPECT_FALSE(transmitter->isStillTransmitting());
    platform.clientDispose();
    platform.clientDispose();
    EXPECT_EQ(notified, 0);
}

TEST(AlsaMidiPlatform, UnknownSequencerDeviceGivesNoClient)
{
    expectGracefulWithoutSequencer("no_such_sequencer_device");
}

TEST(AlsaMidiPlatform, MissingSequencerGivesNoClient)
{
    if (std::filesystem::exists("/dev/snd/seq"))
        GTEST_SKIP() << "this machine has a sequencer; the VM tests cover it";
    expectGracefulWithoutSequencer("default");
}

} // namespace
