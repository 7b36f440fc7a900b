#include "midi/KTMidiFileWriter.h"
#include "tests/midi/MidiFileTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace miditest;

namespace {

const Bytes kFreshFile = bytesOf({0x4D, 0x54, 0x68, 0x64, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x01, 0x00,
                                  0x18, 0x4D, 0x54, 0x72, 0x6B, 0x00, 0x00, 0x00, 0x04, 0x00, 0xFF, 0x2F, 0x00});

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<RawEvent> eventsOfTrack(const Bytes& file, std::size_t track)
{
    const ParsedFile parsed = parseFile(file);
    EXPECT_TRUE(parsed.wellFormed);
    return track < parsed.tracks.size() ? parseEvents(parsed.tracks[track].data) : std::vector<RawEvent>{};
}

std::vector<std::uint64_t> sysExDeltas(const std::vector<RawEvent>& events)
{
    std::vector<std::uint64_t> deltas;
    for (const RawEvent& event : events)
        if (event.bytes[0] == 0xF0)
            deltas.push_back(event.delta);
    return deltas;
}

} // namespace

TEST(KTMidiFileWriter, FreshFileIsTheTwentySixByteFile)
{
    const std::string path = scratchPath("fresh.mid");
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    writer.flush();
    EXPECT_EQ(readFile(path), kFreshFile);
    EXPECT_EQ(writer.mTrackCount, 1);
    EXPECT_TRUE(writer.mTrackEmpty);
    EXPECT_TRUE(writer.finish());
    EXPECT_EQ(readFile(path), kFreshFile);
}

TEST(KTMidiFileWriter, MetaEventTrackExactBytes)
{
    const std::string path = scratchPath("meta.mid");
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    writer.writeTrack({eventOf({0xFF, 0x03, 'B', 'a', 'n', 'k'})}, true);
    ASSERT_TRUE(writer.finish());
    const Bytes expected = concat({Bytes(kFreshFile.begin(), kFreshFile.begin() + 18), bytesOf({0, 0, 0, 12}),
                                   bytesOf({0x00, 0xFF, 0x03, 0x04, 'B', 'a', 'n', 'k', 0x00, 0xFF, 0x2F, 0x00})});
    EXPECT_EQ(readFile(path), expected);
}

TEST(KTMidiFileWriter, SysExDeltasFollowTransmitTimeAndPause)
{
    const std::string path = scratchPath("sysex.mid");
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    writer.writeEvent(sysExOfSize(200, 6000));
    EXPECT_EQ(writer.mLastTransmitTicks, 4u);
    EXPECT_EQ(writer.mElapsedTicks, 292u);
    writer.writeEvent(eventOf({0xFF, 0x01, 'x'}, 500));  // meta: delta 0, times untouched
    EXPECT_EQ(writer.mLastTransmitTicks, 4u);
    EXPECT_EQ(writer.mElapsedTicks, 292u);
    writer.writeEvent(sysExOfSize(66, 0));
    EXPECT_EQ(writer.mLastTransmitTicks, 2u);
    EXPECT_EQ(writer.mElapsedTicks, 294u);
    ASSERT_TRUE(writer.finish());

    const std::vector<RawEvent> events = eventsOfTrack(readFile(path), 0);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].deltaBytes, bytesOf({0x82, 0x20}));
    EXPECT_EQ(events[0].bytes, sysExOfSize(200, 0));
    EXPECT_EQ(events[1].deltaBytes, bytesOf({0x00}));
    EXPECT_EQ(events[2].deltaBytes, bytesOf({0x04}));
    EXPECT_EQ(events[3].bytes, bytesOf({0xFF, 0x2F}));
    // The 200-byte message is written as F0, 81 47 (199) and 199 bytes.
    const Bytes file = readFile(path);
    EXPECT_EQ(Bytes(file.begin() + 22, file.begin() + 27), bytesOf({0x82, 0x20, 0xF0, 0x81, 0x47}));
}

TEST(KTMidiFileWriter, AllBanksDiskLayout)
{
    const std::vector<std::int16_t> image = syntheticImage();
    TLOrvane orvane(image.data());
    const std::string path = scratchPath("allbanks.mid");
    const std::vector<std::uint64_t> elapsed = writeAllBanksDisk(path, orvane);
    ASSERT_EQ(elapsed.size(), 7u);
    EXPECT_EQ(elapsed[0], 4316u);
    EXPECT_EQ(elapsed[1], 2 * 4316u);

    const Bytes file = readFile(path);
    const ParsedFile parsed = parseFile(file);
    ASSERT_TRUE(parsed.wellFormed);
    EXPECT_EQ(parsed.format, 1);
    EXPECT_EQ(parsed.trackCount, 8);
    EXPECT_EQ(parsed.division, 24);
    ASSERT_EQ(parsed.tracks.size(), 8u);

    const std::vector<RawEvent> first = parseEvents(parsed.tracks[0].data);
    ASSERT_EQ(first.size(), 4u);
    for (const RawEvent& event : first) {
        EXPECT_EQ(event.bytes[0], 0xFF);
        EXPECT_EQ(event.delta, 0u);
    }
    for (std::size_t track = 1; track < 8; ++track) {
        SCOPED_TRACE(track);
        const std::vector<RawEvent> events = parseEvents(parsed.tracks[track].data);
        ASSERT_EQ(events.size(), 6u);
        EXPECT_EQ(sysExDeltas(events), (std::vector<std::uint64_t>{(track - 1) * 4316u, 289u}));
        EXPECT_EQ(events[3].bytes.size(), 6u);
        EXPECT_EQ(events[4].bytes.size(), 262150u);
        EXPECT_EQ(events[4].deltaBytes, bytesOf({0x82, 0x21}));
    }
    EXPECT_EQ(parseEvents(parsed.tracks[2].data)[3].deltaBytes, bytesOf({0xA1, 0x5C}));
}

TEST(KTMidiFileWriter, SecondTrackKeepsOrResetsElapsedTicks)
{
    struct Case {
        bool keepElapsed;
        std::uint64_t secondTrackDelta;
    };
    for (const Case c : {Case{true, 292 + 288}, Case{false, 288}}) {
        SCOPED_TRACE(c.keepElapsed);
        const std::string path = scratchPath(c.keepElapsed ? "keep.mid" : "reset.mid");
        KTMidiFileWriter writer(path.c_str(), 24, 120);
        writer.writeTrack({sysExOfSize(200, 6000)}, c.keepElapsed);
        writer.writeTrack({eventOf({0xFF, 0x03}), sysExOfSize(200, 6000)}, c.keepElapsed);
        EXPECT_EQ(writer.mTrackCount, 2);
        ASSERT_TRUE(writer.finish());
        const Bytes file = readFile(path);
        EXPECT_EQ(Bytes(file.begin() + 8, file.begin() + 12), bytesOf({0, 1, 0, 2}));
        EXPECT_EQ(sysExDeltas(eventsOfTrack(file, 1)), std::vector<std::uint64_t>{c.secondTrackDelta});
    }
}

TEST(KTMidiFileWriter, EmptyListsAndEndOfTrackEvents)
{
    const std::string path = scratchPath("empty.mid");
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    writer.writeTrack({}, false);
    writer.writeTrack({}, false);
    writer.flush();
    EXPECT_EQ(readFile(path), kFreshFile);
    EXPECT_TRUE(writer.mTrackEmpty);

    // An End of Track in a list writes nothing but counts as an event.
    writer.writeTrack({eventOf({0xFF, 0x2F})}, false);
    writer.flush();
    EXPECT_EQ(readFile(path), kFreshFile);
    EXPECT_FALSE(writer.mTrackEmpty);
    writer.writeTrack({eventOf({0xFF, 0x03, 'a'}), eventOf({0xFF, 0x2F}), eventOf({0xFF, 0x03, 'b'})}, false);
    ASSERT_TRUE(writer.finish());

    const Bytes file = readFile(path);
    const ParsedFile parsed = parseFile(file);
    ASSERT_TRUE(parsed.wellFormed);
    ASSERT_EQ(parsed.tracks.size(), 2u);
    EXPECT_EQ(parsed.tracks[0].data, bytesOf({0x00, 0xFF, 0x2F, 0x00}));
    EXPECT_EQ(parsed.tracks[1].data,
              bytesOf({0x00, 0xFF, 0x03, 0x01, 'a', 0x00, 0xFF, 0x03, 0x01, 'b', 0x00, 0xFF, 0x2F, 0x00}));
}

TEST(KTMidiFileWriter, EventsShorterThanTheirHeaderAreNotWritten)
{
    const std::string path = scratchPath("short.mid");
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    writer.writeTrack({KTMidiEvent{}, eventOf({0xFF})}, true);
    EXPECT_TRUE(writer.mTrackEmpty);
    writer.writeEvent(eventOf({0xF7}));  // status alone: a valid event with no data
    ASSERT_TRUE(writer.finish());
    const ParsedFile parsed = parseFile(readFile(path));
    ASSERT_TRUE(parsed.wellFormed);
    EXPECT_EQ(parsed.tracks[0].data, bytesOf({0x00, 0xF7, 0x00, 0x00, 0xFF, 0x2F, 0x00}));
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

TEST(KTMidiFileWriter, FailuresAreVisibleThroughTheStream)
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

    // open() on a new path starts a new file from scratch.
    const std::string first = scratchPath("first.mid");
    const std::string second = scratchPath("second.mid");
    KTMidiFileWriter writer(first.c_str(), 24, 120);
    writer.writeTrack({sysExOfSize(200, 6000)}, true);
    writer.writeTrack({sysExOfSize(200, 6000)}, true);
    writer.open(second.c_str(), 96, 100);
    EXPECT_EQ(writer.mTrackCount, 1);
    EXPECT_EQ(writer.mElapsedTicks, 0u);
    EXPECT_TRUE(writer.finish());
    Bytes expected = kFreshFile;
    expected[13] = 96;
    EXPECT_EQ(readFile(second), expected);
    EXPECT_EQ(parseFile(readFile(first)).trackCount, 2);
}
