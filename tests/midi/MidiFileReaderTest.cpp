#include "midi/KTMidiFileReader.h"
#include "midi/KTMidiFileWriter.h"
#include "resources/FactoryImage.h"
#include "tests/midi/MidiFileTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

using namespace miditest;

namespace {

Bytes plus(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A file holding the given track chunks' data after a format 1 header.
Bytes fileOfTracks(std::initializer_list<Bytes> tracks, std::uint8_t division = 24)
{
    Bytes file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, static_cast<std::uint8_t>(tracks.size()), 0, division};
    for (const Bytes& data : tracks) {
        const std::size_t n = data.size();
        file = plus(file, {'M', 'T', 'r', 'k', 0, static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 8),
                           static_cast<std::uint8_t>(n)});
        file = plus(file, data);
    }
    return file;
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

template <typename T, typename F> auto each(const std::vector<T>& items, F field)
{
    std::vector<decltype(field(items[0]))> values;
    for (const T& item : items)
        values.push_back(field(item));
    return values;
}
const auto kSize = [](const KTMidiEventList& events) { return events.size(); };
const auto kDelay = [](const KTMidiEvent& event) { return event.mDelay; };

std::string writeDisk(const std::string& name, const std::vector<KTMidiEventList>& tracks)
{
    const std::string path = scratchPath(name);
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    for (const KTMidiEventList& track : tracks)
        writer.writeTrack(track, true);
    EXPECT_TRUE(writer.finish());
    return path;
}

const Bytes kEndOfTrack{0x00, 0xFF, 0x2F, 0x00};

} // namespace

TEST(KTMidiFileReader, PausesReadBackFromDeltaTimes)
{
    struct Case {
        const char* name;
        KTMidiEventList written;
        std::vector<std::uint64_t> readDelays;
    };
    const Case cases[] = {
        {"fresh file, no events", {}, {}},
        {"meta then 6000 ms", {eventOf({0xFF, 0x03, 'a', 'b', 'c', 'd'}), sysExOfSize(200, 6000)}, {0, 6000}},
        {"10 ms is one tick", {sysExOfSize(200, 10)}, {21}},
        {"second with no pause", {sysExOfSize(200, 6000), sysExOfSize(200, 0)}, {6000, 0}},
        {"meta between", {sysExOfSize(66, 0), eventOf({0xFF, 0x01, 'x'}, 700), sysExOfSize(66, 500)}, {0, 0, 500}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KTMidiFileReader reader(writeDisk("pauses.mid", {c.written}).c_str());
        EXPECT_TRUE(reader.isMidiFile());
        KTMidiEventList events{eventOf({0xFF, 0x01})};
        reader.readTrack(events);
        EXPECT_EQ(events, c.written);  // the bytes; the delays follow
        EXPECT_EQ(each(events, kDelay), c.readDelays);
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
    EXPECT_EQ(reader.mFormat, 1);
    EXPECT_EQ(reader.mTrackCount, 8);
    const std::vector<KTMidiEventList> tracks = readAllTracks(reader);
    ASSERT_EQ(tracks.size(), 8u);
    EXPECT_EQ(tracks[0], headerEvents());
    EXPECT_EQ(each(tracks[0], kDelay), std::vector<std::uint64_t>(3, 0));

    // 4,316 ticks a bank at 500/24 ms a tick, rounded up.
    const std::uint64_t firstPauses[] = {0, 89917, 179834, 269750, 359667, 449584, 539500};
    const std::vector<std::int16_t> otherImage = syntheticImage();
    TLOrvane loaded(otherImage.data());
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank) {
        SCOPED_TRACE(bank);
        const KTMidiEventList& events = tracks[bank + 1];
        const KTMidiEventList expected = bankTrack(orvane, bank);
        ASSERT_EQ(events.size(), expected.size());
        for (std::size_t i = 0; i < events.size(); ++i)
            EXPECT_TRUE(events[i] == expected[i]) << "event " << i;
        EXPECT_EQ(each(events, kDelay), (std::vector<std::uint64_t>{0, 0, 0, firstPauses[bank], 6000}));
        ASSERT_EQ(loaded.detectBank(events), bank);
        ASSERT_TRUE(loaded.loadBank(events, bank));
        EXPECT_EQ(loaded.mSamples[bank], orvane.mSamples[bank]);
        EXPECT_EQ(loaded.mBankNames[bank], orvane.mBankNames[bank]);
        EXPECT_EQ(loaded.mSampleNames[bank][0], orvane.mSampleNames[bank][0]);
    }
    KTMidiEventList events;
    EXPECT_TRUE(reader.readTrack(events).empty());
}

// Damaged and hostile files read to an end: the sizes of the first four lists
// and the delays of the first.
TEST(KTMidiFileReader, DamagedAndHostileFilesEndCleanly)
{
    const Bytes meta{0x00, 0xFF, 0x03, 0x01, 'a'};
    const Bytes track = plus(meta, kEndOfTrack);
    const Bytes sysExTrack = plus({0x00, 0xF0, 0x02, 0x01, 0xF7}, kEndOfTrack);
    Bytes longHeader = fileOfTracks({track}), pastEnd = fileOfTracks({track}), manyTracks = fileOfTracks({sysExTrack}),
          hugeChunk = fileOfTracks({sysExTrack});
    longHeader[7] = 10;
    pastEnd[18] = 0x7F;
    manyTracks[10] = manyTracks[11] = 0xFF;
    std::fill(hugeChunk.begin() + 18, hugeChunk.begin() + 22, 0xFF);
    // A track whose length runs past the end and whose data begins with a chunk of its own.
    Bytes reread = fileOfTracks({plus({'M', 'T', 'r', 'k', 0, 0, 0, 9, 0x00, 0xFF, 0x03, 0x01, 'b'}, kEndOfTrack)});
    reread[18] = 0x7F;
    // The second message's delta (1) is shorter than the first one's transmit time (4).
    const Bytes shortDelta = plus(plus({0x00, 0xF0, 0x81, 0x47}, Bytes(198, 0x11)),
                                  plus({0xF7, 0x01, 0xF0, 0x02, 0x01, 0xF7}, kEndOfTrack));
    struct Case {
        const char* name;
        std::optional<Bytes> file;
        bool midi;
        std::vector<std::size_t> listSizes;
        std::vector<std::uint64_t> firstDelays;
    };
    const Case cases[] = {
        {"two tracks", fileOfTracks({track, plus(meta, track)}), true, {1, 2, 0, 0}, {0}},
        // The list ends with the unterminated message; the rest of its track is skipped.
        {"unterminated sysex", fileOfTracks({plus({0x00, 0xF0, 0x03, 0x31, 0x02, 0x03}, track), track}), true,
         {1, 1, 0, 0}, {0}},
        // A chunk that is not "MTrk": its bytes after the id are read as events.
        {"other chunk id", plus(fileOfTracks({track}), plus({'X', 'x', 'x', 'x'}, track)), true, {1, 1, 0, 0}, {0}},
        // A header length above 6: what follows the sixth header byte is the first track.
        {"long header", longHeader, true, {1, 0, 0, 0}, {0}},
        // A track length past the end: after an empty list, its data is read again as a track.
        {"length past end", plus(pastEnd, plus({'M', 'T', 'r', 'k', 0, 0, 0, 4}, kEndOfTrack)), true, {1, 0, 2, 0}, {0}},
        {"reread data holds a chunk", reread, true, {0, 1, 0, 0}, {}},
        {"missing file", std::nullopt, false, {0, 0, 0, 0}, {}},
        {"empty file", Bytes{}, false, {0, 0, 0, 0}, {}},
        {"not a midi file", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0}, false, {0, 0, 0, 0}, {}},
        {"header id only", Bytes{'M', 'T', 'h', 'd'}, true, {0, 0, 0, 0}, {}},
        {"header cut short", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1}, true, {0, 0, 0, 0}, {}},
        {"65535 tracks claimed", manyTracks, true, {1, 0, 0, 0}, {0}},
        {"chunk size 0xFFFFFFFF", hugeChunk, true, {1, 0, 0, 0}, {0}},
        {"event length 0x0FFFFFFF", fileOfTracks({{0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3}}), true, {0, 0, 0, 0}, {}},
        {"endless delta", fileOfTracks({Bytes(5000, 0x80)}), true, {0, 0, 0, 0}, {}},
        {"endless event length", fileOfTracks({plus({0x00, 0xF0}, Bytes(5000, 0x80))}), true, {0, 0, 0, 0}, {}},
        {"division 0", fileOfTracks({plus({0x7F, 0xF0, 0x02, 0x01, 0xF7}, kEndOfTrack)}, 0), true, {1, 0, 0, 0}, {0}},
        {"delta below transmit time", fileOfTracks({shortDelta}), true, {2, 0, 0, 0}, {0, 0}},
        // A very large delta saturates instead of wrapping.
        {"huge delta", fileOfTracks({plus({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0xF0, 0x01, 0xF7},
                                          kEndOfTrack)}), true, {1, 0, 0, 0}, {~std::uint64_t{0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = scratchPath("hostile.mid");
        std::filesystem::remove(path);
        if (c.file)
            writeFile(path, *c.file);
        KTMidiFileReader reader(path.c_str());
        EXPECT_EQ(reader.isMidiFile(), c.midi);
        std::vector<KTMidiEventList> lists(4);
        for (KTMidiEventList& events : lists)
            reader.readTrack(events);
        EXPECT_EQ(each(lists, kSize), c.listSizes);
        EXPECT_EQ(each(lists[0], kDelay), c.firstDelays);
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
    EXPECT_EQ(reader.readTrack(events), KTMidiEventList{eventOf({0xFF, 0x03, 'z'})});
    reader.open((second + ".missing").c_str());
    EXPECT_FALSE(reader.isMidiFile());
    EXPECT_TRUE(reader.readTrack(events).empty());
    reader.open(first.c_str());
    EXPECT_EQ(readAllTracks(reader).size(), 2u);
}

// A track whose length runs past the end makes the reader take its data again as
// further tracks, 8 bytes on each time. The read budget keeps reading linear in
// the file size.
TEST(KTMidiFileReader, RereadingDamagedTracksIsBounded)
{
    Bytes data;
    for (int i = 0; i < 5000; ++i)
        data.insert(data.end(), {0x00, 0xF7, 0x01, 0x05});
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

// Every prefix of a small disk, and a sample of the prefixes of a full one, reads
// to an end without a crash or a hang; what was read loads only into banks of the store.
TEST(KTMidiFileReader, TruncatedDisksEndCleanly)
{
    const std::vector<std::int16_t> image = syntheticImage();
    TLOrvane small(image.data()), full(image.data()), target(image.data());
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank)
        small.mSamples[bank].resize(8);
    writeAllBanksDisk(scratchPath("small.mid"), small);
    writeAllBanksDisk(scratchPath("full.mid"), full);
    const Bytes smallDisk = readFile(scratchPath("small.mid")), fullDisk = readFile(scratchPath("full.mid"));
    std::vector<std::pair<const Bytes*, std::size_t>> prefixes;
    for (std::size_t n = 0; n <= smallDisk.size(); ++n)
        prefixes.emplace_back(&smallDisk, n);
    for (std::size_t n : {std::size_t{3}, std::size_t{2}, std::size_t{1}})
        prefixes.emplace_back(&fullDisk, fullDisk.size() * n / 3);
    prefixes.emplace_back(&fullDisk, fullDisk.size() - 1);

    const std::string path = scratchPath("prefix.mid");
    for (const auto& [file, length] : prefixes) {
        SCOPED_TRACE(length);
        writeFile(path, Bytes(file->begin(), file->begin() + static_cast<std::ptrdiff_t>(length)));
        KTMidiFileReader reader(path.c_str());
        const std::vector<KTMidiEventList> tracks = readAllTracks(reader, length + 1);
        ASSERT_LE(tracks.size(), std::max<std::size_t>(length / 3, 8));
        std::size_t complete = 0;
        for (const KTMidiEventList& events : tracks) {
            const int bank = target.detectBank(events);
            if (bank >= 0 && bank < TLOrvane::kBankCount && target.loadBank(events, bank))
                complete += target.mSamples[bank] == small.mSamples[bank] || target.mSamples[bank] == full.mSamples[bank];
        }
        if (length == file->size()) {
            EXPECT_EQ(complete, 7u);
        }
    }
}
