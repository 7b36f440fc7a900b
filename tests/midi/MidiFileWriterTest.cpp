#include "midi/KTMidiFileWriter.h"
#include "tests/midi/MidiFileTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace miditest;

namespace {

const Bytes kFreshFile{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 24,
                       'M', 'T', 'r', 'k', 0, 0, 0, 4, 0x00, 0xFF, 0x2F, 0x00};

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<std::uint64_t> sysExDeltas(const Bytes& track)
{
    std::vector<std::uint64_t> deltas;
    for (const RawEvent& event : parseEvents(track))
        if (event.bytes[0] == 0xF0)
            deltas.push_back(event.delta);
    return deltas;
}

// The chunk data of every track of a file that must be well formed.
std::vector<Bytes> tracksOf(const std::string& path)
{
    const ParsedFile parsed = parseFile(readFile(path));
    EXPECT_TRUE(parsed.wellFormed);
    return parsed.tracks;
}

} // namespace

TEST(KTMidiFileWriter, FreshFileAndMetaEventTrackExactBytes)
{
    const std::string path = scratchPath("meta.mid");
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    writer.flush();
    EXPECT_EQ(readFile(path), kFreshFile);
    writer.writeTrack({eventOf({0xFF, 0x03, 'B', 'a', 'n', 'k'})}, true);
    ASSERT_TRUE(writer.finish());
    EXPECT_EQ(readFile(path), concat({Bytes(kFreshFile.begin(), kFreshFile.begin() + 18),
                                      {0, 0, 0, 12, 0x00, 0xFF, 0x03, 0x04, 'B', 'a', 'n', 'k', 0x00, 0xFF, 0x2F, 0x00}}));
}

TEST(KTMidiFileWriter, SysExDeltasFollowTransmitTimeAndPause)
{
    const std::string path = scratchPath("sysex.mid");
    const KTMidiEvent big = sysExOfSize(200, 6000), small = sysExOfSize(66, 0);
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    writer.writeEvent(big);                              // 4 ticks transmit time + 6000 ms = 288 ticks
    writer.writeEvent(eventOf({0xFF, 0x01, 'x'}, 500));  // meta: delta 0, times untouched
    writer.writeEvent(small);                            // after the 200-byte message's 4 ticks
    ASSERT_TRUE(writer.finish());
    // The 200-byte message is written as F0, 81 47 (199) and 199 bytes.
    EXPECT_EQ(tracksOf(path), std::vector<Bytes>{concat({{0x82, 0x20, 0xF0, 0x81, 0x47}, Bytes(big.begin() + 1, big.end()),
                                                         {0x00, 0xFF, 0x01, 0x01, 'x', 0x04, 0xF0, 0x41},
                                                         Bytes(small.begin() + 1, small.end()), {0x00, 0xFF, 0x2F, 0x00}})});
}

TEST(KTMidiFileWriter, AllBanksDiskLayout)
{
    const std::vector<std::int16_t> image = syntheticImage();
    TLOrvane orvane(image.data());
    const std::string path = scratchPath("allbanks.mid");
    EXPECT_EQ(writeAllBanksDisk(path, orvane)[1], 2 * 4316u);
    const ParsedFile parsed = parseFile(readFile(path));
    ASSERT_TRUE(parsed.wellFormed);
    EXPECT_EQ(parsed.format, 1);
    EXPECT_EQ(parsed.division, 24);
    ASSERT_EQ(parsed.tracks.size(), 8u);
    for (const RawEvent& event : parseEvents(parsed.tracks[0]))
        EXPECT_EQ(event.delta, 0u);
    for (std::size_t track = 1; track < 8; ++track) {
        SCOPED_TRACE(track);
        const std::vector<RawEvent> events = parseEvents(parsed.tracks[track]);
        ASSERT_EQ(events.size(), 6u);
        EXPECT_EQ(sysExDeltas(parsed.tracks[track]), (std::vector<std::uint64_t>{(track - 1) * 4316u, 289u}));
        EXPECT_EQ(events[3].bytes.size(), 6u);
        EXPECT_EQ(events[4].bytes.size(), 262150u);
    }
}

TEST(KTMidiFileWriter, SecondTrackMakesFormatOneAndKeepsOrResetsElapsedTicks)
{
    for (const bool keepElapsed : {true, false}) {
        SCOPED_TRACE(keepElapsed);
        const std::string path = scratchPath(keepElapsed ? "keep.mid" : "reset.mid");
        KTMidiFileWriter writer(path.c_str(), 24, 120);
        writer.writeTrack({sysExOfSize(200, 6000)}, keepElapsed);
        writer.writeTrack({eventOf({0xFF, 0x03}), sysExOfSize(200, 6000)}, keepElapsed);
        ASSERT_TRUE(writer.finish());
        const std::vector<Bytes> tracks = tracksOf(path);  // well formed: format 1, 2 tracks
        ASSERT_EQ(tracks.size(), 2u);
        EXPECT_EQ(sysExDeltas(tracks[1]), std::vector<std::uint64_t>{keepElapsed ? 292u + 288 : 288u});
    }
}

TEST(KTMidiFileWriter, EmptyListsShortEventsAndEndOfTrackEvents)
{
    const std::string path = scratchPath("empty.mid");
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    writer.writeTrack({}, false);
    writer.writeTrack({KTMidiEvent{}, eventOf({0xFF})}, false);  // shorter than their header: not written
    writer.flush();
    EXPECT_EQ(readFile(path), kFreshFile);
    EXPECT_TRUE(writer.mTrackEmpty);
    // An End of Track in a list writes nothing but counts as an event.
    writer.writeTrack({eventOf({0xFF, 0x2F})}, false);
    writer.flush();
    EXPECT_EQ(readFile(path), kFreshFile);
    EXPECT_FALSE(writer.mTrackEmpty);
    writer.writeTrack({eventOf({0xFF, 0x03, 'a'}), eventOf({0xFF, 0x2F}), eventOf({0xFF, 0x03, 'b'})}, false);
    writer.writeEvent(eventOf({0xF7}));  // status alone: a valid event with no data
    ASSERT_TRUE(writer.finish());
    EXPECT_EQ(tracksOf(path), (std::vector<Bytes>{{0x00, 0xFF, 0x2F, 0x00},
                                                  {0x00, 0xFF, 0x03, 0x01, 'a', 0x00, 0xFF, 0x03, 0x01, 'b', 0x00,
                                                   0xF7, 0x00, 0x00, 0xFF, 0x2F, 0x00}}));
}

TEST(KTMidiFileWriter, FileIsValidAfterEveryEvent)
{
    const std::vector<std::int16_t> image = syntheticImage();
    TLOrvane orvane(image.data());
    for (int bank = 0; bank < 2; ++bank)
        orvane.mSamples[bank].resize(40);
    const std::string path = scratchPath("valid.mid");
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    // Bank 0 event by event into one track, bank 1 one track per event.
    std::size_t events = 0;
    for (int bank = 0; bank < 2; ++bank) {
        for (const KTMidiEvent& event : bankTrack(orvane, bank)) {
            if (bank == 0)
                writer.writeEvent(event);
            else
                writer.writeTrack({event}, true);
            writer.flush();
            ++events;
            const ParsedFile parsed = parseFile(readFile(path));
            ASSERT_TRUE(parsed.wellFormed) << "after event " << events;
            ASSERT_EQ(parsed.tracks.size(), bank == 0 ? 1 : events - 4);
        }
    }
    EXPECT_TRUE(writer.finish());
}

TEST(KTMidiFileWriter, FailuresAreVisibleAndOpenStartsAFreshFile)
{
    const std::string missingFolder = scratchPath("no-such-folder") + "/disk.mid";
    KTMidiFileWriter unopened(missingFolder.c_str(), 24, 120);
    unopened.writeTrack({sysExOfSize(200, 0)}, true);
    EXPECT_TRUE(unopened.fail());
    EXPECT_FALSE(unopened.finish());
    EXPECT_FALSE(std::filesystem::exists(missingFolder));
    if (std::filesystem::exists("/dev/full")) {
        KTMidiFileWriter full("/dev/full", 24, 120);
        full.writeTrack({sysExOfSize(100000, 0)}, true);
        EXPECT_FALSE(full.finish());
    }

    const std::string first = scratchPath("first.mid"), second = scratchPath("second.mid");
    KTMidiFileWriter writer(first.c_str(), 24, 120);
    writer.writeTrack({sysExOfSize(200, 6000)}, true);
    writer.writeTrack({sysExOfSize(200, 6000)}, true);
    writer.open(second.c_str(), 96, 100);
    EXPECT_EQ(writer.mElapsedTicks, 0u);
    EXPECT_TRUE(writer.finish());
    Bytes expected = kFreshFile;
    expected[13] = 96;
    EXPECT_EQ(readFile(second), expected);
    EXPECT_EQ(parseFile(readFile(first)).trackCount, 2);
}
