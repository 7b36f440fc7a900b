// Our disks read by independent Standard MIDI File parsers (midicsv, Python's
// mido), and a file written by mido read by our reader.
#include "midi/KTMidiFileReader.h"
#include "resources/FactoryImage.h"
#include "tests/midi/MidiFileTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

using namespace miditest;

namespace {

bool succeeds(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The standard output of a command that must succeed.
std::string run(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return output;
}

// A Python script in the scratch folder.
std::string script(const std::string& name, const char* text)
{
    const std::string path = scratchPath(name);
    std::ofstream(path) << text;
    return "/usr/bin/python3 " + path;
}

std::string writeFactoryDisk()
{
    TLOrvane orvane(FactoryImage::samples());
    const std::string path = scratchPath("allbanks.mid");
    writeAllBanksDisk(path, orvane);
    return path;
}

} // namespace

TEST(MidiFileInterop, MidicsvParsesOurDisk)
{
    if (!succeeds("command -v midicsv"))
        GTEST_SKIP() << "midicsv is not installed (scripts/bootstrap installs it)";
    // The header, then track, tick, length and listed byte count of each SysEx
    // message (midicsv counts the bytes after F0 and lists each of them), then
    // the number of tracks.
    const std::string summary = run("midicsv " + writeFactoryDisk() + R"( | awk -F', ' '
        $3 == "Header" { print "header", $4, $5, $6 }
        $3 == "Start_track" { tracks++ }
        $3 == "System_exclusive" { print $1, $2, $4, NF - 4 }
        END { print "tracks", tracks }')");
    std::string expected = "header 1 8 24\n";
    for (int bank = 0; bank < 7; ++bank) {
        const std::string track = std::to_string(bank + 2) + " ";
        expected += track + std::to_string(4316 * bank) + " 5 5\n";
        expected += track + std::to_string(4316 * bank + 289) + " 262149 262149\n";
    }
    EXPECT_EQ(summary, expected + "tracks 8\n");
}

// Both ways: mido reads our disk, and our reader reads a file mido wrote.
TEST(MidiFileInterop, MidoReadsOurDiskAndWritesOneWeRead)
{
    if (!succeeds("/usr/bin/python3 -c 'import mido'"))
        GTEST_SKIP() << "python3-mido is not installed (scripts/bootstrap installs it)";
    // One line per track: "meta" or "sysex SIZE TICK" per event, TICK the absolute tick.
    const std::string summary = run(script("summary.py", R"(
import sys, mido
f = mido.MidiFile(sys.argv[1])
print(f.type, len(f.tracks), f.ticks_per_beat)
for track in f.tracks:
    t, out = 0, []
    for m in track:
        t += m.time
        if m.type == 'sysex':
            out.append('sysex %d %d' % (len(m.data) + 2, t))
        elif m.is_meta and m.type != 'end_of_track':
            out.append('meta')
    print(' '.join(out))
)") + " " + writeFactoryDisk());
    std::string expected = "1 8 24\nmeta meta meta\n";
    for (int bank = 0; bank < 7; ++bank)
        expected += "meta meta meta sysex 6 " + std::to_string(4316 * bank) + " sysex 262150 "
            + std::to_string(4316 * bank + 289) + "\n";
    EXPECT_EQ(summary, expected);

    const std::string file = scratchPath("mido.mid");
    run(script("write.py", R"(
import sys, mido
M = mido.MetaMessage
f = mido.MidiFile(type=1, ticks_per_beat=24)
f.tracks.append(mido.MidiTrack([M('set_tempo', tempo=500000), M('time_signature', numerator=4, denominator=4,
    clocks_per_click=24, notated_32nd_notes_per_beat=8), M('copyright', text='mido')]))
f.tracks.append(mido.MidiTrack([M('track_name', name='Bank A'), M('sequencer_specific', data=[0x31, 0, 0x66, 0, 0x61, 0]),
    mido.Message('sysex', data=[0x31, 0x0D, 0x79, 0x02], time=0),
    mido.Message('sysex', data=[i % 128 for i in range(300)], time=289)]))
f.save(sys.argv[1])
)") + " " + file);
    KTMidiEvent dump = eventOf({0xF0});
    for (int i = 0; i < 300; ++i)
        dump.push_back(static_cast<std::uint8_t>(i % 128));
    dump.push_back(0xF7);
    const KTMidiEventList tracks[] = {
        {eventOf({0xFF, 0x51, 0x07, 0xA1, 0x20}), eventOf({0xFF, 0x58, 0x04, 0x02, 0x18, 0x08}),
         eventOf({0xFF, 0x02, 'm', 'i', 'd', 'o'})},
        {eventOf({0xFF, 0x03, 'B', 'a', 'n', 'k', ' ', 'A'}), eventOf({0xFF, 0x7F, 0x31, 0x00, 0x66, 0x00, 0x61, 0x00}),
         eventOf({0xF0, 0x31, 0x0D, 0x79, 0x02, 0xF7}), dump},
    };
    KTMidiFileReader reader(file.c_str());
    EXPECT_EQ(reader.mTrackCount, 2);
    EXPECT_EQ(reader.mDivision, 24);
    KTMidiEventList events;
    for (const KTMidiEventList& track : tracks)
        EXPECT_EQ(reader.readTrack(events), track);
    // 289 ticks after a 6-byte message: its 1 transmit tick and 288 ticks of pause.
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[3].mDelay, 6000u);
    EXPECT_TRUE(reader.readTrack(events).empty());
}
