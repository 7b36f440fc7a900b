// Runs inside the test VM against the real ALSA sequencer, with the project's
// ALSA layer, the transmitter and the steady clock. One mode per call; prints
// "PASS ..."/"FAIL ..." lines and "MEASURE ..." figures, exits non-zero on a
// failure. The mode "wire" runs on the host: it checks what the emulated
// hardware port put on the wire and times the data message on the sink's log.

#include "device/TLOrvane.h"
#include "midi/KTTimingConversions.h"
#include "midiout/KTMidiInterfaceTransmitter.h"
#include "midiout/KTSteadyClock.h"
#include "midiout/alsa/KTAlsaMidiPlatform.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Seconds = std::chrono::duration<double>;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kClientName = "MidiInterfaceTest";
constexpr const char* kHardwarePort = "Serial MIDI (UART16550A): Serial MIDI 1";
constexpr const char* kVirmidiPort = "Virtual Raw MIDI 0-0: VirMIDI 0-0";
constexpr std::size_t kDataBytes = 262150;
const double kDataLineSeconds = double(kDataBytes) / kMidiLineBytesPerSecond;
// The emulated port's driver (snd-serial-u16550, generic adaptor) puts a port
// select, F5 01, before its first byte and before a write that follows more
// than 3 s of silence. A plain MIDI port does not.
constexpr std::uint8_t kPortSelect[] = {0xF5, 0x01};

int failures = 0;

void check(bool ok, const std::string& what)
{
    std::cout << (ok ? "PASS " : "FAIL ") << what << std::endl;
    failures += ok ? 0 : 1;
}

// Bank 3 on channel 9 of an image whose samples step through every 16-bit value.
KTMidiEventList bankDump()
{
    static std::vector<std::int16_t> image(TLOrvane::kFactoryImageBytes / 2);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::int16_t>(i * 40503u + 17u);
    return TLOrvane(image.data()).makeSampleDump(3, 9);
}

// Polls until the condition holds or the limit passes; the time it took.
Seconds waitFor(const std::function<bool()>& done, Seconds limit)
{
    const auto start = std::chrono::steady_clock::now();
    while (!done() && std::chrono::steady_clock::now() - start < limit)
        std::this_thread::sleep_for(5ms);
    return std::chrono::steady_clock::now() - start;
}

std::vector<std::string> destinationNames(KTMidiPlatform& platform)
{
    std::vector<std::string> names;
    for (int i = 0; i < KTMidiInterfaceTransmitter::DestinationNumber(platform); ++i)
        names.push_back(KTMidiInterfaceTransmitter::DestinationNameAt(platform, std::size_t(i)));
    return names;
}

int findDestination(KTMidiPlatform& platform, const std::string& prefix)
{
    const std::vector<std::string> names = destinationNames(platform);
    const auto found = std::find_if(names.begin(), names.end(), [&](auto& name) { return name.rfind(prefix, 0) == 0; });
    return found == names.end() ? -1 : int(found - names.begin());
}

// "client: port" of every port `aconnect -o` lists, the system client's left out.
std::vector<std::string> aconnectDestinations()
{
    std::vector<std::string> names;
    std::string client;
    char line[512];
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen("aconnect -o", "r"), pclose);
    while (pipe && fgets(line, sizeof line, pipe.get()) != nullptr) {
        const std::string text(line);
        const auto open = text.find('\''), close = text.find('\'', open + 1);
        std::string name = text.substr(open + 1, close - open - 1);
        if (text.rfind("client ", 0) == 0)
            client = text.rfind("client 0:", 0) == 0 ? "" : name;
        else if (!client.empty() && close != std::string::npos)
            names.push_back(client + ": " + name.erase(name.find_last_not_of(' ') + 1));
    }
    return names;
}

void checkDestinationList()
{
    KTSteadyClock clock;
    KTAlsaMidiPlatform platform(clock);
    check(platform.clientCreate(kClientName, nullptr), "client created");
    const std::vector<std::string> ours = destinationNames(platform), theirs = aconnectDestinations();
    check(ours == theirs, "destination list equals aconnect -o (" + std::to_string(theirs.size()) + " ports)");
    check(findDestination(platform, "Midi Through: Midi Through Port-0") >= 0, "Midi Through listed");
    check(findDestination(platform, kVirmidiPort) >= 0, "virmidi listed");
}

// Only a change of the ports other clients show is a set-up change.
void checkAnnouncements()
{
    KTSteadyClock clock;
    KTAlsaMidiPlatform platform(clock), other(clock), looker(clock);
    std::atomic<int> changes{0};
    check(platform.clientCreate(kClientName, [&](std::int32_t id) { changes += id == 1 ? 1 : 1000; }),
          "client created");
    KTMidiPortRef port = 0;
    const struct {
        const char* what;
        std::function<void()> step;
        bool announced;
    } steps[] = {
        {"own port creation", [&] { platform.outputPortDispose(platform.outputPortCreate("OutPort")); }, false},
        {"client start without visible ports", [&] { other.clientCreate("Other", nullptr); }, false},
        {"port start", [&] { port = other.outputPortCreate("Hot Port"); }, true},
        {"port exit", [&] { other.outputPortDispose(port); }, true},
        {"second port start", [&] { other.outputPortCreate("Hot Port"); }, true},
        {"client exit with a visible port", [&] { other.clientDispose(); }, true},
        {"a client that only looks", [&] { looker.clientCreate("Looker", nullptr); looker.numberOfDestinations(); looker.clientDispose(); }, false},
    };
    for (const auto& s : steps) {
        changes = 0;
        s.step();
        waitFor([&] { return changes > 0; }, s.announced ? 2s : 500ms);
        std::this_thread::sleep_for(300ms);
        check(s.announced ? changes > 0 && changes < 1000 : changes == 0,
              std::string(s.what) + (s.announced ? " announced as set-up change" : " not announced"));
    }
}

struct Sender {
    KTSteadyClock clock;
    KTAlsaMidiPlatform platform{clock};
    std::shared_ptr<KTMidiInterfaceTransmitter> transmitter;

    // A new transmitter (silencing the port) for the first destination named so.
    bool open(const std::string& port)
    {
        transmitter.reset();
        const bool client = platform.clientId() >= 0 || platform.clientCreate(kClientName, nullptr);
        const int index = client ? findDestination(platform, port) : -1;
        if (index >= 0)
            transmitter = KTMidiInterfaceTransmitter::transmitterWithClientForDestination(platform, clock,
                                                                                         std::uint16_t(index));
        return index >= 0;
    }
    Seconds waitForEnd(Seconds limit)
    {
        return waitFor([this] { return !transmitter->isStillTransmitting(); }, limit);
    }
    // Sends a data message and stops it 1.5 s in: the transmission must end soon.
    void checkStop(const std::string& what, const std::function<void()>& stop)
    {
        transmitter->transmitMidiMessage(bankDump()[1]);
        std::this_thread::sleep_for(1500ms);
        check(transmitter->isStillTransmitting(), "sending before the " + what);
        stop();
        const Seconds ended = waitForEnd(10s);
        std::cout << "MEASURE " << what << "_end_seconds " << ended.count() << std::endl;
        check(!transmitter->isStillTransmitting() && ended < 2s, "transmission ended within 2 s of the " + what);
    }
};

// One bank to the emulated hardware port and, at the same time, to virmidi;
// then an aborted message to the hardware port. The host compares the wire.
void checkBankDumps(const std::string& virmidiExpected)
{
    const KTMidiEventList dump = bankDump();
    std::ofstream(virmidiExpected, std::ios::binary)
        .write(reinterpret_cast<const char*>(dump[0].data()), std::streamsize(dump[0].size()))
        .write(reinterpret_cast<const char*>(dump[1].data()), std::streamsize(dump[1].size()));
    Sender hardware, virmidi;
    check(hardware.open(kHardwarePort), "hardware port found and silenced");
    check(virmidi.open(kVirmidiPort), "virmidi port found and silenced");
    if (!hardware.transmitter || !virmidi.transmitter)
        return;
    // Both run at once; the bank's time counts from the hand-over of its header.
    hardware.transmitter->transmitMidiEventDump(dump);
    virmidi.transmitter->transmitMidiEventDump(dump);
    const Seconds total = hardware.waitForEnd(200s);
    virmidi.waitForEnd(200s - total);
    std::cout << "MEASURE guest_bank_seconds " << total.count() << std::endl;
    check(!virmidi.transmitter->isStillTransmitting(), "bank dump to virmidi ended");
    check(!hardware.transmitter->isStillTransmitting(), "bank dump to the hardware port ended");
    // Abort in the middle: the wire must end with F7.
    hardware.open(kHardwarePort);
    hardware.checkStop("abort", [&] { hardware.transmitter->abortTransmission(); });
    std::this_thread::sleep_for(2s); // let the wire drain before the port goes
}

// Host side of the bank run: after the driver's port selects are taken out,
// the wire must be All Notes Off, the bank, a second All Notes Off and a part
// of the data message closed with a lone F7; the data message on the line time.
void checkWire(const std::string& wirePath, const std::string& logPath)
{
    std::ifstream in(wirePath, std::ios::binary);
    const Bytes raw{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Bytes wire;
    std::vector<std::size_t> at; // position in the raw wire of each byte kept
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == kPortSelect[0] && i + 1 < raw.size() && raw[i + 1] == kPortSelect[1]) {
            ++i;
            continue;
        }
        wire.push_back(raw[i]);
        at.push_back(i);
    }
    const KTMidiEventList dump = bankDump();
    Bytes silence, expected;
    for (int channel = 0; channel <= 16; ++channel)
        silence.insert(silence.end(), {std::uint8_t(0xB0 + channel % 16), 0x7B, 0x00});
    for (const Bytes& part : {silence, Bytes(dump[0].begin(), dump[0].end()), Bytes(dump[1].begin(), dump[1].end()), silence})
        expected.insert(expected.end(), part.begin(), part.end());
    const bool bank = wire.size() > expected.size() && std::equal(expected.begin(), expected.end(), wire.begin());
    check(bank, "hardware wire: All Notes Off, the bank byte for byte, All Notes Off");
    if (!bank)
        return;
    // When the sink had passed on the raw byte at the position: the time of the
    // first log line "<seconds> <bytes so far>" whose count goes beyond it.
    const auto sinkTime = [&logPath](std::size_t position) {
        std::ifstream log(logPath);
        double seconds = -1;
        for (std::size_t total = 0; log >> seconds >> total && total <= position;) {
        }
        return seconds;
    };
    const std::size_t first = silence.size() + dump[0].size();
    const double seconds = sinkTime(at[first + kDataBytes - 1]) - sinkTime(at[first]);
    std::cout << "MEASURE host_wire_data_seconds " << seconds << " line_seconds " << kDataLineSeconds << std::endl;
    check(seconds >= 0.99 * kDataLineSeconds && seconds <= 1.01 * kDataLineSeconds,
          "hardware wire: first to last data byte within 1% of the line time");
    const long tail = long(wire.size() - expected.size());
    check(tail >= 2 && std::size_t(tail) < kDataBytes && wire.back() == 0xF7 &&
              std::equal(wire.end() - tail, wire.end() - 1, dump[1].begin()),
          "hardware wire: aborted message is the data message's start, then F7");
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
    else if (mode == "vanish" && argc == 3) {
        // The destination's client (aseqdump, given by its pid) ends mid-send.
        Sender sender;
        check(sender.open("aseqdump"), "aseqdump destination found");
        if (sender.transmitter)
            sender.checkStop("vanish", [pid = pid_t(std::atoi(argv[2]))] { kill(pid, SIGKILL); });
    }
    else if (mode == "banks" && argc == 3)
        checkBankDumps(argv[2]);
    else {
        std::cerr << "usage: alsa_vm_check wire WIRE LOG | list | announce | vanish PID | banks FILE\n";
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
