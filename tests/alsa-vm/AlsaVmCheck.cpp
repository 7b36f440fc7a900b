// Runs inside the test VM against the real ALSA sequencer, with the project's
// ALSA layer, the transmitter and the steady clock. One mode per call; prints
// "PASS ..."/"FAIL ..." lines and "MEASURE ..." figures, exits non-zero on a
// failure. The mode "expect" runs on the host and writes the bytes the
// emulated hardware port must put on the wire.

#include "device/TLOrvane.h"
#include "midiout/KTMidiInterfaceTransmitter.h"
#include "midiout/KTSteadyClock.h"
#include "midiout/alsa/KTAlsaMidiPlatform.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Seconds = std::chrono::duration<double>;

constexpr const char* kClientName = "MidiInterfaceTest";
constexpr const char* kHardwarePort = "Serial MIDI (UART16550A): Serial MIDI 1";
constexpr const char* kVirmidiPort = "Virtual Raw MIDI 0-0: VirMIDI 0-0";
constexpr int kBank = 3;
constexpr int kChannel = 9;
constexpr double kLineBytesPerSecond = 3125.0;

int gFailures = 0;

void check(bool ok, const std::string& what)
{
    std::cout << (ok ? "PASS " : "FAIL ") << what << std::endl;
    if (!ok)
        ++gFailures;
}

// A bank with known samples: a ramp through every 16-bit value.
KTMidiEventList bankDump()
{
    static std::vector<std::int16_t> image(TLOrvane::kFactoryImageBytes / 2);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::int16_t>(i * 40503u + 17u);
    TLOrvane orvane(image.data());
    return orvane.makeSampleDump(kBank, kChannel);
}

std::vector<std::uint8_t> allNotesOff()
{
    std::vector<std::uint8_t> bytes;
    for (int channel = 0; channel <= 16; ++channel)
        bytes.insert(bytes.end(), {std::uint8_t(0xB0 + channel % 16), 0x7B, 0x00});
    return bytes;
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

int findDestination(KTMidiPlatform& platform, const std::string& prefix)
{
    const int count = KTMidiInterfaceTransmitter::DestinationNumber(platform);
    for (int i = 0; i < count; ++i)
        if (KTMidiInterfaceTransmitter::DestinationNameAt(platform, std::size_t(i)).rfind(prefix, 0) == 0)
            return i;
    return -1;
}

// Polls like the transmission worker, finer; the time until the end or the limit.
Seconds waitForEnd(const KTMidiInterfaceTransmitter& transmitter, Seconds limit)
{
    const auto start = std::chrono::steady_clock::now();
    while (transmitter.isStillTransmitting() && std::chrono::steady_clock::now() - start < limit)
        std::this_thread::sleep_for(5ms);
    return std::chrono::steady_clock::now() - start;
}

std::string trimRight(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// "client name: port name" of every port `aconnect -o` lists (the writable
// ones), without the system client.
std::vector<std::string> aconnectDestinations()
{
    std::vector<std::string> names;
    FILE* pipe = popen("aconnect -o", "r");
    if (pipe == nullptr)
        return names;
    char line[512];
    std::string client;
    int clientId = -1;
    while (fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        const auto open = text.find('\'');
        const auto close = text.find('\'', open + 1);
        if (open == std::string::npos || close == std::string::npos)
            continue;
        const std::string name = text.substr(open + 1, close - open - 1);
        if (text.rfind("client ", 0) == 0) {
            clientId = std::atoi(text.c_str() + 7);
            client = name;
        } else if (clientId != 0) {
            names.push_back(client + ": " + trimRight(name));
        }
    }
    pclose(pipe);
    return names;
}

void checkDestinationList()
{
    KTSteadyClock clock;
    KTAlsaMidiPlatform platform(clock);
    check(platform.clientCreate(kClientName, nullptr), "client created");
    std::vector<std::string> ours;
    const int count = KTMidiInterfaceTransmitter::DestinationNumber(platform);
    for (int i = 0; i < count; ++i)
        ours.push_back(KTMidiInterfaceTransmitter::DestinationNameAt(platform, std::size_t(i)));
    const std::vector<std::string> theirs = aconnectDestinations();
    for (const std::string& name : ours)
        std::cout << "  destination: " << name << std::endl;
    check(ours == theirs, "destination list equals aconnect -o (" + std::to_string(theirs.size()) + " ports)");
    check(findDestination(platform, "Midi Through: Midi Through Port-0") >= 0, "Midi Through listed");
    check(findDestination(platform, kVirmidiPort) >= 0, "virmidi listed");
    check(findDestination(platform, kClientName) < 0, "our own client not listed");
}

bool waitForNotification(std::atomic<int>& count, Seconds limit)
{
    const auto start = std::chrono::steady_clock::now();
    while (count.load() == 0 && std::chrono::steady_clock::now() - start < limit)
        std::this_thread::sleep_for(10ms);
    return count.load() > 0;
}

void checkAnnouncements()
{
    KTSteadyClock clock;
    KTAlsaMidiPlatform platform(clock);
    std::atomic<int> changes{0};
    check(platform.clientCreate(kClientName, [&](std::int32_t id) { changes += id == 1 ? 1 : 1000; }),
          "client created");
    // Our own port is no change of the set-up.
    const KTMidiPortRef own = platform.outputPortCreate("OutPort");
    std::this_thread::sleep_for(300ms);
    check(changes.load() == 0, "own port creation not announced");
    platform.outputPortDispose(own);

    KTAlsaMidiPlatform other(clock);
    check(other.clientCreate("Other", nullptr), "second client created");
    check(waitForNotification(changes, 2s) && changes.load() < 1000, "client start announced as set-up change");
    std::this_thread::sleep_for(300ms);
    changes = 0;
    const KTMidiPortRef port = other.outputPortCreate("Hot Port");
    check(waitForNotification(changes, 2s), "port start announced");
    std::this_thread::sleep_for(300ms);
    changes = 0;
    other.outputPortDispose(port);
    check(waitForNotification(changes, 2s), "port exit announced");
    std::this_thread::sleep_for(300ms);
    changes = 0;
    other.clientDispose();
    check(waitForNotification(changes, 2s), "client exit announced");
}

// The destination's client (aseqdump, given by its pid) ends in the middle
// of a send: the transmission must end soon, without a hang.
void checkVanishingDestination(pid_t receiver)
{
    KTSteadyClock clock;
    KTAlsaMidiPlatform platform(clock);
    check(platform.clientCreate(kClientName, nullptr), "client created");
    const int index = findDestination(platform, "aseqdump");
    check(index >= 0, "aseqdump destination found");
    if (index < 0)
        return;
    auto transmitter = KTMidiInterfaceTransmitter::transmitterWithClientForDestination(platform, clock,
                                                                                      std::uint16_t(index));
    const KTMidiEventList dump = bankDump();
    transmitter->transmitMidiMessage(dump[1]);
    std::this_thread::sleep_for(1500ms);
    check(transmitter->isStillTransmitting(), "sending to aseqdump");
    kill(receiver, SIGKILL);
    const Seconds ended = waitForEnd(*transmitter, 10s);
    std::cout << "MEASURE vanish_end_seconds " << ended.count() << std::endl;
    check(!transmitter->isStillTransmitting() && ended < 2s, "transmission ended within 2 s of the client's end");
}

struct Sender {
    KTSteadyClock clock;
    KTAlsaMidiPlatform platform{clock};
    std::shared_ptr<KTMidiInterfaceTransmitter> transmitter;

    bool open(const std::string& port)
    {
        if (!platform.clientCreate(kClientName, nullptr))
            return false;
        const int index = findDestination(platform, port);
        if (index < 0)
            return false;
        transmitter = KTMidiInterfaceTransmitter::transmitterWithClientForDestination(platform, clock,
                                                                                     std::uint16_t(index));
        return true;
    }
};

// One bank to the emulated hardware port and, at the same time, to virmidi;
// then an aborted message to the hardware port. The host compares the wire.
void checkBankDumps(const std::string& virmidiExpected)
{
    const KTMidiEventList dump = bankDump();
    std::vector<std::uint8_t> expected(dump[0].begin(), dump[0].end());
    expected.insert(expected.end(), dump[1].begin(), dump[1].end());
    writeFile(virmidiExpected, expected);

    Sender hardware;
    Sender virmidi;
    check(hardware.open(kHardwarePort), "hardware port found and silenced");
    check(virmidi.open(kVirmidiPort), "virmidi port found and silenced");
    if (!hardware.transmitter || !virmidi.transmitter)
        return;
    const auto start = std::chrono::steady_clock::now();
    hardware.transmitter->transmitMidiEventDump(dump);
    virmidi.transmitter->transmitMidiEventDump(dump);
    waitForEnd(*virmidi.transmitter, 200s);
    const Seconds total = waitForEnd(*hardware.transmitter, 200s - (std::chrono::steady_clock::now() - start));
    check(!hardware.transmitter->isStillTransmitting(), "bank dump to the hardware port ended");
    const double lineSeconds = 262150 / kLineBytesPerSecond;
    const double dataSeconds = total.count() - 6.0 - 6 / kLineBytesPerSecond;
    std::cout << "MEASURE guest_bank_seconds " << total.count() << std::endl;
    std::cout << "MEASURE guest_data_ratio " << dataSeconds / lineSeconds << std::endl;
    std::cout << "MEASURE sender_cpu_seconds_for_data_message "
              << Seconds(hardware.platform.lastSysexCpuTime()).count() << std::endl;
    check(dataSeconds >= lineSeconds * 0.999 && dataSeconds <= lineSeconds * 1.01,
          "guest: data message took 1.00 to 1.01 of its line time");

    // Abort in the middle: the wire must end with F7.
    hardware.transmitter.reset();
    hardware.transmitter = KTMidiInterfaceTransmitter::transmitterWithClientForDestination(
        hardware.platform, hardware.clock, std::uint16_t(findDestination(hardware.platform, kHardwarePort)));
    hardware.transmitter->transmitMidiMessage(dump[1]);
    std::this_thread::sleep_for(1500ms);
    hardware.transmitter->abortTransmission();
    const Seconds aborted = waitForEnd(*hardware.transmitter, 5s);
    std::cout << "MEASURE abort_end_seconds " << aborted.count() << std::endl;
    check(!hardware.transmitter->isStillTransmitting() && aborted < 2s, "abort ended the transmission");
    // Let the wire drain before the port goes away.
    std::this_thread::sleep_for(2s);
}

void writeExpectedWire(const std::string& path)
{
    const KTMidiEventList dump = bankDump();
    std::vector<std::uint8_t> wire = allNotesOff();
    wire.insert(wire.end(), dump[0].begin(), dump[0].end());
    wire.insert(wire.end(), dump[1].begin(), dump[1].end());
    const std::vector<std::uint8_t> silence = allNotesOff();
    wire.insert(wire.end(), silence.begin(), silence.end());
    writeFile(path, wire);
    // The aborted message is a prefix of the data message.
    writeFile(path + ".aborted", std::vector<std::uint8_t>(dump[1].begin(), dump[1].end()));
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "expect" && argc == 3)
        writeExpectedWire(argv[2]);
    else if (mode == "list")
        checkDestinationList();
    else if (mode == "announce")
        checkAnnouncements();
    else if (mode == "vanish" && argc == 3)
        checkVanishingDestination(pid_t(std::atoi(argv[2])));
    else if (mode == "banks" && argc == 3)
        checkBankDumps(argv[2]);
    else {
        std::cerr << "usage: alsa_vm_check expect FILE | list | announce | vanish PID | banks FILE\n";
        return 2;
    }
    return gFailures == 0 ? 0 : 1;
}
