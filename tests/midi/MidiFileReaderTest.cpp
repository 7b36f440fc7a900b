#include "midi/KTMidiFileReader.h"
#include "midi/KTMidiFileWriter.h"
#include "resources/FactoryImage.h"
#include "tests/midi/MidiFileTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace miditest;

namespace {

// A file holding the given track chunks' data after a format 1 header.
Bytes fileOfTracks(std::initializer_list<Bytes> tracks, std::uint16_t division = 24)
{
    Bytes file = bytesOf({'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, static_cast<int>(tracks.size()),
                          division >> 8, division & 0xFF});
    for (const Bytes& data : tracks) {
        const std::size_t n = data.size();
        const Bytes header = bytesOf({'M', 'T', 'r', 'k', static_cast<int>(n >> 24), static_cast<int>((n >> 16) & 0xFF),
                                      static_cast<int>((n >> 8) & 0xFF), static_cast<int>(n & 0xFF)});
        file.insert(file.end(), header.begin(), header.end());
        file.insert(file.end(), data.begin(), data.end());
    }
    return file;
}

Bytes plus(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Every list the reader gives until the first empty one, at most limit lists.
std::vector<KTMidiEventList> readAllTracks(KTMidiFileReader& reader, std::size_t limit = 100000)
{
    std::vector<KTMidiEventList> tracks;
    KTMidiEventList events;
    while (tracks.size() < limit && !reader.readTrack(events).empty())
        tracks.push_back(events);
    return tracks;
}

std::vector<KTMidiEventList> readAllTracks(const std::string& path)
{
    KTMidiFileReader reader(path.c_str());
    return readAllTracks(reader);
}

std::vector<std::uint64_t> delaysOf(const KTMidiEventList& events)
{
    std::vector<std::uint64_t> delays;
    for (const KTMidiEvent& event : events)
        delays.push_back(event.mDelay);
    return delays;
}

std::string writeDisk(const std::string& name, const std::vector<KTMidiEventList>& tracks)
{
    const std::string path = scratchPath(name);
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    for (const KTMidiEventList& track : tracks)
        writer.writeTrack(track, true);
    EXPECT_TRUE(writer.finish());
    return path;
}

const Bytes kEndOfTrack = bytesOf({0x00, 0xFF, 0x2F, 0x00});

} // namespace

TEST(KTMidiFileReader, FreshWriterFileHasNoEvents)
{
    const std::string path = writeDisk("fresh.mid", {});
    KTMidiFileReader reader(path.c_str());
    EXPECT_TRUE(reader.isMidiFile());
    EXPECT_EQ(reader.mFormat, 0);
    EXPECT_EQ(reader.mTrackCount, 1);
    EXPECT_EQ(reader.mDivision, 24);
    EXPECT_EQ(reader.mFileSize, 26u);
    KTMidiEventList events{eventOf({0xFF, 0x01})};
    EXPECT_TRUE(reader.readTrack(events).empty());
    EXPECT_TRUE(reader.readTrack(events).empty());
}

TEST(KTMidiFileReader, PausesReadBackFromDeltaTimes)
{
    struct Case {
        const char* name;
        KTMidiEventList written;
        std::vector<std::uint64_t> readDelays;
    };
    const Case cases[] = {
        {"meta then 6000 ms", {eventOf({0xFF, 0x03, 'a', 'b', 'c', 'd'}), sysExOfSize(200, 6000)}, {0, 6000}},
        {"10 ms is one tick", {sysExOfSize(200, 10)}, {21}},
        {"second with no pause", {sysExOfSize(200, 6000), sysExOfSize(200, 0)}, {6000, 0}},
        {"meta between", {sysExOfSize(66, 0), eventOf({0xFF, 0x01, 'x'}, 700), sysExOfSize(66, 500)}, {0, 0, 500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = writeDisk("pauses.mid", {c.written});
        KTMidiFileReader reader(path.c_str());
        KTMidiEventList events;
        reader.readTrack(events);
        ASSERT_EQ(events.size(), c.written.size());
        for (std::size_t i = 0; i < events.size(); ++i)
            EXPECT_EQ(events[i], c.written[i]);
        EXPECT_EQ(delaysOf(events), c.readDelays);
        EXPECT_TRUE(reader.readTrack(events).empty());
        EXPECT_TRUE(reader.readTrack(events).empty());
    }
}

TEST(KTMidiFileReader, FactoryBanksRoundTripThroughAnAllBanksDisk)
{
    TLOrvane orvane(FactoryImage::samples());
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank) {
        orvane.setBankName(("Name " + std::to_string(bank)).c_str(), bank);
        orvane.setSampleName(("Slot zero " + std::to_string(bank)).c_str(), bank, 0);
    }
    const std::string path = scratchPath("allbanks.mid");
    writeAllBanksDisk(path, orvane);

    KTMidiFileReader reader(path.c_str());
    ASSERT_TRUE(reader.isMidiFile());
    EXPECT_EQ(reader.mFormat, 1);
    EXPECT_EQ(reader.mTrackCount, 8);
    const std::vector<KTMidiEventList> tracks = readAllTracks(reader);
    ASSERT_EQ(tracks.size(), 8u);
    EXPECT_EQ(tracks[0], headerEvents());
    EXPECT_EQ(delaysOf(tracks[0]), std::vector<std::uint64_t>(3, 0));

    const std::vector<std::int16_t> otherImage = syntheticImage();
    TLOrvane loaded(otherImage.data());
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank) {
        SCOPED_TRACE(bank);
        const KTMidiEventList& events = tracks[bank + 1];
        const KTMidiEventList expected = bankTrack(orvane, bank);
        ASSERT_EQ(events.size(), expected.size());
        for (std::size_t i = 0; i < events.size(); ++i)
            EXPECT_TRUE(events[i] == expected[i]) << "event " << i;
        // 4,316 ticks a bank at 500/24 ms a tick, rounded up: 0, 89,917, 179,834, ...
        const std::uint64_t firstPause = (4316u * bank * 500 + 23) / 24;
        EXPECT_EQ(delaysOf(events), (std::vector<std::uint64_t>{0, 0, 0, firstPause, 6000}));
        ASSERT_EQ(loaded.detectBank(events), bank);
        ASSERT_TRUE(loaded.loadBank(events, bank));
        EXPECT_EQ(loaded.mSamples[bank], orvane.mSamples[bank]);
        EXPECT_EQ(loaded.mBankNames[bank], orvane.mBankNames[bank]);
        EXPECT_EQ(loaded.mSampleNames[bank][0], orvane.mSampleNames[bank][0]);
    }
    EXPECT_EQ(tracks[2][3].mDelay, 89917u);
    EXPECT_EQ(tracks[3][3].mDelay, 179834u);
    KTMidiEventList events;
    EXPECT_TRUE(reader.readTrack(events).empty());
}

TEST(KTMidiFileReader, TrackBoundaries)
{
    const Bytes meta = bytesOf({0x00, 0xFF, 0x03, 0x01, 'a'});
    const Bytes openSysEx = bytesOf({0x00, 0xF0, 0x03, 0x31, 0x02, 0x03});  // no closing F7
    struct Case {
        const char* name;
        Bytes file;
        std::vector<std::size_t> listSizes;
    };
    const Case cases[] = {
        {"two tracks", fileOfTracks({plus(meta, kEndOfTrack), plus(meta, plus(meta, kEndOfTrack))}), {1, 2}},
        // The list ends with the unterminated message; the rest of its track is skipped.
        {"unterminated sysex", fileOfTracks({plus(openSysEx, plus(meta, kEndOfTrack)), plus(meta, kEndOfTrack)}),
         {1, 1}},
        // A chunk that is not "MTrk": its bytes after the id are read as events.
        {"other chunk id", plus(fileOfTracks({plus(meta, kEndOfTrack)}), plus(bytesOf({'X', 'x', 'x', 'x'}),
                                                                               plus(meta, kEndOfTrack))),
         {1, 1}},
        // A header length above 6: what follows the sixth header byte is the first track.
        {"long header", [&] {
             Bytes file = fileOfTracks({plus(meta, kEndOfTrack)});
             file[7] = 10;
             return file;
         }(), {1}},
        // A track length past the end: the next track is read at the start of its data.
        {"length past end", [&] {
             Bytes file = fileOfTracks({plus(meta, kEndOfTrack)});
             file[18] = 0x7F;
             return plus(file, bytesOf({'M', 'T', 'r', 'k', 0, 0, 0, 4, 0x00, 0xFF, 0x2F, 0x00}));
         }(), {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = scratchPath("bounds.mid");
        writeFile(path, c.file);
        std::vector<std::size_t> sizes;
        for (const KTMidiEventList& events : readAllTracks(path))
            sizes.push_back(events.size());
        EXPECT_EQ(sizes, c.listSizes);
    }
}

TEST(KTMidiFileReader, TrackLengthPastTheEndRereadsTheData)
{
    // The data of the first track begins with an "MTrk" chunk of its own.
    const Bytes inner = bytesOf({'M', 'T', 'r', 'k', 0, 0, 0, 9, 0x00, 0xFF, 0x03, 0x01, 'b', 0x00, 0xFF, 0x2F, 0x00});
    Bytes file = fileOfTracks({inner});
    file[18] = 0x7F;  // length of the outer track runs past the end
    const std::string path = scratchPath("reread.mid");
    writeFile(path, file);
    KTMidiFileReader reader(path.c_str());
    KTMidiEventList events;
    reader.readTrack(events);  // "MT" read as a delta and event: garbage that ends the list
    reader.readTrack(events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], eventOf({0xFF, 0x03, 'b'}));
    EXPECT_EQ(reader.mTrackStart, 22u);
    EXPECT_TRUE(reader.readTrack(events).empty());
}

TEST(KTMidiFileReader, HostileInputEndsCleanly)
{
    const Bytes sysEx = bytesOf({0x00, 0xF0, 0x02, 0x01, 0xF7});
    struct Case {
        const char* name;
        Bytes file;
        bool midi;
        std::vector<std::size_t> listSizes;
        std::vector<std::uint64_t> firstDelays;
    };
    const Case cases[] = {
        {"missing file", {}, false, {}, {}},
        {"empty file", Bytes{}, false, {}, {}},
        {"not a midi file", bytesOf({'R', 'I', 'F', 'F', 0, 0, 0, 0}), false, {}, {}},
        {"header id only", bytesOf({'M', 'T', 'h', 'd'}), true, {}, {}},
        {"header cut short", bytesOf({'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1}), true, {}, {}},
        {"65535 tracks claimed", [&] {
             Bytes file = fileOfTracks({plus(sysEx, kEndOfTrack)});
             file[10] = file[11] = 0xFF;
             return file;
         }(), true, {1}, {0}},
        {"chunk size 0xFFFFFFFF", [&] {
             Bytes file = fileOfTracks({plus(sysEx, kEndOfTrack)});
             std::fill(file.begin() + 18, file.begin() + 22, 0xFF);
             return file;
         }(), true, {1}, {0}},
        {"event length 0x0FFFFFFF", fileOfTracks({bytesOf({0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3})}), true, {}, {}},
        {"endless delta", fileOfTracks({Bytes(5000, 0x80)}), true, {}, {}},
        {"endless event length", fileOfTracks({plus(bytesOf({0x00, 0xF0}), Bytes(5000, 0x80))}), true, {}, {}},
        {"division 0", fileOfTracks({plus(bytesOf({0x7F, 0xF0, 0x02, 0x01, 0xF7}), kEndOfTrack)}, 0), true, {1}, {0}},
        // The second message's delta is shorter than the first one's transmit time.
        // The second message's delta (1) is shorter than the first one's transmit time (4).
        {"delta below transmit time", [&] {
             Bytes track = plus(bytesOf({0x00, 0xF0, 0x81, 0x47}), Bytes(198, 0x11));
             track.push_back(0xF7);
             return fileOfTracks({plus(plus(track, bytesOf({0x01, 0xF0, 0x02, 0x01, 0xF7})), kEndOfTrack)});
         }(), true, {2}, {0, 0}},
        // A first message whose delta is below the time already elapsed cannot occur in one track;
        // a very large delta saturates instead of wrapping.
        {"huge delta", fileOfTracks({plus(plus(bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),
                                                  bytesOf({0xF0, 0x01, 0xF7})), kEndOfTrack)}),
         true, {1}, {~std::uint64_t{0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = scratchPath("hostile.mid");
        std::filesystem::remove(path);
        if (std::string(c.name) != "missing file")
            writeFile(path, c.file);
        KTMidiFileReader reader(path.c_str());
        EXPECT_EQ(reader.isMidiFile(), c.midi);
        std::vector<std::size_t> sizes;
        const std::vector<KTMidiEventList> tracks = readAllTracks(reader);
        for (const KTMidiEventList& events : tracks)
            sizes.push_back(events.size());
        EXPECT_EQ(sizes, c.listSizes);
        if (!tracks.empty()) {
            EXPECT_EQ(delaysOf(tracks[0]), c.firstDelays);
        }
        KTMidiEventList events;
        EXPECT_TRUE(reader.readTrack(events).empty());
    }
}

TEST(KTMidiFileReader, OpenStartsOverOnAnotherFile)
{
    const std::string first = writeDisk("first.mid", {{sysExOfSize(200, 6000)}, {sysExOfSize(200, 6000)}});
    const std::string second = writeDisk("second.mid", {{eventOf({0xFF, 0x03, 'z'})}});
    KTMidiFileReader reader(first.c_str());
    KTMidiEventList events;
    reader.readTrack(events);
    reader.open(second.c_str());
    EXPECT_EQ(reader.mTrackCount, 1);
    ASSERT_EQ(reader.readTrack(events).size(), 1u);
    EXPECT_EQ(events[0], eventOf({0xFF, 0x03, 'z'}));
    reader.open((second + ".missing").c_str());
    EXPECT_FALSE(reader.isMidiFile());
    EXPECT_TRUE(reader.readTrack(events).empty());
    reader.open(first.c_str());
    EXPECT_EQ(readAllTracks(reader).size(), 2u);
}

// A track whose length runs past the end makes the reader take its data again as
// further tracks, 8 bytes on each time. Reading must stay linear in the file size.
TEST(KTMidiFileReader, RereadingDamagedTracksIsBounded)
{
    Bytes data;
    for (int i = 0; i < 5000; ++i) {
        const Bytes event = bytesOf({0x00, 0xF7, 0x01, 0x05});
        data.insert(data.end(), event.begin(), event.end());
    }
    Bytes file = fileOfTracks({data});
    file[18] = 0x7F;
    const std::string path = scratchPath("rereads.mid");
    writeFile(path, file);
    KTMidiFileReader reader(path.c_str());
    const std::size_t bound = 2 * file.size() / 4;  // events of 4 bytes, the file read twice at most
    std::size_t events = 0;
    KTMidiEventList track;
    while (events <= bound && !reader.readTrack(track).empty())
        events += track.size();
    EXPECT_GE(events, 5000u);
    EXPECT_LE(events, bound);
}

// Every prefix of a disk reads to an end without a crash or a hang, and loading
// what was read never gives a bank outside the store.
TEST(KTMidiFileReader, TruncatedDisksEndCleanly)
{
    const std::vector<std::int16_t> image = syntheticImage();
    TLOrvane orvane(image.data());
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank)
        orvane.mSamples[bank].resize(8);
    const std::string smallPath = scratchPath("small.mid");
    writeAllBanksDisk(smallPath, orvane);
    const Bytes small = readFile(smallPath);

    TLOrvane full(image.data());
    const std::string fullPath = scratchPath("full.mid");
    writeAllBanksDisk(fullPath, full);
    const Bytes disk = readFile(fullPath);

    struct Prefixes {
        const Bytes* file;
        std::vector<std::size_t> lengths;
    };
    Prefixes smallPrefixes{&small, {}};
    for (std::size_t n = 0; n <= small.size(); ++n)
        smallPrefixes.lengths.push_back(n);
    Prefixes diskPrefixes{&disk, {}};
    for (std::size_t n = 0; n <= disk.size(); n += disk.size() / 3)
        diskPrefixes.lengths.push_back(n);
    for (std::size_t cut : {1})
        diskPrefixes.lengths.push_back(disk.size() - cut);

    const std::string path = scratchPath("prefix.mid");
    TLOrvane target(image.data());
    for (const Prefixes& prefixes : {smallPrefixes, diskPrefixes}) {
        for (std::size_t length : prefixes.lengths) {
            SCOPED_TRACE(length);
            writeFile(path, Bytes(prefixes.file->begin(), prefixes.file->begin() + static_cast<std::ptrdiff_t>(length)));
            KTMidiFileReader reader(path.c_str());
            const std::vector<KTMidiEventList> tracks = readAllTracks(reader, length + 1);
            ASSERT_LE(tracks.size(), std::max<std::size_t>(length / 3, 8));
            std::size_t complete = 0;
            for (const KTMidiEventList& events : tracks) {
                const int bank = target.detectBank(events);
                if (bank >= 0 && bank < TLOrvane::kBankCount && target.loadBank(events, bank))
                    complete += target.mSamples[bank] == orvane.mSamples[bank] || target.mSamples[bank] == full.mSamples[bank];
            }
            if (length == prefixes.file->size()) {
                EXPECT_EQ(complete, 7u);
            }
        }
    }
}
