#include "midiout/alsa/KTAlsaMidiPlatform.h"

#include "midiout/KTMidiInterfaceTransmitter.h"
#include "midiout/KTSteadyClock.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Without a sequencer the editor must still run: no client, no destinations,
// and a transmission that ends instead of hanging.
TEST(AlsaMidiPlatform, WithoutASequencerThereIsNoClientAndSendsEnd)
{
    for (const char* device : {"no_such_sequencer_device", "default"}) {
        if (std::string(device) == "default" && std::filesystem::exists("/dev/snd/seq"))
            continue; // this machine has a sequencer; the VM tests cover it
        KTSteadyClock clock;
        KTAlsaMidiPlatform platform(clock, device);
        EXPECT_FALSE(platform.clientCreate("MidiInterfaceTest", [](std::int32_t) { ADD_FAILURE(); }));
        EXPECT_EQ(platform.numberOfDestinations(), 0u);
        EXPECT_EQ(platform.outputPortCreate("OutPort"), 0u);
        auto transmitter = KTMidiInterfaceTransmitter::transmitterWithClientForDestination(platform, clock, 0);
        KTMidiEvent message(5000, 0x01);
        message.front() = 0xF0;
        const KTMidiEventList list{message, message};
        transmitter->transmitMidiEventDump(list);
        for (int i = 0; i < 200 && transmitter->isStillTransmitting(); ++i)
            clock.sleepFor(std::chrono::milliseconds(10));
        EXPECT_FALSE(transmitter->isStillTransmitting());
        platform.clientDispose();
    }
}

} // namespace
