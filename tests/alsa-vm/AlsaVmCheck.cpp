// Runs inside the test VM against the real ALSA sequencer, with the project's
// ALSA layer, the transmitter and the steady clock. One mode per call; prints
// "PASS ..."/"FAIL ..." lines and "MEASURE ..." figures, exits non-zero on a
// failure. The mode "wire" runs on the host: it checks what the emulated
// hardware port put on the wire and times the data message on the sink's log.

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
#include <iterator>
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
constexpr std::size_t kDataBytes = 262150;
// The emulated port's driver (snd-serial-u16550, generic adaptor) puts a port
// select, F5 and the port number, before its first byte and before a write
// that follows more than 3 s of silence. A plain MIDI port does not.
constexpr std::uint8_t kPortSelect = 0xF5;
constexpr std::uint8_t kPortNumber = 0x01;

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

    // Another client: starting it, with only its hidden port, changes nothing
    // that can be chosen; its visible ports do.
    KTAlsaMidiPlatform other(clock);
    check(other.clientCreate("Other", nullptr), "second client created");
    std::this_thread::sleep_for(500ms);
    check(changes.load() == 0, "client start without visible ports not announced");
    const KTMidiPortRef port = other.outputPortCreate("Hot Port");
    check(waitForNotification(changes, 2s) && changes.load() < 1000, "port start announced as set-up change");
    std::this_thread::sleep_for(300ms);
    changes = 0;
    other.outputPortDispose(port);
    check(waitForNotification(changes, 2s), "port exit announced");
    std::this_thread::sleep_for(300ms);
    changes = 0;
    other.outputPortCreate("Hot Port");
    check(waitForNotification(changes, 2s), "second port start announced");
    std::this_thread::sleep_for(300ms);
    changes = 0;
    other.clientDispose();
    check(waitForNotification(changes, 2s), "client exit with a visible port announced");

    // A short-lived client that only looks (as aconnect -l does) is no change.
    std::this_thread::sleep_for(300ms);
    changes = 0;
    KTAlsaMidiPlatform looker(clock);
    check(looker.clientCreate("Looker", nullptr), "looking client created");
    looker.numberOfDestinations();
    looker.clientDispose();
    std::this_thread::sleep_for(500ms);
    check(changes.load() == 0, "a client that only looks is not announced");
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
    // Both run at once; the bank's time counts from the hand-over of its header.
    waitForEnd(*hardware.transmitter, 200s);
    const Seconds total = std::chrono::steady_clock::now() - start;
    waitForEnd(*virmidi.transmitter, 200s - total);
    check(!virmidi.transmitter->isStillTransmitting(), "bank dump to virmidi ended");
    check(!hardware.transmitter->isStillTransmitting(), "bank dump to the hardware port ended");
    const double lineSeconds = 262150 / kLineBytesPerSecond;
    const double dataSeconds = total.count() - 6.0 - 6 / kLineBytesPerSecond;
    std::cout << "MEASURE guest_bank_seconds " << total.count() << std::endl;
    std::cout << "MEASURE guest_data_ratio " << dataSeconds / lineSeconds << std::endl;
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

std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The wire without the driver's port selects; at[i] is the position in the
// raw wire of clean byte i.
struct CleanWire {
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> at;
    int portSelects = 0;
};

CleanWire withoutPortSelects(const std::vector<std::uint8_t>& raw)
{
    CleanWire wire;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == kPortSelect && i + 1 < raw.size() && raw[i + 1] == kPortNumber) {
            ++wire.portSelects;
            ++i;
            continue;
        }
        wire.bytes.push_back(raw[i]);
        wire.at.push_back(i);
    }
    return wire;
}

// When the sink had passed on the raw byte at the position: the first log
// line "<seconds> <bytes so far>" whose count goes beyond it.
double sinkTimeOf(const std::string& logPath, std::size_t position)
{
    std::ifstream log(logPath);
    double seconds = 0;
    std::size_t total = 0;
    while (log >> seconds >> total)
        if (total > position)
            return seconds;
    return -1;
}

bool sameBytes(const std::vector<std::uint8_t>& wire, std::size_t from, const std::vector<std::uint8_t>& expected)
{
    return wire.size() >= from + expected.size() &&
           std::equal(expected.begin(), expected.end(), wire.begin() + static_cast<long>(from));
}

// After the bank: a new transmitter's All Notes Off, then the aborted message:
// a part of the data message closed with a lone F7, and nothing after it.
void checkAbortedTail(const std::vector<std::uint8_t>& wire, std::size_t from, const KTMidiEvent& data)
{
    const std::vector<std::uint8_t> silence = allNotesOff();
    check(sameBytes(wire, from, silence), "hardware wire: All Notes Off of the second transmitter");
    const std::size_t start = from + silence.size();
    const std::size_t length = wire.size() > start ? wire.size() - start : 0;
    const bool prefix = length >= 2 && length < data.size() &&
                        std::equal(wire.begin() + static_cast<long>(start), wire.end() - 1, data.begin());
    std::cout << "MEASURE aborted_message_bytes_before_f7 " << (length > 0 ? length - 1 : 0) << std::endl;
    check(prefix && wire.back() == 0xF7, "hardware wire: aborted message is the data message's start, then F7");
}

void checkDataTiming(const CleanWire& wire, std::size_t first, const std::string& logPath)
{
    const double t1 = sinkTimeOf(logPath, wire.at[first]);
    const double t2 = sinkTimeOf(logPath, wire.at[first + kDataBytes - 1]);
    const double lineSeconds = kDataBytes / kLineBytesPerSecond;
    const double ratio = (t2 - t1) / lineSeconds;
    std::cout << "MEASURE host_wire_data_seconds " << (t2 - t1) << " line_seconds " << lineSeconds << " ratio "
              << ratio << std::endl;
    check(t1 >= 0 && t2 >= 0 && ratio >= 0.99 && ratio <= 1.01,
          "hardware wire: first to last data byte within 1% of the line time");
}

// Host side of the bank run: the wire file and the sink's log against the
// bank the guest sent.
void checkWire(const std::string& wirePath, const std::string& logPath)
{
    const KTMidiEventList dump = bankDump();
    const CleanWire wire = withoutPortSelects(readFile(wirePath));
    std::cout << "MEASURE wire_bytes " << wire.bytes.size() << " port_selects_removed " << wire.portSelects
              << std::endl;
    const std::vector<std::uint8_t> silence = allNotesOff();
    const std::vector<std::uint8_t> header(dump[0].begin(), dump[0].end());
    const std::vector<std::uint8_t> data(dump[1].begin(), dump[1].end());
    check(data.size() == kDataBytes, "bank data message has 262,150 bytes");
    check(sameBytes(wire.bytes, 0, silence), "hardware wire: All Notes Off, 17 messages");
    check(sameBytes(wire.bytes, silence.size(), header), "hardware wire: bank header");
    const std::size_t first = silence.size() + header.size();
    const bool intact = sameBytes(wire.bytes, first, data);
    check(intact, "hardware wire: 262,150-byte data message byte for byte");
    if (!intact)
        return;
    checkDataTiming(wire, first, logPath);
    checkAbortedTail(wire.bytes, first + data.size(), dump[1]);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "wire" && argc == 4)
        checkWire(argv[2], argv[3]);
    else if (mode == "list")
        checkDestinationList();
    else if (mode == "announce")
        checkAnnouncements();
    else if (mode == "vanish" && argc == 3)
        checkVanishingDestination(pid_t(std::atoi(argv[2])));
    else if (mode == "banks" && argc == 3)
        checkBankDumps(argv[2]);
    else {
        std::cerr << "usage: alsa_vm_check wire WIRE LOG | list | announce | vanish PID | banks FILE\n";
        return 2;
    }
    return gFailures == 0 ? 0 : 1;
}
