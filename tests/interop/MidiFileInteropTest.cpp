// Our disks read by an independent Standard MIDI File parser (Python's mido),
// and a file written by mido read by our reader.
#include "device/TLOrvane.h"
#include "midi/KTMidiFileReader.h"
#include "midi/KTMidiFileWriter.h"
#include "resources/FactoryImage.h"
#include "tests/midi/TestBytes.h"

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

// A header track, then each factory bank's names and sample dump on a track of its own.
std::string writeFactoryDisk()
{
    TLOrvane orvane(FactoryImage::samples());
    const std::string path = scratchPath("allbanks.mid");
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    writer.writeTrack({event("ff51 07a120"), event("ff58 04021808")}, true);  // 120 beats a minute in 4/4
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank) {
        KTMidiEventList events{orvane.makeMetaEvent(3, bank), orvane.makeMetaEvent(4, bank),
                               orvane.makeMetaEvent(127, bank)};
        for (KTMidiEvent& event : orvane.makeSampleDump(bank, 0))
            events.push_back(event);
        writer.writeTrack(events, true);
    }
    EXPECT_TRUE(writer.finish());
    return path;
}

// A line or two a bank, from its track number and the ticks of its short message
// and of its 262,150-byte dump: 4,316 ticks a bank, the dump 289 ticks after.
template <typename Line> std::string perBank(Line line)
{
    std::string text;
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank)
        text += line(std::to_string(bank + 2) + " ", std::to_string(4316 * bank), std::to_string(4316 * bank + 289));
    return text;
}

} // namespace

TEST(MidiFileInterop, MidoReadsOurDiskAndWritesOneWeRead)
{
    if (std::system("/usr/bin/python3 -c 'import mido' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-mido is not installed (scripts/bootstrap installs it)";
    // Per bank track: each message's size and absolute tick, then the kinds of its meta events.
    const std::string summary = run("/usr/bin/python3 -c \"import sys, mido\nf = mido.MidiFile(sys.argv[1])\n"
                                    "print(f.type, len(f.tracks), f.ticks_per_beat)\nfor track in f.tracks[1:]:\n"
                                    " t = 0\n for m in track:\n  t += m.time\n"
                                    "  if m.type == 'sysex': print(len(m.data) + 2, t)\n"
                                    " print([m.type for m in track if m.is_meta])\" " + writeFactoryDisk());
    EXPECT_EQ(summary, "1 8 24\n" + perBank([](auto, auto start, auto dump) {
                  return "6 " + start + "\n262150 " + dump
                      + "\n['track_name', 'instrument_name', 'sequencer_specific', 'end_of_track']\n";
              }));

    const std::string file = scratchPath("mido.mid");
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
