// Our disks read by an independent Standard MIDI File parser (Python's mido),
// and a file written by mido read by our reader.
#include "device/TLDiskWriter.h"
#include "device/TLOrvane.h"
#include "midi/KTMidiFileReader.h"
#include "resources/FactoryImage.h"
#include "tests/support/TestBytes.h"

#include <cstdio>
#include <cstdlib>

namespace {

// The standard output of a command, which must succeed.
std::string run(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    EXPECT_EQ(pipe ? pclose(pipe) : -1, 0) << command;
    return output;
}

} // namespace

TEST(MidiFileInterop, MidoReadsOurDiskAndWritesOneWeRead)
{
    if (std::system("/usr/bin/python3 -c 'import mido' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-mido is not installed (scripts/bootstrap installs it)";
    const TestFolder folder;
    TLOrvane orvane(FactoryImage::samples());
    const std::string disk = folder.path("allbanks.mid");
    ASSERT_TRUE(TLDiskWriter::save(orvane, TLDiskShape::AllBanks, 0, disk));
    // Per track: each message's size and absolute tick, then the kinds of its meta events.
    const std::string summary = run("/usr/bin/python3 -c \"import sys, mido\nf = mido.MidiFile(sys.argv[1])\n"
                                    "print(f.type, len(f.tracks), f.ticks_per_beat)\nfor track in f.tracks:\n"
                                    " t = 0\n for m in track:\n  t += m.time\n"
                                    "  if m.type == 'sysex': print(len(m.data) + 2, t)\n"
                                    " print([m.type for m in track if m.is_meta])\" " + disk);
    // A track a bank, which starts where the one before ended: 4,316 ticks a
    // bank, the dump 289 ticks after the bank's short message.
    std::string expected = "1 8 24\n['set_tempo', 'time_signature', 'copyright', 'end_of_track']\n";
    for (int tick = 0; tick < 7 * 4316; tick += 4316)
        expected += "6 " + std::to_string(tick) + "\n262150 " + std::to_string(tick + 289) +
                    "\n['track_name', 'instrument_name', 'sequencer_specific', 'end_of_track']\n";
    EXPECT_EQ(summary, expected);

    const std::string file = folder.path("mido.mid");
    run("/usr/bin/python3 -c \"import sys, mido\nf = mido.MidiFile(type=1, ticks_per_beat=24)\n"
        "f.tracks.append(mido.MidiTrack([mido.MetaMessage('track_name', name='Bank A'),\n"
        " mido.Message('sysex', data=[0x31, 0x0D]),\n"
        " mido.Message('sysex', data=[i % 128 for i in range(300)], time=289)]))\n"
        "f.save(sys.argv[1])\" " + file);
    KTMidiFileReader reader(file.c_str());
    EXPECT_EQ(reader.mDivision, 24);
    KTMidiEventList events;
    reader.readTrack(events);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0], hex("ff03'Bank A'"));
    EXPECT_EQ(events[1], hex("f0310df7"));
    EXPECT_EQ(events[2].size(), 302u);
    EXPECT_EQ(events[2][300], 299 % 128);
    // 289 ticks after a 4-byte message: its 1 tick on the line and 288 ticks (6,000 ms) of pause.
    EXPECT_EQ(events[2].mDelay, 6000u);
    EXPECT_TRUE(reader.readTrack(events).empty());
}
