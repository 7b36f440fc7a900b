// The ALSA layer's checks that the command line cannot reach. Prints
// "PASS ..."/"FAIL ..." lines and "MEASURE ..." figures, exits non-zero on a
// failure.
//   announce                 (in the VM) which sequencer events are reported
//                            as a set-up change
//   wire WIRE LOG EXPECTED   (on the host) what `orvane send` put on the
//                            emulated hardware port, timed on the sink's log

#include "midi/KTTimingConversions.h"
#include "midiout/KTSteadyClock.h"
#include "midiout/alsa/KTAlsaMidiPlatform.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

int failures = 0;

void check(bool ok, const std::string& what)
{
    std::cout << (ok ? "PASS " : "FAIL ") << what << std::endl;
    failures += ok ? 0 : 1;
}

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Only a change of the ports other clients show is a set-up change.
void checkAnnouncements()
{
    KTSteadyClock clock;
    KTAlsaMidiPlatform platform(clock), other(clock), looker(clock);
    std::atomic<int> changes{0};
    check(platform.clientCreate("MidiInterfaceTest", [&](std::int32_t id) { changes += id == 1 ? 1 : 1000; }),
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
        for (int waited = 0; changes == 0 && waited < (s.announced ? 400 : 100); ++waited)
            std::this_thread::sleep_for(5ms);
        std::this_thread::sleep_for(300ms);
        check(s.announced ? changes > 0 && changes < 1000 : changes == 0,
              std::string(s.what) + (s.announced ? " announced as set-up change" : " not announced"));
    }
}

// The driver of the emulated port (snd-serial-u16550, generic adaptor) puts a
// port select, F5 01, before its first byte and before a write that follows
// more than 3 s of silence; without them the wire must be the All Notes Off of
// every channel and the expected messages byte for byte. The data message (the
// one after the first) must take its line time, within 1%.
void checkWire(const std::string& wirePath, const std::string& logPath, const std::string& expectedPath)
{
    const Bytes raw = readFile(wirePath), messages = readFile(expectedPath);
    Bytes wire, expected;
    std::vector<std::size_t> at; // position in the raw wire of each byte kept
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == 0xF5 && i + 1 < raw.size() && raw[i + 1] == 0x01) {
            ++i;
            continue;
        }
        wire.push_back(raw[i]);
        at.push_back(i);
    }
    for (int channel = 0; channel <= 16; ++channel)
        expected.insert(expected.end(), {std::uint8_t(0xB0 + channel % 16), 0x7B, 0x00});
    const std::size_t first = expected.size() + (std::find(messages.begin(), messages.end(), 0xF7) - messages.begin()) + 1;
    expected.insert(expected.end(), messages.begin(), messages.end());
    check(wire == expected, "hardware wire: All Notes Off, then the bank byte for byte (" +
                                std::to_string(wire.size()) + " bytes)");
    if (wire != expected || first >= wire.size())
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
    const double line = double(wire.size() - first) / kMidiLineBytesPerSecond;
    const double seconds = sinkTime(at.back()) - sinkTime(at[first]);
    std::cout << "MEASURE host_wire_data_seconds " << seconds << " line_seconds " << line << std::endl;
    check(seconds >= 0.99 * line && seconds <= 1.01 * line,
          "hardware wire: first to last data byte within 1% of the line time");
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "announce")
        checkAnnouncements();
    else if (mode == "wire" && argc == 5)
        checkWire(argv[2], argv[3], argv[4]);
    else {
        std::cerr << "usage: alsa_vm_check announce | wire WIRE LOG EXPECTED\n";
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
