// Our disks read by independent Standard MIDI File parsers (midicsv, Python's
// mido), and a file written by mido read by our reader.
#include "midi/KTMidiFileReader.h"
#include "resources/FactoryImage.h"
#include "tests/midi/MidiFileTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace miditest;

namespace {

constexpr char kPython[] = "/usr/bin/python3";

bool hasMido()
{
    return std::filesystem::exists(kPython)
        && std::system((std::string(kPython) + " -c 'import mido' >/dev/null 2>&1").c_str()) == 0;
}

bool hasMidicsv()
{
    return std::system("command -v midicsv >/dev/null 2>&1") == 0;
}

// Runs a shell command; its standard output, or a failed test when it exits non-zero.
std::string run(const std::string& command, const std::string& outputPath)
{
    const int status = std::system((command + " >" + outputPath).c_str());
    EXPECT_EQ(status, 0) << command;
    std::ifstream in(outputPath);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> result;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) {
        const std::size_t first = field.find_first_not_of(' ');
        result.push_back(first == std::string::npos ? std::string() : field.substr(first));
    }
    return result;
}

std::string writeFactoryDisk()
{
    TLOrvane orvane(FactoryImage::samples());
    const std::string path = scratchPath("allbanks.mid");
    writeAllBanksDisk(path, orvane);
    return path;
}

// One line per track, as our reader sees a disk: "meta" or "sysex SIZE TIME" per event,
// TIME the absolute tick of the message.
const char kMidoSummary[] = R"(
import sys, mido
f = mido.MidiFile(sys.argv[1])
print(f.type, len(f.tracks), f.ticks_per_beat)
for track in f.tracks:
    t = 0
    out = []
    for m in track:
        t += m.time
        if m.type == 'sysex':
            out.append('sysex %d %d' % (len(m.data) + 2, t))
        elif m.is_meta and m.type != 'end_of_track':
            out.append('meta')
    print(' '.join(out))
)";

} // namespace

TEST(MidiFileInterop, MidicsvParsesOurDisk)
{
    if (!hasMidicsv())
        GTEST_SKIP() << "midicsv is not installed (scripts/bootstrap installs it)";
    const std::string disk = writeFactoryDisk();
    const std::vector<std::string> csv = lines(run("midicsv " + disk, scratchPath("disk.csv")));
    ASSERT_FALSE(csv.empty());
    EXPECT_EQ(fields(csv[0]), (std::vector<std::string>{"0", "0", "Header", "1", "8", "24"}));

    int tracks = 0;
    std::vector<std::vector<std::string>> sysEx;
    for (const std::string& line : csv) {
        const std::vector<std::string> f = fields(line);
        if (f.size() > 2 && f[2] == "Start_track")
            ++tracks;
        if (f.size() > 3 && f[2] == "System_exclusive")
            sysEx.push_back({f[0], f[1], f[3], std::to_string(f.size() - 4)});
    }
    EXPECT_EQ(tracks, 8);
    ASSERT_EQ(sysEx.size(), 14u);
    for (std::size_t bank = 0; bank < 7; ++bank) {
        SCOPED_TRACE(bank);
        const std::string track = std::to_string(bank + 2);
        const std::string start = std::to_string(4316 * bank);
        const std::string next = std::to_string(4316 * bank + 289);
        // midicsv counts the bytes after F0 and lists each of them.
        EXPECT_EQ(sysEx[2 * bank], (std::vector<std::string>{track, start, "5", "5"}));
        EXPECT_EQ(sysEx[2 * bank + 1], (std::vector<std::string>{track, next, "262149", "262149"}));
    }
}

TEST(MidiFileInterop, MidoParsesOurDisk)
{
    if (!hasMido())
        GTEST_SKIP() << "python3-mido is not installed for " << kPython << " (scripts/bootstrap installs it)";
    const std::string disk = writeFactoryDisk();
    const std::string script = scratchPath("summary.py");
    std::ofstream(script) << kMidoSummary;
    const std::vector<std::string> summary =
        lines(run(std::string(kPython) + " " + script + " " + disk, scratchPath("summary.txt")));
    ASSERT_EQ(summary.size(), 9u);
    EXPECT_EQ(summary[0], "1 8 24");
    EXPECT_EQ(summary[1], "meta meta meta");
    for (std::size_t bank = 0; bank < 7; ++bank) {
        SCOPED_TRACE(bank);
        EXPECT_EQ(summary[bank + 2], "meta meta meta sysex 6 " + std::to_string(4316 * bank) + " sysex 262150 "
                                         + std::to_string(4316 * bank + 289));
    }
}

TEST(MidiFileInterop, OurReaderReadsAFileWrittenByMido)
{
    if (!hasMido())
        GTEST_SKIP() << "python3-mido is not installed for " << kPython << " (scripts/bootstrap installs it)";
    const std::string file = scratchPath("mido.mid");
    const std::string script = scratchPath("write.py");
    std::ofstream(script) << R"(
import sys, mido
f = mido.MidiFile(type=1, ticks_per_beat=24)
first = mido.MidiTrack()
first.append(mido.MetaMessage('set_tempo', tempo=500000))
first.append(mido.MetaMessage('time_signature', numerator=4, denominator=4, clocks_per_click=24,
                              notated_32nd_notes_per_beat=8))
first.append(mido.MetaMessage('copyright', text='mido'))
second = mido.MidiTrack()
second.append(mido.MetaMessage('track_name', name='Bank A'))
second.append(mido.MetaMessage('sequencer_specific', data=[0x31, 0, 0x66, 0, 0x61, 0]))
second.append(mido.Message('sysex', data=[0x31, 0x0D, 0x79, 0x02], time=0))
second.append(mido.Message('sysex', data=[i % 128 for i in range(300)], time=289))
f.tracks.extend([first, second])
f.save(sys.argv[1])
)";
    run(std::string(kPython) + " " + script + " " + file, scratchPath("write.txt"));

    Bytes dump{0xF0};
    for (int i = 0; i < 300; ++i)
        dump.push_back(static_cast<std::uint8_t>(i % 128));
    dump.push_back(0xF7);
    const std::vector<Bytes> expected[] = {
        {bytesOf({0xFF, 0x51, 0x07, 0xA1, 0x20}), bytesOf({0xFF, 0x58, 0x04, 0x02, 0x18, 0x08}),
         bytesOf({0xFF, 0x02, 'm', 'i', 'd', 'o'})},
        {bytesOf({0xFF, 0x03, 'B', 'a', 'n', 'k', ' ', 'A'}), bytesOf({0xFF, 0x7F, 0x31, 0x00, 0x66, 0x00, 0x61, 0x00}),
         bytesOf({0xF0, 0x31, 0x0D, 0x79, 0x02, 0xF7}), dump},
    };

    KTMidiFileReader reader(file.c_str());
    ASSERT_TRUE(reader.isMidiFile());
    EXPECT_EQ(reader.mTrackCount, 2);
    EXPECT_EQ(reader.mDivision, 24);
    KTMidiEventList events;
    for (const std::vector<Bytes>& track : expected) {
        reader.readTrack(events);
        ASSERT_EQ(events.size(), track.size());
        for (std::size_t i = 0; i < track.size(); ++i)
            EXPECT_EQ(Bytes(events[i].begin(), events[i].end()), track[i]) << "event " << i;
    }
    // 289 ticks after a 6-byte message: its 1 transmit tick and 288 ticks of pause.
    EXPECT_EQ(events[3].mDelay, 6000u);
    EXPECT_TRUE(reader.readTrack(events).empty());
}
